#pragma once

#include <string>

namespace scan {

enum class Format { Tsv, Json, Csv, Netscape };
enum class SearchKind { None, FileName, Content };

// What the command line asks for.
struct ScanOptions {
    enum class Action { Scan, Help, Version, UsageError };

    Action action = Action::Scan;
    std::string error;  // one line, for Action::UsageError
    std::string folder; // as given: native bytes; with `profiles` the volume's root
    SearchKind search = SearchKind::None;
    std::string searchText; // UTF-8, as given
    Format format = Format::Tsv;
    bool cookies = false;
    bool profiles = false; // every cookie folder of every profile of a Windows volume
};

// Reads the command line. Options and the folder come in any order;
// "--option VALUE" and "--option=VALUE" are the same; "--" ends the options.
ScanOptions parseScanOptions(int argc, char **argv);

// The one-line synopsis, ending in a line break.
const char *usageText();

// The synopsis with every option explained, ending in a line break.
const char *helpText();

} // namespace scan
