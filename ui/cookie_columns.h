#pragma once

#include "listing/cookie_table.h"

#include <array>
#include <functional>
#include <string>

namespace ui {

// The cookie view's column widths in pixels, for both front ends: each
// column as wide as its fitted text, and never narrower than its title as
// the header draws it (the table fits its texts by bytes, and "No" is wider
// than two bytes in a header's font; with no file chosen there is no text
// at all), with the cell's `margins` (both sides together) added.
// `titleWidth` measures a title (CP932) in the header's font.
std::array<int, listing::CookieTable::kColumnCount>
cookieColumnWidths(const listing::CookieTable &table, const std::function<int(const std::string &title)> &titleWidth,
                   int margins);

} // namespace ui
