#pragma once

#include "platform/filesystem.h"

#include <string_view>

namespace listing {

struct CookieEntry;

// Each file as the folder scan lists it, for a reader that wants more of
// each file than the table keeps (the headless scanner streams its output
// from it) without reading the file again. The window needs none of it: it
// takes what the scan found from the scan's outcome.
class ListingView {
public:
    virtual ~ListingView() = default;

    // Data row `row` was just added for `entry`, read from the file whose
    // real name is `nativeName` and whose bytes are `text`, as the scan read
    // them (line ends as in the file), and whose times were `times` when it
    // was opened. All are valid only during the call.
    virtual void fileListed(int row, const CookieEntry &entry, std::string_view nativeName, std::string_view text,
                            const platform::FileTimes &times) = 0;

    // A file that the scan listed was gone when its turn came to be read
    // (deleted, or a folder, a pipe or a link that leads nowhere in its
    // place): it is left out and the scan goes on. `nativeName` is its real
    // name, valid only during the call. The window says nothing of it: the
    // folder is the browser's, which deletes and remakes files as it likes.
    virtual void fileGone(std::string_view /*nativeName*/) {}
};

} // namespace listing
