#pragma once

#include <string>

namespace platform {

// What came of handing a file to the desktop.
struct DocumentOpening {
    bool opened = false;
    std::string path; // the native path that was tried
};

// The desktop's own handlers for files.
class Desktop {
public:
    virtual ~Desktop() = default;

    // Opens file `fileName` of folder `nativeFolder` (a native path with its
    // trailing separator) with the program the desktop uses for its kind of
    // file. Not opened when the file is missing or nothing took it; the
    // program that took it may still fail later, unseen.
    virtual DocumentOpening openDocument(const std::string &nativeFolder, const std::string &fileName) = 0;
};

} // namespace platform
