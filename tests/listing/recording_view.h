#pragma once

#include "listing/listing_view.h"

#include <string>
#include <string_view>
#include <vector>

// Keeps the files the last scan left out as gone; a test derives from it to
// act while a row is listed.
class RecordingView : public listing::ListingView {
public:
    std::vector<std::string> gone;

    void fileListed(int, const listing::CookieEntry &, std::string_view, std::string_view, const platform::FileTimes &) override
    {
    }
    void fileGone(std::string_view nativeName) override { gone.emplace_back(nativeName); }
};
