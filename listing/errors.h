#pragma once

#include <stdexcept>
#include <string>

namespace listing {

// A failure that ends the current command and goes to the application's
// error box. what() is the message in CP932 bytes.
class ListingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A cookie file that cannot be opened: missing, a folder, or not readable.
class FileOpenError : public ListingError {
public:
    using ListingError::ListingError;
};

// A cookie file that opened but whose bytes could not be read.
class StreamReadError : public ListingError {
public:
    using ListingError::ListingError;
};

} // namespace listing
