#include "listing/content_pane.h"

#include "platform/cp932.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

using listing::ContentPane;

namespace {
ContentPane paneWith(std::string_view bytes)
{
    ContentPane pane;
    pane.setText(bytes);
    return pane;
}

// True when `pos` starts a character of `text` (or is its end), as a walk
// from the first byte finds.
bool isCharBoundary(std::string_view text, std::size_t pos)
{
    std::size_t at = 0;
    while (at < pos)
        at += platform::cp932::charLength(text, at);
    return at == pos;
}
} // namespace

TEST(ContentPane, EveryLineEndBecomesCrLf)
{
    EXPECT_EQ(paneWith("a\nb\rc\r\nd").text(), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(paneWith("\r\r\n\n").text(), "\r\n\r\n\r\n");
    EXPECT_EQ(paneWith("\n\r").text(), "\r\n\r\n"); // LF then CR is two line ends
    EXPECT_EQ(paneWith("").text(), "");
}

TEST(ContentPane, LinesCountFromOneWithoutTheirLineEnds)
{
    const ContentPane pane = paneWith("first\nsecond\r\nthird");
    EXPECT_EQ(pane.line(1), "first");
    EXPECT_EQ(pane.line(2), "second");
    EXPECT_EQ(pane.line(3), "third");
    EXPECT_EQ(pane.line(4), "");
    EXPECT_EQ(pane.line(0), "");
    EXPECT_EQ(paneWith("only\n").line(2), "");
    EXPECT_EQ(paneWith("").line(1), "");
    EXPECT_EQ(paneWith("\n\nthird\n").line(3), "third");
}

TEST(ContentPane, LongLinesGiveTheirFirst4096Bytes)
{
    const std::string longLine(5000, 'x');
    const ContentPane pane = paneWith("a\n" + longLine + "\nc");
    EXPECT_EQ(pane.line(2), std::string(4096, 'x'));
    EXPECT_EQ(pane.line(3), "c");
    EXPECT_EQ(paneWith(std::string(4096, 'y')).line(1).size(), 4096u);
}

TEST(ContentPane, NulBytesAreKept)
{
    const ContentPane pane = paneWith(std::string("a\0b\nc", 5));
    EXPECT_EQ(pane.line(1), std::string_view("a\0b", 3));
    EXPECT_EQ(pane.find("b"), 2);
}

TEST(ContentPane, FindIsCaseSensitiveAndSpansLines)
{
    const ContentPane pane = paneWith("Hello\nworld");
    EXPECT_EQ(pane.find("Hello"), 0); // a match at the very first byte is a match
    EXPECT_EQ(pane.find("world"), 7);
    EXPECT_EQ(pane.find("o\r\nw"), 4);
    EXPECT_EQ(pane.find("WORLD"), -1);
    EXPECT_EQ(pane.find("planet"), -1);
}

TEST(ContentPane, FindMatchesWholeCharactersOnly)
{
    // "ァ" is 83 40: "@" must not be found in its trail byte, but the real
    // "@" after it must.
    EXPECT_EQ(paneWith("\x83\x40").find("@"), -1);
    EXPECT_EQ(paneWith("\x83\x40@").find("@"), 2);
    // 83 83 41: the 83 41 in the middle is not a character.
    EXPECT_EQ(paneWith("\x83\x83\x41").find("\x83\x41"), -1);
    // A search text ending in half a character does not match a whole one.
    EXPECT_EQ(paneWith("\x83\x40").find("\x83"), -1);
    // A match that overlaps a rejected one is still found: "@@" first
    // occurs at byte 1, the trail byte of ァ, and again at byte 2.
    EXPECT_EQ(paneWith("\x83\x40@@").find("@@"), 2);
    // A long run of lead bytes, "\x83" then "≠" (81 82) over and over: every
    // "≠" in it starts on a trail byte, and the real one after the LF that
    // the run's last lead byte takes as its trail is found.
    std::string run = "n\n\x83";
    for (int i = 0; i < 50000; ++i)
        run += "\x81\x82";
    EXPECT_EQ(listing::findInText(run, "\x81\x82"), -1);
    EXPECT_EQ(listing::findInText(run + "\n\x81\x82", "\x81\x82"), static_cast<long long>(run.size() + 1));
    EXPECT_EQ(listing::findInText(run + "\n\x81\x82", "\n\x81"), -1);
}

TEST(ContentPane, LoadsInPlaceAndLetsGoOfALargeBuffer)
{
    // The bytes read straight into the pane's buffer are widened where they
    // lie, every kind of line end included.
    ContentPane pane;
    pane.beginLoad() = "a\nb\rc\r\nd\n";
    pane.endLoad();
    EXPECT_EQ(pane.text(), "a\r\nb\r\nc\r\nd\r\n");
    std::string big;
    for (int i = 0; i < 100000; ++i)
        big += "line\n";
    pane.beginLoad() = big;
    pane.endLoad();
    EXPECT_EQ(pane.text().size(), big.size() + 100000);
    EXPECT_EQ(pane.line(100000), "line");
    pane.clear();
    EXPECT_LE(pane.text().capacity(), ContentPane::kLargeBuffer);
}

TEST(ContentPane, WideningNeverDoublesTheRoomAndMovesTheRevision)
{
    // A text read into room for its own size: widening it must take a buffer
    // of the widened size, not one that growth doubled.
    std::string lines;
    for (int i = 0; i < 200000; ++i)
        lines += "ab\n";
    std::string exact;
    exact.reserve(lines.size());
    exact = lines;
    listing::widenLineEnds(exact);
    EXPECT_EQ(exact.size(), lines.size() + 200000);
    EXPECT_LT(exact.capacity(), exact.size() + exact.size() / 16);
    EXPECT_EQ(exact.substr(0, 8), "ab\r\nab\r\n");

    // The bytes as read stay as read; widening them is a new revision, and
    // asking again is not.
    ContentPane pane;
    pane.beginLoad() = "a\nb\n";
    pane.endLoad();
    EXPECT_EQ(pane.rawText(), "a\nb\n");
    const auto loaded = pane.revision();
    EXPECT_EQ(pane.text(), "a\r\nb\r\n");
    const auto widened = pane.revision();
    EXPECT_NE(widened, loaded);
    EXPECT_EQ(pane.text(), "a\r\nb\r\n");
    EXPECT_EQ(pane.revision(), widened);
    // Nothing to widen: nothing moved, the revision stays.
    pane.setText("a\r\nb");
    const auto crLf = pane.revision();
    EXPECT_EQ(pane.text(), "a\r\nb");
    EXPECT_EQ(pane.revision(), crLf);
}

TEST(ContentPane, WideningPieceByPieceGivesTheWholeTextWidened)
{
    // Every place a text can be cut, CR LF split between the pieces
    // included, and a piece that is empty or a lone CR.
    const std::string text = "a\r\nb\rc\nd\r\r\n\n\re\r";
    std::string whole = text;
    listing::widenLineEnds(whole);
    ASSERT_EQ(whole, "a\r\nb\r\nc\r\nd\r\n\r\n\r\n\r\ne\r\n");
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        for (std::size_t second = cut; second <= text.size(); ++second) {
            std::string out;
            bool lastWasCr = false;
            const std::string_view all = text;
            listing::appendWidened(all.substr(0, cut), lastWasCr, out);
            listing::appendWidened(all.substr(cut, second - cut), lastWasCr, out);
            listing::appendWidened(all.substr(second), lastWasCr, out);
            EXPECT_EQ(out, whole) << "cut at " << cut << " and " << second;
        }
    }
    // A fresh start takes a leading LF as a line end of its own.
    std::string out;
    bool lastWasCr = false;
    listing::appendWidened("\nx", lastWasCr, out);
    EXPECT_EQ(out, "\r\nx");
}

TEST(ContentPane, RevisionChangesWithTheText)
{
    ContentPane pane;
    const auto before = pane.revision();
    pane.setText("a");
    EXPECT_NE(pane.revision(), before);
    const auto loaded = pane.revision();
    pane.clear();
    EXPECT_NE(pane.revision(), loaded);
    EXPECT_EQ(pane.text(), "");
}

TEST(ContentPane, LinesAndSearchComeOutTheSameFromTheBytesAsRead)
{
    // The scan takes lines and searches from a file's bytes as read, the
    // pane from the same bytes with every line end made CR LF.
    const std::vector<std::string> texts = {
        "a\nb\nc",     "a\rb\r\nc\n", "\n\r\r\n\nx", "\x81\nSESSIONID\n", "x\x81\r\ny\x81",
        "\x83\x40@\n@", "ab\rcd\nSESS\nIONID", "", "\r", std::string("a\0b\nc", 5)};
    const std::vector<std::string> needles = {"SESSIONID", "@", "b", "\x81", "\x40", "c", "x", "y\x81", ""};
    for (const std::string &text : texts) {
        const ContentPane pane = paneWith(text);
        for (int line = 0; line <= 5; ++line)
            EXPECT_EQ(listing::textLine(text, line), pane.line(line)) << testing::PrintToString(text) << " " << line;
        for (const std::string &needle : needles)
            EXPECT_EQ(listing::findInText(text, needle) >= 0, pane.find(needle) >= 0)
                << testing::PrintToString(text) << " " << testing::PrintToString(needle);
    }
}

TEST(ContentPane, LinesAndMatchesAgreeWithAWalkFromTheStart)
{
    // The scan takes the first lines in one pass and tells a match that
    // starts on a trail byte from the bytes just before it: both held
    // against the plain way, on texts of line ends, lead bytes and bytes
    // that are trail bytes ("@" is 0x40).
    const std::string alphabet = "a@\r\n\x83\x81\xE0\x40";
    const std::vector<std::string> needles = {"@",        "a@",       "\x83", "\x83@",           "@\x83",
                                              "\x40\x40", "\x83\x83", "\n",   "\x81\x83\x40\x83"};
    const auto plainLine = [](std::string_view text, int number) -> std::string_view {
        std::size_t start = 0;
        for (int n = 1; n < number; ++n) {
            const std::size_t end = text.find_first_of("\r\n", start);
            if (end == std::string_view::npos)
                return {};
            start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
        }
        return text.substr(start, text.find_first_of("\r\n", start) - start);
    };
    std::mt19937 random(3);
    for (int i = 0; i < 20000; ++i) {
        std::string text(random() % 16, ' ');
        for (char &c : text)
            c = alphabet[random() % alphabet.size()];
        std::array<std::string_view, 4> lines;
        listing::firstTextLines(text, lines);
        for (int line = 1; line <= 4; ++line)
            ASSERT_EQ(lines[line - 1], plainLine(text, line)) << testing::PrintToString(text) << line;
        for (const std::string &needle : needles) {
            long long expected = -1;
            for (std::size_t pos = text.find(needle); pos != std::string::npos; pos = text.find(needle, pos + 1)) {
                if (isCharBoundary(text, pos) && isCharBoundary(text, pos + needle.size())) {
                    expected = static_cast<long long>(pos);
                    break;
                }
            }
            ASSERT_EQ(listing::findInText(text, needle), expected)
                << testing::PrintToString(text) << " " << testing::PrintToString(needle);
        }
    }
}
