#pragma once

#include <cstdint>
#include <string>

namespace listing {

// What the reader makes of one cookie file. Texts are CP932 bytes. The entry
// counts as found exactly when FileName is not empty.
struct TCookies {
    std::string FileName;  // the file's name without its extension
    std::string LoginName; // the part of the name before the first "@"
    std::string FirstLine; // line 1
    std::string Url;       // line 3
    std::string Reserved1;
    std::string Reserved2;
    std::string Reserved3;
    std::int32_t ReservedNum = 0;
    std::string Reserved4;
    std::string Reserved5;
    std::string Info; // line 2

    bool found() const { return !FileName.empty(); }
};

} // namespace listing
