#pragma once

#include "platform/filesystem.h"

#include <exception>
#include <string>

namespace listing {

// What one folder scan found, for the caller to show as it sees fit. Texts
// are CP932.
struct ListingOutcome {
    int count = 0; // the files listed
    // Why the folder could not be listed, or None. Such a folder lists
    // nothing and the status text says why; a script needs to tell it from
    // an empty one by more than a text.
    platform::FolderProblem folderProblem = platform::FolderProblem::None;
    // What ended the scan before its end (a file that cannot be read, memory
    // running out), or null. The rows listed before it stay listed.
    std::exception_ptr failure;
    std::string statusText; // how many were found, or why none
    std::string caption;
    std::string folderText;      // the folder with its trailing separator
    std::string searchModeLabel; // the search's name, empty without one
    bool searching = false;      // whether a search narrowed the listing

    bool completed() const { return !failure && folderProblem == platform::FolderProblem::None; }
};

} // namespace listing
