#include "listing/result_table.h"

#include <gtest/gtest.h>

using listing::ResultTable;
using listing::CookieEntry;

namespace {

CookieEntry entry(std::string fileName, std::string url = "www.example.com/", std::string info = "value")
{
    CookieEntry cookies;
    cookies.fileName = std::move(fileName);
    cookies.url = std::move(url);
    cookies.info = std::move(info);
    return cookies;
}

std::vector<std::string> rowCells(const ResultTable &table, int row)
{
    std::vector<std::string> cells;
    for (int column = 0; column < table.columnCount(); ++column)
        cells.emplace_back(table.cell(column, row));
    return cells;
}

} // namespace

TEST(ResultTable, StartListingGivesNineColumnsAndTheHeader)
{
    ResultTable table;
    EXPECT_EQ(table.columnCount(), 5);
    ResultTable::Cells cells;
    table.rowCells(0, cells); // the header before it is written, and a row beyond the table
    EXPECT_EQ(cells, ResultTable::Cells{});
    table.rowCells(1, cells);
    EXPECT_EQ(cells, ResultTable::Cells{});
    table.startListing();
    EXPECT_EQ(table.columnCount(), 9);
    EXPECT_EQ(rowCells(table, 0), (std::vector<std::string>{"No", "FileName", "URL(?)", "Info(?)", "", "", "", "", ""}));
    EXPECT_EQ(table.columnWidth(0), 30);
    EXPECT_EQ(table.columnWidth(1), 144);
    EXPECT_EQ(table.columnWidth(2), 240);
    EXPECT_EQ(table.columnWidth(3), 400);
    EXPECT_EQ(table.columnWidth(8), ResultTable::kDefaultColumnWidth);
    EXPECT_EQ(table.dataRowCount(), 0);
}

TEST(ResultTable, RowsShowTheBareNumberAndSplitFields)
{
    ResultTable table;
    table.startListing();
    table.setDataRow(entry("u@h[1]", "h/", "a b,c"), 1);
    EXPECT_EQ(rowCells(table, 1), (std::vector<std::string>{"1", "u@h[1]", "h/", "a", "b", "c", "", "", ""}));
    table.setDataRow(entry("u@g[1]", "", "info"), 2);
    EXPECT_EQ(rowCells(table, 2), (std::vector<std::string>{"2", "u@g[1]", " ", "info", "", "", "", "", ""}));
    table.setDataRow(entry("\"quoted\"", "x", "y"), 3);
    EXPECT_EQ(table.cell(1, 3), "quoted");
    EXPECT_EQ(table.dataRowCount(), 3);
}

TEST(ResultTable, SetDataRowSetsTheRowCount)
{
    ResultTable table;
    table.startListing();
    for (int i = 1; i <= 5; ++i)
        table.setDataRow(entry("f" + std::to_string(i)), i);
    table.startListing(); // rows of the earlier scan stay...
    EXPECT_EQ(table.dataRowCount(), 5);
    table.setDataRow(entry("new"), 1); // ...until the next row is written
    EXPECT_EQ(table.dataRowCount(), 1);
    EXPECT_EQ(table.cell(1, 1), "new");
}

TEST(ResultTable, FinishListingKeepsExactlyNRows)
{
    ResultTable table;
    table.startListing();
    for (int i = 1; i <= 20; ++i)
        table.setDataRow(entry("f"), i);
    table.finishListing(20, 9);
    table.startListing();
    for (int i = 1; i <= 12; ++i)
        table.setDataRow(entry("g"), i);
    table.finishListing(12, 9);
    EXPECT_EQ(table.dataRowCount(), 12);

    table.startListing();
    table.finishListing(0, 9);
    EXPECT_EQ(table.rowCount(), 1);
    EXPECT_EQ(table.cell(0, 0), "No");
    for (int i = 1; i <= 3; ++i)
        table.setDataRow(entry("h"), i);
    table.finishListing(3, 9);
    EXPECT_EQ(table.dataRowCount(), 3);
    EXPECT_EQ(table.cell(1, 0), "FileName");
}

TEST(ResultTable, FinishListingSizesByLongestTextInBytes)
{
    ResultTable table;
    table.startListing();
    const std::string thirtyBytes = "user@www.example-example.com[1"; // 30 bytes
    ASSERT_EQ(thirtyBytes.size(), 30u);
    table.setDataRow(entry(thirtyBytes, "\x95\x5C\x8E\xA6", "v"), 1); // 4 bytes of CP932
    table.finishListing(1, 9);
    EXPECT_EQ(table.columnWidth(0), 2 * 9);   // "No"
    EXPECT_EQ(table.columnWidth(1), 30 * 9);
    EXPECT_EQ(table.columnWidth(2), 6 * 9);   // "URL(?)" is longer than the 4-byte URL
    EXPECT_EQ(table.columnWidth(3), 7 * 9);   // "Info(?)"
    EXPECT_EQ(table.columnWidth(4), 18 * 9);  // empty: column 0's width times the size again
    EXPECT_EQ(table.columnWidth(5), ResultTable::kDefaultColumnWidth);

    table.setDataRow(entry("x", "u", "a b"), 2); // spills into column 4
    table.finishListing(2, 12);
    EXPECT_EQ(table.columnWidth(4), 1 * 12);
}

TEST(ResultTable, ColumnZeroWidensWithThreeDigitNumbers)
{
    ResultTable table;
    table.startListing();
    for (int i = 1; i <= 100; ++i)
        table.setDataRow(entry("f"), i);
    table.finishListing(100, 9);
    EXPECT_EQ(table.columnWidth(0), 27);
    EXPECT_EQ(table.columnWidth(4), 27 * 9);
}

TEST(ResultTable, KeepsTheRealFileOfEachRow)
{
    ResultTable table;
    table.startListing();
    // An identity whose bytes hold NUL and separators survives the packing.
    const platform::FileId id{
        0x2C00, 0xFF00000000000A01, 0x2F00000A0000FF00, std::uint64_t(1) << 40, platform::IdWitness::ChangeAndSize,
        0xA}; // a link's type
    table.setDataRow(entry("user@a b"), 1, {"user@a b.TXT", platform::EntryKind::Link, id});
    EXPECT_EQ(table.cell(1, 1), "user@a");
    EXPECT_EQ(table.rowFile(1).nativeName, "user@a b.TXT");
    EXPECT_EQ(table.rowFile(1).kind, platform::EntryKind::Link);
    EXPECT_EQ(table.rowFile(1).id, id);
    EXPECT_EQ(table.cell(8, 1), "");
    EXPECT_EQ(table.rowFile(0).nativeName, "");
    EXPECT_EQ(table.rowFile(2).nativeName, "");
    table.keepDataRows(0);
    EXPECT_EQ(table.dataRowCount(), 0);
}

TEST(ResultTable, RowsStayIntactAcrossBlocksAndRescans)
{
    // Enough rows to fill several blocks, rewritten by a shorter scan and a
    // longer one, as rescans do: every row keeps its cells and its file, and
    // the room of rows that went is used again.
    ResultTable table;
    const auto name = [](int scan, int i) {
        return "user@www.a-rather-long-host-name-" + std::to_string(scan * 100000 + i) + ".example.com[1]";
    };
    const auto fill = [&](int scan, int rows) {
        table.startListing();
        for (int i = 1; i <= rows; ++i) {
            const std::string native = name(scan, i) + (i % 3 == 0 ? ".TXT" : ".txt");
            table.setDataRow(entry(name(scan, i), "u" + std::to_string(i), std::string(1 + i % 70, 'v')), i,
                             {native, platform::EntryKind::File, {7, std::uint64_t(i) << 40, std::uint64_t(scan)}});
        }
        table.finishListing(rows, 9);
    };
    const auto check = [&](int scan, int rows) {
        ASSERT_EQ(table.dataRowCount(), rows);
        EXPECT_EQ(table.cell(1, 0), "FileName");
        for (int i = 1; i <= rows; ++i) {
            ASSERT_EQ(table.cell(1, i), name(scan, i));
            ASSERT_EQ(table.cell(2, i), "u" + std::to_string(i));
            ASSERT_EQ(table.cell(3, i), std::string(1 + i % 70, 'v'));
            ResultTable::Cells cells;
            table.rowCells(i, cells);
            for (int column = 0; column < listing::kGridColumnCount; ++column)
                ASSERT_EQ(cells[column], table.cell(column, i)) << column;
            const listing::RowFile file = table.rowFile(i);
            ASSERT_EQ(file.nativeName, name(scan, i) + (i % 3 == 0 ? ".TXT" : ".txt"));
            ASSERT_EQ(file.id, (platform::FileId{7, std::uint64_t(i) << 40, std::uint64_t(scan)}));
        }
    };
    fill(1, 3000);
    check(1, 3000);
    fill(2, 700);
    check(2, 700);
    fill(3, 5000);
    check(3, 5000);
    table.keepDataRows(10);
    check(3, 10);
}
