// The text view's lines over a CP932 text: where they start and end, the
// pieces of a long line, stepping by characters, and the copied text.

#include "ui/text_lines.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using ui::text::TextLines;

std::vector<std::size_t> starts(const TextLines &lines)
{
    std::vector<std::size_t> all;
    for (std::size_t line = 0; line < lines.lineCount(); ++line)
        all.push_back(lines.lineStart(line));
    return all;
}

TEST(TextLines, LfCrAndCrLfEachEndOneLineAndALeadByteNeverTakesOne)
{
    const std::string text = "a\nb\r\nc\rd\x82\n\x82\xa0";
    const TextLines lines(text);
    EXPECT_EQ(starts(lines), (std::vector<std::size_t>{0, 2, 5, 7, 10}));
    EXPECT_EQ(lines.lineAt(2).end, 3u);
    EXPECT_EQ(lines.lineAt(2).next, 5u);
    EXPECT_EQ(lines.lineAt(7).end, 9u); // the lead byte before the LF is a character of its own
    EXPECT_EQ(lines.lineAt(10).next, TextLines::kNone);
    EXPECT_EQ(lines.lineOf(3), 1u); // the CR of a CR LF belongs to its line
    EXPECT_EQ(lines.lineOf(4), 1u);
    EXPECT_EQ(lines.lineOf(5), 2u);
    EXPECT_EQ(lines.lineOf(text.size()), 4u);

    EXPECT_EQ(TextLines("").lineCount(), 1u);
    EXPECT_EQ(TextLines("x\n").lineCount(), 2u); // the last line is empty
    EXPECT_EQ(TextLines("x\r\n\r\n").lineCount(), 3u);
}

TEST(TextLines, StepsByCharactersWithCrLfAndDoubleBytesAsOne)
{
    const std::string text = "a\x82\xa0\r\nb\x82 \r\r";
    const TextLines lines(text);
    std::vector<std::size_t> forward{0};
    while (forward.back() < text.size())
        forward.push_back(lines.nextCharacter(forward.back()));
    // a, the double-byte character, CR LF, b, a lead byte before a blank (a
    // byte of its own), the blank, CR, CR.
    EXPECT_EQ(forward, (std::vector<std::size_t>{0, 1, 3, 5, 6, 7, 8, 9, 10}));
    std::vector<std::size_t> backward{text.size()};
    while (backward.back() > 0)
        backward.push_back(lines.previousCharacter(backward.back()));
    EXPECT_EQ(std::vector<std::size_t>(backward.rbegin(), backward.rend()), forward);
    EXPECT_TRUE(lines.isLineEnd(3));
    EXPECT_FALSE(lines.isLineEnd(2));
}

// The lines of any text cover it without a gap; no line's characters hold a
// line end or run past a piece; a cut lies on a character boundary and could
// not have taken one more character; lineOf() and lineStart() agree; and the
// characters step the same forward and back, across every cut.
void expectWellCut(const std::string &text)
{
    const TextLines lines(text);
    std::vector<bool> boundary(text.size() + 1, false);
    for (std::size_t at = 0; at < text.size(); at += ui::text::characterLength(text, at))
        boundary[at] = true;
    boundary[text.size()] = true;

    std::size_t start = 0;
    for (std::size_t line = 0; line < lines.lineCount(); ++line) {
        ASSERT_EQ(lines.lineStart(line), start) << "line " << line;
        const TextLines::Span span = lines.lineAt(start);
        ASSERT_LE(span.end - start, TextLines::kPieceBytes);
        for (std::size_t at = start; at < span.end; ++at)
            ASSERT_FALSE(text[at] == '\r' || text[at] == '\n') << at;
        // A line end's place is its line's; a cut is the next piece's start.
        for (const std::size_t at : {start, start + (span.end - start) / 2, span.end})
            ASSERT_EQ(lines.lineOf(at), at == span.next ? line + 1 : line) << at;
        if (span.next == TextLines::kNone) {
            EXPECT_EQ(line + 1, lines.lineCount());
            EXPECT_EQ(span.end, text.size());
            break;
        }
        if (span.next == span.end) { // a cut
            EXPECT_TRUE(boundary[span.end]) << span.end;
            EXPECT_GT(span.end + ui::text::characterLength(text, span.end), start + TextLines::kPieceBytes);
        }
        start = span.next;
    }
    // Each step back costs a walk from its line's start: a sample of them,
    // every one beside a line's start.
    std::vector<bool> lineStart(text.size() + 1, false);
    for (std::size_t line = 0; line < lines.lineCount(); ++line)
        lineStart[lines.lineStart(line)] = true;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t next = lines.nextCharacter(at);
        ASSERT_TRUE(boundary[next] || (text[at] == '\r' && text[next - 1] == '\n')) << next;
        if (next % 61 == 0 || lineStart[next] || lineStart[at]) {
            ASSERT_EQ(lines.previousCharacter(next), at) << next;
        }
        at = next;
    }
}

TEST(TextLines, AnyTextIsCutIntoLinesAndPiecesThatCoverItWhole)
{
    std::mt19937 random(33);
    const std::string alphabet = std::string("ab \r\n\x82\xa0\x81\x40", 9);
    for (int round = 0; round < 40; ++round) {
        std::string text;
        const int runs = 1 + static_cast<int>(random() % 6);
        for (int run = 0; run < runs; ++run) {
            // Now and then a long run without a line end, to be cut.
            const std::size_t length = random() % 4 == 0 ? 3000 + random() % 7000 : random() % 40;
            const std::string pick = random() % 2 ? alphabet : alphabet.substr(5);
            for (std::size_t i = 0; i < length; ++i)
                text += pick[random() % pick.size()];
            text += alphabet[2 + random() % 3];
        }
        expectWellCut(text);
    }
    // A double-byte character across the piece's edge goes whole to the next.
    std::string straddling(TextLines::kPieceBytes - 1, 'a');
    straddling += "\x82\xa0tail";
    expectWellCut(straddling);
    const TextLines lines(straddling);
    EXPECT_EQ(lines.lineAt(0).end, TextLines::kPieceBytes - 1);
    EXPECT_EQ(lines.previousCharacter(TextLines::kPieceBytes + 1), TextLines::kPieceBytes - 1);
    // A line of exactly a piece followed by its line end is not cut.
    EXPECT_EQ(TextLines(std::string(TextLines::kPieceBytes, 'a') + "\n").lineCount(), 2u);
}

TEST(TextLines, ManyLinesAreFoundThroughTheKeptStarts)
{
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text += std::to_string(i) + (i % 2 ? "\r\n" : "\n");
    const TextLines lines(text);
    EXPECT_EQ(lines.lineCount(), 1001u);
    const std::size_t line = 777;
    const std::size_t start = lines.lineStart(line);
    EXPECT_EQ(text.substr(start, 3), "777");
    EXPECT_EQ(lines.lineOf(start + 2), line);
    EXPECT_EQ(lines.lineOf(text.size()), 1000u);
    expectWellCut(text);
}

TEST(TextLines, ACopyHasEveryLineEndAsCrLf)
{
    const std::string text = "a\nb\rc\r\nd\n";
    const TextLines lines(text);
    EXPECT_EQ(lines.copiedText(0, text.size()), "a\r\nb\r\nc\r\nd\r\n");
    EXPECT_EQ(lines.copiedText(1, 4), "\r\nb\r\n"); // from the LF, to after the lone CR
    EXPECT_EQ(lines.copiedText(5, 7), "\r\n");      // a CR LF is copied once
    EXPECT_EQ(lines.copiedText(3, 3), "");
}

} // namespace
