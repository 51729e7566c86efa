#include "listing/cookie_records.h"

#include "platform/cp932.h"

#include <gtest/gtest.h>

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

// Every record of `text`, or none when it strays somewhere.
Decoded decode(std::string_view text)
{
    Decoded decoded;
    CookieRecordReader reader(text);
    CookieRecord record;
    while (reader.next(record))
        decoded.records.push_back(record);
    decoded.problem = reader.problem();
    if (decoded.problem)
        decoded.records.clear();
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

TEST(CookieRecords, AnyLineEndAndNoneAtTheEnd)
{
    const std::string lf = record("n", "v", "h/p") + record("m", "w", "g/");
    std::string crlf, cr;
    for (const char c : lf) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        cr += c == '\n' ? '\r' : c;
    }
    std::string mixed = crlf.substr(0, crlf.size() / 2) + lf.substr(lf.size() / 2);
    for (const std::string &text : {lf, crlf, cr, mixed, lf.substr(0, lf.size() - 1)}) {
        const Decoded d = decode(text);
        ASSERT_FALSE(d.problem) << d.problem.text();
        ASSERT_EQ(d.records.size(), 2u);
        EXPECT_EQ(d.records[0].path, "/p");
        EXPECT_EQ(d.records[1].name, "m");
        EXPECT_EQ(d.records[1].host, "g");
    }
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

TEST(CookieRecords, AFileOffTheFormatGivesNoCookiesAndTheLine)
{
    const std::string good = record("n", "v", "h/");
    struct Case {
        std::string text;
        CookieFormatError error;
        int line;
    };
    const Case cases[] = {
        {"", CookieFormatError::Empty, 1},
        {"SINGLELINE=1\n", CookieFormatError::IncompleteRecord, 2},
        {good + "n\nv\nh/\n", CookieFormatError::IncompleteRecord, 13},
        {good + "\n", CookieFormatError::IncompleteRecord, 11}, // a blank line after the last "*"
        {record("n", "v", "nohostpath"), CookieFormatError::NoPath, 3},
        {good + record("n", "v", "h/", "1536\n12a\n0\n0\n0\n"), CookieFormatError::NotANumber, 14},
        {record("n", "v", "h/", "-1\n0\n0\n0\n0\n"), CookieFormatError::NotANumber, 4},
        {record("n", "v", "h/", "0\n 1\n0\n0\n0\n"), CookieFormatError::NotANumber, 5},
        {record("n", "v", "h/", "0\n0\n+1\n0\n0\n"), CookieFormatError::NotANumber, 6},
        {record("n", "v", "h/", "0\n0\n0\n4294967296\n0\n"), CookieFormatError::NotANumber, 7},
        {record("n", "v", "h/", "0\n0\n0\n0\n\n"), CookieFormatError::NotANumber, 8},
        {good + "n\nv\nh/\n0\n0\n0\n0\n0\n* \n", CookieFormatError::NoEndMark, 18},
        {"n\nv\nh/\n0\n0\n0\n0\n0\nn2\n", CookieFormatError::NoEndMark, 9},
    };
    for (const Case &c : cases) {
        const Decoded decoded = decode(c.text);
        EXPECT_EQ(decoded.problem.error, c.error) << c.text;
        EXPECT_EQ(decoded.problem.line, c.line) << c.text;
        EXPECT_TRUE(decoded.records.empty()) << c.text; // not even the good records before
        EXPECT_EQ(checkCookieRecords(c.text).line, c.line) << c.text;
    }
    EXPECT_EQ((CookieFormatProblem{CookieFormatError::NotANumber, 14}).text(),
              "line 14: not an unsigned 32-bit number");
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
