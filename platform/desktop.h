#pragma once

#include <string>

namespace platform {

// The desktop's own handlers for files.
class Desktop {
public:
    virtual ~Desktop() = default;

    // Opens the CP932 path with the program the desktop uses for its kind of
    // file. Nothing is reported back: a missing file or handler shows nothing.
    virtual void openDocument(const std::string &path) = 0;
};

} // namespace platform
