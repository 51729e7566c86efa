#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ui::text {

// The lines of a CP932 text as a text view shows them, found in one pass and
// kept without a place per line, so that a file of 100 MB and ten million
// lines costs the view about a megabyte.
//
// LF, CR and CR LF each end a line. A line longer than kPieceBytes is cut,
// on a character boundary, into pieces of at most that many bytes, and each
// piece is a line to the view: whatever the file, the view never lays out
// more than kPieceBytes at a time.
//
// Positions are byte offsets into the text, always on a character boundary:
// a double-byte character and a CR LF are each one step. A lead byte that
// no trail byte follows is a character of its own, so a line end is never
// taken into a character.
class TextLines {
public:
    static constexpr std::size_t kPieceBytes = 4096;
    // Every this many lines, the start of one is kept.
    static constexpr std::size_t kCheckpointLines = 64;

    TextLines() : TextLines(std::string_view()) {}
    // The text must outlive this object, unmoved.
    explicit TextLines(std::string_view text);

    std::string_view text() const { return m_text; }
    // A text of n line ends has n + 1 lines (and one more per cut piece); the
    // last is empty when the text ends with a line end; an empty text has one.
    std::size_t lineCount() const { return m_lineCount; }
    // Where line `line` (from 0) starts.
    std::size_t lineStart(std::size_t line) const;
    // The line holding `position`; a line end's place belongs to its line.
    std::size_t lineOf(std::size_t position) const;

    // The line that starts at `start`: where its characters end (its line
    // end, or where its next piece starts), and where the next line starts
    // (kNone after the last).
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    struct Span {
        std::size_t end = 0;
        std::size_t next = kNone;
    };
    Span lineAt(std::size_t start) const;

    std::size_t nextCharacter(std::size_t position) const;
    std::size_t previousCharacter(std::size_t position) const;
    // Whether the character at `position` is a line end (CR, LF or CR LF).
    bool isLineEnd(std::size_t position) const;

    // The text from `from` to `to` as it is copied: every line end CR LF.
    std::string copiedText(std::size_t from, std::size_t to) const;

private:
    std::string_view m_text;
    std::size_t m_lineCount = 1;
    std::vector<std::size_t> m_checkpoints; // start of line k * kCheckpointLines
};

// Length (1 or 2) of the CP932 character at `position` of `text`: a lead byte
// takes the byte after it only when that can trail it.
std::size_t characterLength(std::string_view text, std::size_t position);

} // namespace ui::text
