#include "listing/cookie_records.h"

#include "platform/cp932.h"

#include <gtest/gtest.h>

#include <array>

using namespace listing;

namespace {

// Nine lines: name, value, host/path, flags, expiry low and high, creation
// low and high, "*".
std::string record(const std::string &name, const std::string &value, const std::string &hostPath,
                   const std::string &numbers = "1536\n2916434944\n31189652\n1866434944\n31020145\n")
{
    return name + "\n" + value + "\n" + hostPath + "\n" + numbers + "*\n";
}

struct Decoded {
    std::vector<CookieRecord> records;
    CookieFormatProblem problem;
};

// Every whole record of `text` up to where it strays, and where and why.
Decoded decode(std::string_view text)
{
    Decoded decoded;
    CookieRecordReader reader(text);
    CookieRecord record;
    while (reader.next(record))
        decoded.records.push_back(record);
    decoded.problem = reader.problem();
    return decoded;
}

std::string fileTimeToIso8601(std::uint64_t fileTime)
{
    std::string out;
    appendFileTimeIso8601(out, fileTime);
    return out;
}

} // namespace

TEST(CookieRecords, DecodesEveryRecordOfAFile)
{
    const std::string text = record("SID", "abc=1", "www.example.com/", "0\n1\n2\n3\n4\n") +
                             record("pref", "", "shop.example.net/cart/items", "9729\n4294967295\n0\n0\n4294967295\n");
    const Decoded d = decode(text);
    ASSERT_FALSE(d.problem) << d.problem.text();
    ASSERT_EQ(d.records.size(), 2u);
    EXPECT_EQ(d.records[0].name, "SID");
    EXPECT_EQ(d.records[0].value, "abc=1");
    EXPECT_EQ(d.records[0].host, "www.example.com");
    EXPECT_EQ(d.records[0].path, "/");
    EXPECT_FALSE(d.records[0].secure());
    EXPECT_FALSE(d.records[0].httpOnly());
    // Low half first, then high.
    EXPECT_EQ(d.records[0].expires, (std::uint64_t{2} << 32) | 1);
    EXPECT_EQ(d.records[0].created, (std::uint64_t{4} << 32) | 3);

    EXPECT_EQ(d.records[1].value, "");
    EXPECT_EQ(d.records[1].host, "shop.example.net");
    EXPECT_EQ(d.records[1].path, "/cart/items");
    EXPECT_TRUE(d.records[1].secure()); // 9729 = 0x2601
    EXPECT_TRUE(d.records[1].httpOnly());
    EXPECT_EQ(d.records[1].expires, 0xFFFFFFFFu);
    EXPECT_EQ(d.records[1].created, std::uint64_t{0xFFFFFFFF} << 32);

    EXPECT_TRUE(decode(record("a", "b", "h/", "8192\n0\n0\n0\n0\n")).records[0].httpOnly());
    EXPECT_FALSE(decode(record("a", "b", "h/", "8192\n0\n0\n0\n0\n")).records[0].secure());
}

TEST(CookieRecords, LfOrCrLfEndALineAndNoneAtTheEnd)
{
    const std::string lf = record("n", "v", "h/p") + record("m", "w", "g/");
    std::string crlf;
    for (const char c : lf)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    std::string mixed = crlf.substr(0, crlf.size() / 2) + lf.substr(lf.size() / 2);
    for (const std::string &text : {lf, crlf, mixed, lf.substr(0, lf.size() - 1), crlf.substr(0, crlf.size() - 2)}) {
        const Decoded d = decode(text);
        ASSERT_FALSE(d.problem) << d.problem.text();
        ASSERT_EQ(d.records.size(), 2u);
        EXPECT_EQ(d.records[0].path, "/p");
        EXPECT_EQ(d.records[1].name, "m");
        EXPECT_EQ(d.records[1].host, "g");
    }
}

TEST(CookieRecords, ACrAloneIsPartOfItsLine)
{
    // Read as the browser reads it, this is one cookie for bank.example
    // whose name holds CRs; were a lone CR a line end, its name would hide
    // a whole record for .attacker.example before it.
    const std::string crafted = "n\rv\r.attacker.example/\r1536\r0\r0\r0\r0\r*\rSID\n" + std::string("secret\n") +
                                "bank.example/\n1536\n0\n0\n0\n0\n*\n";
    const Decoded d = decode(crafted);
    ASSERT_FALSE(d.problem) << d.problem.text();
    ASSERT_EQ(d.records.size(), 1u);
    EXPECT_EQ(d.records[0].host, "bank.example");
    EXPECT_EQ(d.records[0].name, "n\rv\r.attacker.example/\r1536\r0\r0\r0\r0\r*\rSID");
    EXPECT_EQ(d.records[0].value, "secret");

    // A file whose lines end in CR alone is one line, no cookie.
    std::string cr = record("n", "v", "h/");
    for (char &c : cr)
        c = c == '\n' ? '\r' : c;
    const Decoded one = decode(cr);
    EXPECT_EQ(one.problem.error, CookieFormatError::IncompleteRecord);
    EXPECT_EQ(one.problem.line, 2);
    EXPECT_TRUE(one.records.empty());
    // A CR before the end mark's LF is a CR LF; one more is data.
    EXPECT_FALSE(decode("n\nv\nh/\n0\n0\n0\n0\n0\n*\r\n").problem);
    EXPECT_EQ(decode("n\nv\nh/\n0\n0\n0\n0\n0\n*\r\r\n").problem.error, CookieFormatError::NoEndMark);
    EXPECT_EQ(decode("n\nv\nh/\n0\r1\n0\n0\n0\n0\n*\n").problem.error, CookieFormatError::NotANumber);

    std::array<std::string_view, 4> lines;
    recordLines("a\rb\r\nc\n\n", lines);
    EXPECT_EQ(lines[0], "a\rb");
    EXPECT_EQ(lines[1], "c");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "");
}

TEST(CookieRecords, CP932TextIsKeptByteForByte)
{
    // ソ and 表 end in 0x5C; the value is neither split nor changed.
    const std::string value = platform::cp932::fromUtf8("ソフト表示");
    const std::string text = record("n", value, platform::cp932::fromUtf8("例え.jp/パス"));
    const Decoded d = decode(text); // views into `text`
    ASSERT_FALSE(d.problem);
    EXPECT_EQ(d.records[0].value, value);
    EXPECT_EQ(d.records[0].path, platform::cp932::fromUtf8("/パス"));
}

TEST(CookieRecords, AFileOffTheFormatGivesItsWholeRecordsThenTheLine)
{
    const std::string good = record("n", "v", "h/");
    struct Case {
        std::string text;
        CookieFormatError error;
        int line;
        std::size_t whole; // records before the fault, kept
    };
    const Case cases[] = {
        {"", CookieFormatError::Empty, 1, 0},
        {"SINGLELINE=1\n", CookieFormatError::IncompleteRecord, 2, 0},
        {good + "n\nv\nh/\n", CookieFormatError::IncompleteRecord, 13, 1},                       // cut short
        {good + good + "n\nv\nh/\n0\n0\n0\n0\n0\n", CookieFormatError::IncompleteRecord, 27, 2}, // no last "*"
        {good + "\n", CookieFormatError::IncompleteRecord, 11, 1}, // a blank line after the last "*"
        {record("n", "v", "nohostpath"), CookieFormatError::NoPath, 3, 0},
        {good + record("n", "v", "h.example"), CookieFormatError::NoPath, 12, 1},
        {record("n", "v", "/"), CookieFormatError::NoHost, 3, 0},
        {good + record("n", "v", "/path"), CookieFormatError::NoHost, 12, 1},
        {good + record("n", "v", "h/", "1536\n12a\n0\n0\n0\n"), CookieFormatError::NotANumber, 14, 1},
        {record("n", "v", "h/", "-1\n0\n0\n0\n0\n"), CookieFormatError::NotANumber, 4, 0},
        {record("n", "v", "h/", "0\n 1\n0\n0\n0\n"), CookieFormatError::NotANumber, 5, 0},
        {record("n", "v", "h/", "0\n0\n+1\n0\n0\n"), CookieFormatError::NotANumber, 6, 0},
        {record("n", "v", "h/", "0\n0\n0\n4294967296\n0\n"), CookieFormatError::NotANumber, 7, 0},
        {record("n", "v", "h/", "0\n0\n0\n0\n\n"), CookieFormatError::NotANumber, 8, 0},
        {good + "n\nv\nh/\n0\n0\n0\n0\n0\n* \n", CookieFormatError::NoEndMark, 18, 1},
        {"n\nv\nh/\n0\n0\n0\n0\n0\nn2\n", CookieFormatError::NoEndMark, 9, 0},
    };
    for (const Case &c : cases) {
        const Decoded decoded = decode(c.text);
        EXPECT_EQ(decoded.problem.error, c.error) << c.text;
        EXPECT_EQ(decoded.problem.line, c.line) << c.text;
        EXPECT_EQ(decoded.problem.records, static_cast<int>(c.whole)) << c.text;
        ASSERT_EQ(decoded.records.size(), c.whole) << c.text;
        for (const CookieRecord &kept : decoded.records) {
            EXPECT_EQ(kept.name, "n");
            EXPECT_EQ(kept.host, "h");
        }
        const CookieFormatProblem checked = checkCookieRecords(c.text);
        EXPECT_EQ(checked.line, c.line) << c.text;
        EXPECT_EQ(checked.records, static_cast<int>(c.whole)) << c.text;
    }
    EXPECT_EQ((CookieFormatProblem{CookieFormatError::NotANumber, 14}).text(),
              "line 14: not an unsigned 32-bit number");
    EXPECT_EQ((CookieFormatProblem{CookieFormatError::NoHost, 3}).text(), "line 3: no host before the \"/\"");
}

TEST(CookieRecords, FileTimesAsIso8601Utc)
{
    EXPECT_EQ(fileTimeToIso8601(0), "1601-01-01T00:00:00Z");
    EXPECT_EQ(fileTimeToIso8601(116444736000000000), "1970-01-01T00:00:00Z");
    EXPECT_EQ(fileTimeToIso8601(133536816000000000), "2024-02-29T12:00:00Z");
    EXPECT_EQ(fileTimeToIso8601(133958538230055936), "2025-07-01T14:30:23.0055936Z");
    EXPECT_EQ(fileTimeToIso8601(133536816000000001), "2024-02-29T12:00:00.0000001Z");
    EXPECT_EQ(fileTimeToIso8601(2650467743990000000), "9999-12-31T23:59:59Z");
    EXPECT_EQ(fileTimeToIso8601(2650467744000000000), "+10000-01-01T00:00:00Z");
    // The last time Windows itself converts; past it, the calendar goes on.
    EXPECT_EQ(fileTimeToIso8601(INT64_MAX), "+30828-09-14T02:48:05.4775807Z");
    EXPECT_EQ(fileTimeToIso8601(UINT64_MAX).substr(0, 7), "+60056-");
}
