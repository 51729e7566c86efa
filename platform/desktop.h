#pragma once

#include <string>

namespace platform {

// The desktop's own handlers for files.
class Desktop {
public:
    virtual ~Desktop() = default;

    // Opens file `fileName` of folder `nativeFolder` (a native path with its
    // trailing separator) with the program the desktop uses for its kind of
    // file. Nothing is reported back: a missing file or handler shows nothing.
    virtual void openDocument(const std::string &nativeFolder, const std::string &fileName) = 0;
};

} // namespace platform
