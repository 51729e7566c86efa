#include "cookie_columns.h"

#include <algorithm>

namespace ui {

std::array<int, listing::CookieTable::kColumnCount>
cookieColumnWidths(const listing::CookieTable &table, const std::function<int(const std::string &title)> &titleWidth,
                   int margins)
{
    std::array<int, listing::CookieTable::kColumnCount> widths{};
    for (int column = 0; column < listing::CookieTable::kColumnCount; ++column) {
        const int title = titleWidth(listing::CookieTable::columnTitle(column));
        widths[static_cast<std::size_t>(column)] = std::max(table.columnWidth(column), title) + margins;
    }
    return widths;
}

} // namespace ui
