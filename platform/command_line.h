#pragma once

#include <string>
#include <vector>

namespace platform {

// The program's arguments, the program's own name first, as native strings
// (what NamedPath::native holds): on Linux `argv` as it is; on Windows the
// wide command line in UTF-8, since `argv` holds it in the system's ANSI
// code page, where a character that code page lacks is already lost.
std::vector<std::string> commandLineArguments(int argc, char **argv);

} // namespace platform
