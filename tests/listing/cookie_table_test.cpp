#include "listing/content_pane.h"
#include "listing/cookie_table.h"
#include "platform/cp932.h"
#include "platform/local_time.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

using listing::CookieTable;

namespace {

constexpr std::uint64_t kTicksPerSecond = 10'000'000;
// 2026-12-07 09:50:42 UTC, the "now" of these tests.
constexpr std::uint64_t kNow = platform::kUnixEpochFileTime + 1'796'637'042 * kTicksPerSecond;

struct Cookie {
    std::string name = "id";
    std::string value = "1";
    std::string hostPath = "example.com/";
    std::uint32_t flags = 0;
    std::uint64_t expires = kNow + 3600 * kTicksPerSecond;
    std::uint64_t created = kNow - 3600 * kTicksPerSecond;
};

// One record as a browser writes it, LF line ends.
std::string record(const Cookie &c)
{
    const auto low = [](std::uint64_t t) { return std::to_string(t & 0xFFFFFFFF); };
    const auto high = [](std::uint64_t t) { return std::to_string(t >> 32); };
    return c.name + "\n" + c.value + "\n" + c.hostPath + "\n" + std::to_string(c.flags) + "\n" + low(c.expires) + "\n" +
           high(c.expires) + "\n" + low(c.created) + "\n" + high(c.created) + "\n*\n";
}

// A time as the table should show it, from the (separately tested) local
// time service, so that these tests hold in any zone.
std::string shown(std::uint64_t fileTime)
{
    const auto t = platform::localTimeOf(fileTime);
    if (!t)
        return std::to_string(fileTime);
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", t->year, t->month, t->day, t->hour, t->minute,
                  t->second);
    return text;
}

std::string utf8(const std::string &cp932)
{
    return platform::cp932::toUtf8(cp932);
}

const std::string kExpired = " " + platform::cp932::fromUtf8("期限切れ");
const std::string kSet = platform::cp932::fromUtf8("○");

class CookieTableTest : public ::testing::Test {
protected:
    void load(const std::string &text, int pointSize = 9)
    {
        m_pane.setText(text);
        m_table.load(m_pane, kNow, pointSize);
    }

    listing::ContentPane m_pane;
    CookieTable m_table;
};

} // namespace

TEST_F(CookieTableTest, DecodesEachCookieIntoItsRow)
{
    Cookie session{.name = "SID", .value = "31d4d96e", .hostPath = "www.example.co.jp/shop/", .flags = 0x2001};
    Cookie plain{.name = platform::cp932::fromUtf8("表示"), .value = "", .hostPath = "example.com/"};
    plain.created = kNow - 86400 * kTicksPerSecond;
    load(record(session) + record(plain));

    ASSERT_EQ(m_table.rowCount(), 2);
    EXPECT_EQ(m_table.problemText(), "");
    const std::vector<std::string> first = {
        "1",  "SID", "31d4d96e", "www.example.co.jp", "/shop/", shown(session.expires), shown(session.created),
        kSet, kSet};
    const std::vector<std::string> second = {
        "2", plain.name, "", "example.com", "/", shown(plain.expires), shown(plain.created), "", ""};
    for (int column = 0; column < CookieTable::kColumnCount; ++column) {
        EXPECT_EQ(m_table.cell(column, 0), first[column]) << column;
        EXPECT_EQ(m_table.cell(column, 1), second[column]) << column;
    }
    // Secure and HttpOnly are separate bits.
    load(record({.flags = 0x1}) + record({.flags = 0x2000}));
    EXPECT_EQ(m_table.cell(CookieTable::SecureColumn, 0), kSet);
    EXPECT_EQ(m_table.cell(CookieTable::HttpOnlyColumn, 0), "");
    EXPECT_EQ(m_table.cell(CookieTable::SecureColumn, 1), "");
    EXPECT_EQ(m_table.cell(CookieTable::HttpOnlyColumn, 1), kSet);

    EXPECT_EQ(utf8(CookieTable::columnTitle(CookieTable::NameColumn)), "名前");
    EXPECT_EQ(utf8(CookieTable::columnTitle(CookieTable::ExpiresColumn)), "有効期限");
    EXPECT_EQ(m_table.cell(9, 0), "");
    EXPECT_EQ(m_table.cell(0, 2), "");
    EXPECT_EQ(m_table.cell(0, -1), "");
}

TEST_F(CookieTableTest, MarksAnExpiryAtOrBeforeNow)
{
    // A second before now, now itself, a tick after now; and a creation time
    // long past, which is never "expired".
    load(record({.expires = kNow - kTicksPerSecond}) + record({.expires = kNow}) + record({.expires = kNow + 1}));
    ASSERT_EQ(m_table.rowCount(), 3);
    EXPECT_TRUE(m_table.isExpired(0));
    EXPECT_TRUE(m_table.isExpired(1));
    EXPECT_FALSE(m_table.isExpired(2));
    EXPECT_FALSE(m_table.isExpired(3));
    EXPECT_EQ(m_table.cell(CookieTable::ExpiresColumn, 0), shown(kNow - kTicksPerSecond) + kExpired);
    EXPECT_EQ(m_table.cell(CookieTable::ExpiresColumn, 2), shown(kNow + 1));
    EXPECT_EQ(m_table.cell(CookieTable::CreatedColumn, 0), shown(kNow - 3600 * kTicksPerSecond));

    // The same file against another "now".
    m_table.load(m_pane, kNow - 2 * kTicksPerSecond, 9);
    EXPECT_FALSE(m_table.isExpired(0));
}

TEST_F(CookieTableTest, TimesThatAreNoDateShowTheirNumber)
{
    // 1601, 1969, and the largest FILETIME two 32-bit lines can hold.
    load(record({.expires = 0, .created = platform::kUnixEpochFileTime - 1}) +
         record({.expires = UINT64_MAX, .created = UINT64_MAX}));
    EXPECT_EQ(m_table.cell(CookieTable::ExpiresColumn, 0), "0" + kExpired);
    EXPECT_EQ(m_table.cell(CookieTable::CreatedColumn, 0), "116444735999999999");
    EXPECT_EQ(m_table.cell(CookieTable::ExpiresColumn, 1), "18446744073709551615");
    EXPECT_TRUE(m_table.isExpired(0));
    EXPECT_FALSE(m_table.isExpired(1));
}

TEST_F(CookieTableTest, ShowsControlsEscapedAndCutsLongTexts)
{
    const std::string huge(100'000, 'v');
    load(record({.name = "a\tb\x1b[2J", .value = huge, .hostPath = "ex\x7f.com/\x81\x01"}));
    EXPECT_EQ(m_table.cell(CookieTable::NameColumn, 0), "a\\tb\\x1b[2J");
    EXPECT_EQ(m_table.cell(CookieTable::ValueColumn, 0), huge.substr(0, CookieTable::kMaxShownBytes));
    EXPECT_EQ(m_table.cell(CookieTable::DomainColumn, 0), "ex\\x7f.com");
    EXPECT_EQ(m_table.cell(CookieTable::PathColumn, 0), "/\x81\\x01");
    // Copying takes the bytes themselves, the whole value.
    const int row = 0;
    EXPECT_EQ(m_table.copyText({&row, 1}), "a\tb\x1b[2J=" + huge);
}

TEST_F(CookieTableTest, AFileThatStraysShowsItsWholeRecordsThenOneLine)
{
    // The second record's expiry (line 14) is no number: the first record,
    // whole, is shown, and the line says where the rest strays.
    std::string text = record({}) + record({});
    text.replace(text.find("\n*\n") + 3 + std::string("id\n1\nexample.com/\n0\n").size(), 0, "x");
    load(text);
    EXPECT_EQ(m_table.rowCount(), 1);
    EXPECT_EQ(m_table.cell(CookieTable::NameColumn, 0), "id");
    EXPECT_EQ(m_table.cell(CookieTable::NameColumn, 1), "");
    EXPECT_EQ(utf8(m_table.problemText()),
              "この後はクッキーの形式ではありません（14 行目: 32 ビットの符号なし整数ではありません）");
    EXPECT_EQ(m_table.columnWidth(CookieTable::NumberColumn), 2 * 9); // fitted to the rows, "No"

    // Cut short, without its last "*", or with a blank line after it: the
    // whole cookies before, in order.
    const std::string two = record({.name = "a"}) + record({.name = "b"});
    for (const std::string &damaged : {two + "c\nv\nh/\n", two + "c\nv\nh/\n0\n0\n0\n0\n0\n", two + "\n"}) {
        load(damaged);
        ASSERT_EQ(m_table.rowCount(), 2) << damaged;
        EXPECT_EQ(m_table.cell(CookieTable::NameColumn, 0), "a");
        EXPECT_EQ(m_table.cell(CookieTable::NameColumn, 1), "b");
        EXPECT_EQ(m_table.cell(CookieTable::NumberColumn, 1), "2");
        EXPECT_NE(m_table.problemText(), "");
    }
    // A cookie for no host is a stray record too.
    load(two + record({.hostPath = "/"}));
    EXPECT_EQ(m_table.rowCount(), 2);
    EXPECT_EQ(utf8(m_table.problemText()),
              "この後はクッキーの形式ではありません（21 行目: 「/」の前にホストがありません）");

    // Broken from its first record: no rows, the line as before.
    load("");
    EXPECT_EQ(m_table.rowCount(), 0);
    EXPECT_EQ(utf8(m_table.problemText()), "クッキーの形式ではありません（1 行目: クッキーが一つもありません）");
    load("a\r\nb\nhost-without-path\n0\n0\n0\n0\n0\n*\n");
    EXPECT_EQ(utf8(m_table.problemText()),
              "クッキーの形式ではありません（3 行目: ホストとパスの間に「/」がありません）");
    load(record({.hostPath = "/"}));
    EXPECT_EQ(m_table.rowCount(), 0);
    EXPECT_EQ(utf8(m_table.problemText()), "クッキーの形式ではありません（3 行目: 「/」の前にホストがありません）");
    load(record({}).substr(0, record({}).size() - 2) + "#\n");
    EXPECT_EQ(utf8(m_table.problemText()), "クッキーの形式ではありません（9 行目: 「*」がありません）");
    EXPECT_EQ(m_table.columnWidth(CookieTable::NameColumn), 4 * 9); // the title's

    // A good file afterwards has rows and no line.
    load(record({}));
    EXPECT_EQ(m_table.rowCount(), 1);
    EXPECT_EQ(m_table.problemText(), "");
}

TEST_F(CookieTableTest, ALoneCrSplitsNoCookieThoughThePaneShowsALineBreak)
{
    // One cookie for bank.example to the browser; a lone CR must not make a
    // second one for .attacker.example out of its name.
    const std::string crafted =
        "n\rv\r.attacker.example/\r0\r0\r0\r0\r0\r*\rSID\nsecret\nbank.example/\n0\n0\n0\n0\n0\n*\n";
    load(crafted);
    ASSERT_EQ(m_table.rowCount(), 1);
    EXPECT_EQ(m_table.cell(CookieTable::DomainColumn, 0), "bank.example");
    EXPECT_EQ(m_table.cell(CookieTable::ValueColumn, 0), "secret");
    EXPECT_EQ(m_table.cell(CookieTable::NameColumn, 0).substr(0, 5), "n\\rv\\");
    const int row = 0;
    EXPECT_EQ(m_table.copyText({&row, 1}), "n\rv\r.attacker.example/\r0\r0\r0\r0\r0\r*\rSID=secret");
    EXPECT_EQ(m_table.hint(0).substr(0, 6), "n\\rv\\r");
    // The pane's text shows it broken at every CR, as before; the table is
    // unmoved by the widening, whichever the view asks for first.
    EXPECT_EQ(m_pane.line(2), "v");
    EXPECT_NE(m_pane.text().find(".attacker.example/\r\n"), std::string::npos);
    EXPECT_EQ(m_table.cell(CookieTable::DomainColumn, 0), "bank.example");
    m_pane.setText(crafted);
    EXPECT_EQ(m_pane.text().substr(0, 4), "n\r\nv");
    m_table.load(m_pane, kNow, 9);
    EXPECT_EQ(m_table.rowCount(), 1);
    EXPECT_EQ(m_table.cell(CookieTable::DomainColumn, 0), "bank.example");
    // The bytes as read stay where they lay when the pane's text is widened
    // beside them; a text without a lone CR is decoded from the pane's own
    // text, widened or not, and not held twice.
    m_pane.setText(crafted);
    const char *asRead = m_pane.recordText().data();
    EXPECT_EQ(m_pane.recordText(), crafted);
    (void)m_pane.text();
    EXPECT_EQ(m_pane.recordText().data(), asRead);
    EXPECT_EQ(m_pane.recordText(), crafted);
    m_pane.setText(record({}));
    EXPECT_EQ(m_pane.recordText().data(), m_pane.rawText().data());
    (void)m_pane.text();
    EXPECT_EQ(m_pane.recordText().data(), m_pane.text().data());
    EXPECT_EQ(m_pane.heldBytes(), m_pane.text().capacity());
}

TEST_F(CookieTableTest, HintIsTheRecordsLinesJoinedByCrLf)
{
    // An empty name and value still take their lines; a file with CR LF and
    // one without a last line end give the same hint.
    const Cookie cookie{.name = "", .value = "", .hostPath = "h/p\x1b", .flags = 9728};
    std::string lines = record(cookie);
    lines.pop_back();
    std::string expected;
    for (const char c : lines)
        expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
    expected.replace(expected.find('\x1b'), 1, "\\x1b");

    load(record({}) + lines);
    EXPECT_EQ(m_table.hint(1), expected);
    EXPECT_EQ(m_table.hint(0).substr(0, 4), "id\r\n");
    EXPECT_EQ(m_table.hint(2), "");
}

TEST_F(CookieTableTest, CopiesSelectedCookiesAsNameValueLinesInTableOrder)
{
    load(record({.name = "a", .value = "1"}) + record({.name = "b", .value = "x=y"}) +
         record({.name = "c", .value = ""}));
    const std::vector<int> rows = {2, 0, 0, 99, -1};
    EXPECT_EQ(m_table.copyText(rows), "a=1\r\nc=");
    const std::vector<int> middle = {1};
    EXPECT_EQ(m_table.copyText(middle), "b=x=y");
    EXPECT_EQ(m_table.copyText({}), "");
}

TEST_F(CookieTableTest, GoesStaleWhenThePaneChanges)
{
    load(record({.name = "first"}) + record({.name = "second"}));
    // Another file selected: the old rows must not read into the new text,
    // shorter or not.
    m_pane.setText("x");
    EXPECT_EQ(m_table.rowCount(), 2);
    EXPECT_EQ(m_table.cell(CookieTable::NameColumn, 1), "");
    EXPECT_EQ(m_table.hint(1), "");
    const int row = 1;
    EXPECT_EQ(m_table.copyText({&row, 1}), "");
    // The same bytes again are still another text.
    m_pane.setText(record({.name = "first"}) + record({.name = "second"}));
    EXPECT_EQ(m_table.cell(CookieTable::NameColumn, 0), "");

    m_table.load(m_pane, kNow, 9);
    EXPECT_EQ(m_table.cell(CookieTable::NameColumn, 1), "second");
    m_table.clear();
    EXPECT_EQ(m_table.rowCount(), 0);
}

TEST_F(CookieTableTest, ReadsTheBytesAsReadWithoutWideningThem)
{
    // The same records with LF and CR LF line ends give the same rows, and
    // decoding leaves the pane's bytes as they were: no second copy. With CR
    // alone they are one line to the records, which holds no cookie.
    const std::string lf = record({.name = "a", .value = "1"}) + record({.name = "b", .value = "2"});
    std::string cr = lf, crLf;
    std::replace(cr.begin(), cr.end(), '\n', '\r');
    for (const char c : lf)
        crLf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    for (const std::string &text : {lf, crLf, cr}) {
        load(text);
        const auto revision = m_pane.revision();
        EXPECT_EQ(m_pane.rawText(), text);
        if (text == cr) {
            EXPECT_EQ(m_table.rowCount(), 0);
            EXPECT_NE(m_table.problemText(), "");
            continue;
        }
        ASSERT_EQ(m_table.rowCount(), 2);
        EXPECT_EQ(m_table.cell(CookieTable::ValueColumn, 1), "2");
        EXPECT_EQ(m_table.hint(0).substr(0, 5), "a\r\n1\r");
        const int rows[] = {0, 1};
        EXPECT_EQ(m_table.copyText(rows), "a=1\r\nb=2");
        EXPECT_EQ(m_pane.rawText(), text);
        EXPECT_EQ(m_pane.revision(), revision);
    }
    // Once something asks for the widened text, the rows' places in the
    // bytes have moved: the table goes stale rather than read amiss.
    load(lf);
    (void)m_pane.text();
    EXPECT_EQ(m_table.cell(CookieTable::NameColumn, 1), "");
}

TEST_F(CookieTableTest, FitsColumnsToTheirLongestTextTitleIncluded)
{
    load(record({.name = "n",
                 .value = std::string(1000, 'v'),
                 .hostPath = "a\tb.example/",
                 .flags = 1,
                 .expires = kNow - 1}) +
             record({.name = "longer-name", .expires = 0}),
         7);
    const auto width = [&](CookieTable::Column column) { return m_table.columnWidth(column) / 7; };
    EXPECT_EQ(width(CookieTable::NumberColumn), 2); // "No"
    EXPECT_EQ(width(CookieTable::NameColumn), 11);  // "longer-name"
    EXPECT_EQ(width(CookieTable::ValueColumn), CookieTable::kMaxFittedBytes);
    EXPECT_EQ(width(CookieTable::DomainColumn), 12);      // "a\tb.example", escaped
    EXPECT_EQ(width(CookieTable::PathColumn), 4);         // "パス"
    EXPECT_EQ(width(CookieTable::ExpiresColumn), 19 + 9); // a date, " 期限切れ"
    EXPECT_EQ(width(CookieTable::SecureColumn), 6);       // "Secure"
    EXPECT_EQ(m_table.columnWidth(CookieTable::kColumnCount), 0);

    // A hundred rows need three digits for their numbers.
    std::string many;
    for (int i = 0; i < 100; ++i)
        many += record({});
    load(many, 10);
    EXPECT_EQ(m_table.columnWidth(CookieTable::NumberColumn), 30);

    // Times that show their number: as long as the number.
    load(record({.expires = UINT64_MAX, .created = 12345}), 10);
    EXPECT_EQ(m_table.columnWidth(CookieTable::ExpiresColumn), 200);
    EXPECT_EQ(m_table.columnWidth(CookieTable::CreatedColumn), 80); // "作成日時"

    // A file that strays: the titles.
    load("stray", 10);
    EXPECT_EQ(m_table.columnWidth(CookieTable::NameColumn), 40);
}
