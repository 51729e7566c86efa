// The cookie view's column widths, the one rule both front ends size it by.

#include "ui/cookie_columns.h"

#include "listing/content_pane.h"
#include "platform/local_time.h"

#include <gtest/gtest.h>

#include <string>

using listing::CookieTable;

namespace {

// A header font in which every byte of a title is 7 pixels wide.
int titleWidth(const std::string &title)
{
    return 7 * static_cast<int>(title.size());
}

constexpr int kMargins = 12;

TEST(CookieColumns, WithNoFileChosenEveryColumnFitsItsTitle)
{
    // Before any file, and after a scan emptied the pane: no text to fit,
    // and still no column only as wide as its margins.
    CookieTable never;
    CookieTable cleared;
    cleared.clear();
    for (const CookieTable *table : {&never, &cleared}) {
        const auto widths = ui::cookieColumnWidths(*table, titleWidth, kMargins);
        for (int column = 0; column < CookieTable::kColumnCount; ++column) {
            const std::string &title = CookieTable::columnTitle(column);
            ASSERT_FALSE(title.empty());
            EXPECT_EQ(widths[static_cast<std::size_t>(column)], titleWidth(title) + kMargins) << column;
        }
    }
}

TEST(CookieColumns, AWideTextWidensItsColumnAndANarrowOneNeverNarrowsTheTitle)
{
    listing::ContentPane pane;
    // One cookie whose value is far wider than its title; "No" holds "1".
    pane.beginLoad() = "id\n" + std::string(200, 'v') + "\nexample.com/\n0\n0\n0\n0\n0\n*\n";
    pane.endLoad();
    CookieTable table;
    table.load(pane, platform::kUnixEpochFileTime, 9);
    ASSERT_EQ(table.rowCount(), 1);
    const auto widths = ui::cookieColumnWidths(table, titleWidth, kMargins);
    const auto at = [&widths](int column) { return widths[static_cast<std::size_t>(column)]; };
    EXPECT_EQ(at(CookieTable::ValueColumn), table.columnWidth(CookieTable::ValueColumn) + kMargins);
    EXPECT_GT(at(CookieTable::ValueColumn), titleWidth(CookieTable::columnTitle(CookieTable::ValueColumn)) + kMargins);
    // In a header font wider than the table's, the title wins over the text.
    const auto wide = [](const std::string &title) { return 100 * static_cast<int>(title.size()); };
    const auto titled = ui::cookieColumnWidths(table, wide, kMargins);
    EXPECT_EQ(titled[CookieTable::NumberColumn], wide(CookieTable::columnTitle(CookieTable::NumberColumn)) + kMargins);
}

} // namespace
