#pragma once

#include <string>

namespace listing {

// What the reader makes of one cookie file: the texts of its table row, as
// CP932 bytes. The entry counts as found exactly when fileName is not empty.
struct CookieEntry {
    std::string fileName; // the file's name without its extension
    std::string info;     // line 2
    std::string url;      // line 3

    bool found() const { return !fileName.empty(); }
};

} // namespace listing
