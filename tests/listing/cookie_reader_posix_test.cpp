#include "listing/cookie_listing.h"
#include "listing/errors.h"
#include "platform/cp932.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace listing;
using platform::cp932::fromUtf8;

namespace {

const char kRecord[] = "SESSION\nabc123\nwww.example.com/\n1536\n1\n2\n3\n4\n*\n";

class CookieReader : public ::testing::Test {
protected:
    TempFolder folder;
    CookieListing cookies;

    // `name` is the file's real (native) name.
    CookieEntry read(const std::string &name)
    {
        return cookies.readCookieFile(platform::namedPath(folder.str()), name);
    }
    std::string pane() const { return cookies.contentPane().text(); }
};

} // namespace

TEST_F(CookieReader, TakesTheNameAndTheSecondAndThirdLines)
{
    folder.write("taro@www.example.com[1].txt", kRecord);
    const CookieEntry e = read("taro@www.example.com[1].txt");
    EXPECT_EQ(e.fileName, "taro@www.example.com[1]");
    EXPECT_EQ(e.info, "abc123");
    EXPECT_EQ(e.url, "www.example.com/");
    EXPECT_EQ(pane().substr(0, 17), "SESSION\r\nabc123\r\n");
}

TEST_F(CookieReader, NamesWithoutAnAtOrWithSeveral)
{
    folder.write("localsettings.txt", kRecord);
    folder.write("a@b@c.txt", kRecord);
    folder.write("noext", kRecord);
    folder.write("two.dots.TXT", kRecord);
    EXPECT_TRUE(read("localsettings.txt").found());
    EXPECT_EQ(read("a@b@c.txt").fileName, "a@b@c");
    EXPECT_EQ(read("noext").fileName, "noext");
    EXPECT_EQ(read("two.dots.TXT").fileName, "two.dots");
}

TEST_F(CookieReader, AnEmptyNameLeavesThePaneAlone)
{
    folder.write("a.txt", "keep");
    read("a.txt");
    const CookieEntry e = read("");
    EXPECT_FALSE(e.found());
    EXPECT_EQ(pane(), "keep");
}

TEST_F(CookieReader, ShortAndOddFilesGiveEmptyFieldsNotErrors)
{
    folder.write("empty.txt", "");
    folder.write("one.txt", "only line");
    folder.write("cr.txt", "a\rb\rc");
    folder.write("mixed.txt", "a\r\nb\nc\rd");
    folder.write("nul.txt", std::string("a\nb\nc\0x", 7));
    folder.write("lone.txt", "a\nb\nc\x83");
    folder.write("binary.txt", std::string("\xFF\xFE\x00\x01\n\x80\x9F\n\xFD", 9));

    EXPECT_TRUE(read("empty.txt").found());
    EXPECT_EQ(read("empty.txt").info, "");
    const CookieEntry one = read("one.txt");
    EXPECT_EQ(pane(), "only line");
    EXPECT_EQ(one.info, "");
    EXPECT_EQ(one.url, "");
    EXPECT_EQ(read("cr.txt").url, "c");
    EXPECT_EQ(pane(), "a\r\nb\r\nc");
    EXPECT_EQ(read("mixed.txt").url, "c");
    EXPECT_EQ(read("nul.txt").url, std::string("c\0x", 3));
    EXPECT_EQ(read("lone.txt").url, "c\x83");
    EXPECT_EQ(read("binary.txt").url, "\xFD");
}

TEST_F(CookieReader, ALineOver4096BytesGivesItsFirst4096)
{
    folder.write("long.txt", "n\n" + std::string(10000, 'v') + "\nurl");
    const CookieEntry e = read("long.txt");
    EXPECT_EQ(e.info, std::string(4096, 'v'));
    EXPECT_EQ(e.url, "url");
}

TEST_F(CookieReader, AHundredMegabyteFileIsReadWhole)
{
    const std::string path = folder / "big@site.txt";
    {
        std::ofstream out(path, std::ios::binary);
        out << "name\nvalue\nbig.example.com/\n";
        const std::string block(1 << 20, 'x');
        for (int i = 0; i < 100; ++i)
            out << block;
        out << "\nEND-MARKER";
    }
    const CookieEntry e = read("big@site.txt");
    EXPECT_EQ(e.url, "big.example.com/");
    EXPECT_GT(pane().size(), 100u << 20);
    EXPECT_GE(cookies.contentPane().find("END-MARKER"), 0);
}

TEST_F(CookieReader, ContentSearchIsCaseSensitive)
{
    cookies.state().systemInfo.searchMode = SearchMode::Content;
    cookies.state().systemInfo.searchText = "tracker";
    folder.write("a.txt", "id\ntracker=1\nhost/");
    folder.write("b.txt", "id\nTRACKER=1\nhost/");
    EXPECT_TRUE(read("a.txt").found());
    const CookieEntry miss = read("b.txt");
    EXPECT_FALSE(miss.found());
    EXPECT_EQ(miss.info, "");
    EXPECT_EQ(pane(), "id\r\nTRACKER=1\r\nhost/"); // the pane keeps the file all the same
}

TEST_F(CookieReader, ContentSearchSeesJapaneseTextAndSpansLines)
{
    cookies.state().systemInfo.searchMode = SearchMode::Content;
    folder.write("jp.txt", fromUtf8("名前\n表示ソフト\nhost/"));
    cookies.state().systemInfo.searchText = fromUtf8("ソフト");
    EXPECT_TRUE(read("jp.txt").found());
    cookies.state().systemInfo.searchText = "\x83\x67\r\nh"; // ト CR LF h
    EXPECT_TRUE(read("jp.txt").found());
    cookies.state().systemInfo.searchText = "\\"; // the trail byte of ソ and 表 is no backslash
    EXPECT_FALSE(read("jp.txt").found());
}

TEST_F(CookieReader, AFileThatCannotBeOpenedThrowsWithItsPath)
{
    folder.write("a.txt", "shown before");
    read("a.txt");
    try {
        read("gone.txt");
        FAIL() << "no error";
    } catch (const FileOpenError &error) {
        EXPECT_EQ(std::string(error.what()), fromUtf8("ファイル " + folder.str() + "/gone.txt は開けません"));
    }
    EXPECT_EQ(pane(), ""); // cleared before the load failed
    std::filesystem::create_directory(folder.path() / "dir.txt");
    EXPECT_THROW(read("dir.txt"), FileOpenError);
}

TEST_F(CookieReader, AFileWithoutReadPermissionCannotBeOpened)
{
    if (runningAsRoot())
        GTEST_SKIP() << "root reads files whatever their permissions";
    const std::string file = folder.write("locked.txt", kRecord);
    std::filesystem::permissions(file, std::filesystem::perms::none);
    EXPECT_THROW(read("locked.txt"), FileOpenError);
}

TEST_F(CookieReader, ReadsTheRealFileOfARow)
{
    // The row shows "user@a" in column 1 (the name holds a blank); the file
    // read must be the one the row was made from, not user@a.txt.
    folder.write("user@a.txt", "other\nwrong\nfile/");
    folder.write("user@a b.txt", "right\nvalue\nhost/");
    cookies.state().setCookiesPath(platform::namedPath(folder.str()));
    cookies.listCookieFiles(9);
    ASSERT_EQ(cookies.table().dataRowCount(), 2);
    EXPECT_EQ(cookies.table().cell(1, 1), "user@a");
    EXPECT_EQ(cookies.table().cell(1, 2), "user@a");
    cookies.readRowFile(1);
    EXPECT_EQ(pane(), "right\r\nvalue\r\nhost/");
    cookies.readRowFile(0); // the header: nothing happens
    EXPECT_EQ(pane(), "right\r\nvalue\r\nhost/");
}
