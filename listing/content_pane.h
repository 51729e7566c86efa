#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace listing {

// The text of the content pane: the whole text of the last cookie file read,
// in CP932, held once with its line ends as read. The window shows it; the
// reader takes lines from it. Reading touches only this model, never a
// widget.
//
// The line ends are widened (to CR LF) only when text() is asked for: the
// reader, the cookie table and both windows take lines from the bytes as
// read (rawText()), where LF, CR and CR LF each end a line, so that a big
// file is neither moved about nor held twice for a form that nobody looks
// at.
class ContentPane {
public:
    // The longest line that line() gives; a longer one is cut to its first
    // kMaxLineLength bytes.
    static constexpr std::size_t kMaxLineLength = 4096;

    // Empties the text. A large buffer is given back, so that a big file
    // read once does not keep its memory for the rest of the run.
    void clear();

    // Replaces the text with `bytes`, taking LF, CR and CR LF each as one
    // line end and storing it as CR LF.
    void setText(std::string_view bytes);

    // Loading without a copy: beginLoad() empties the text and hands out its
    // buffer, into which the caller reads a file's bytes; endLoad() then
    // takes them as the text, so the bytes are held once.
    std::string &beginLoad();
    void endLoad();

    // The text with CR LF line ends. The first call after a load widens them,
    // which may move the buffer: a rawText() taken before is then no longer
    // valid, and the revision changes unless recordText() stayed where it
    // was. Only for a search text with a line end in it, and for tests.
    const std::string &text() const;

    // The same text with its line ends as they were read (LF, CR or CR LF,
    // each one line end), or as CR LF once text() has been asked for: the
    // same lines and the same characters as text(), without widening.
    std::string_view rawText() const { return m_text; }

    // The text for a reader whose lines end at LF and CR LF only, to which a
    // CR alone is part of its line (the cookie records): rawText(), but for
    // a text with a lone CR once text() has been asked for, whose bytes as
    // read are then kept aside as they lay. Its places stay valid until the
    // revision changes: widening a text without a lone CR moves them, and
    // changes the revision; widening one with a lone CR does not.
    std::string_view recordText() const;

    // The bytes the text's buffers hold room for: what it costs in memory.
    std::size_t heldBytes() const { return m_text.capacity() + (m_asRead.empty() ? 0 : m_asRead.capacity()); }

    // Line `number` (from 1) without its line end, at most kMaxLineLength
    // bytes; empty when the text has no such line.
    std::string_view line(int number) const;

    // Position of the first case-sensitive match of `needle` that starts and
    // ends on character boundaries, or -1 when there is none.
    long long find(std::string_view needle) const;

    // Changes each time the text or its line ends do, so that a view redraws
    // only then and what holds places in rawText() knows they moved.
    std::uint64_t revision() const { return m_revision; }

    // A buffer beyond this size is released when the text is cleared.
    static constexpr std::size_t kLargeBuffer = std::size_t(1) << 20;

private:
    // Widened on demand by the const text(): the text is the same either way.
    mutable std::string m_text;
    mutable bool m_widened = true;
    // The bytes as read, when widening turned a lone CR into a line end.
    mutable std::string m_asRead;
    mutable std::uint64_t m_revision = 0;
};

// The same operations on any text, for the scan, which reads each file into
// a buffer of its own and never widens its line ends: what it takes from a
// file is the same either way.

// Line `number` (from 1) of `text` without its line end, LF, CR and CR LF
// each taken as one; at most ContentPane::kMaxLineLength bytes; empty when
// the text has no such line. On a text with CR LF line ends only, the same
// as ContentPane::line().
std::string_view textLine(std::string_view text, int number);

// Lines 1 to lines.size() of `text`, each as textLine() gives it, in one
// pass over the text.
void firstTextLines(std::string_view text, std::span<std::string_view> lines);

// Position of the first case-sensitive match of `needle` in `text` that
// starts and ends on character boundaries, or -1. Whether a needle without
// CR or LF is found does not depend on how the text's lines end. To search
// many texts for one needle, make a TextFinder once.
long long findInText(std::string_view text, std::string_view needle);

// Turns every LF, CR and CR LF of `text` into CR LF. In place when the
// string has the room; else into a new buffer of exactly the size needed,
// never into one that the string's growth would double.
void widenLineEnds(std::string &text);

// Whether `text` holds a CR that no LF follows.
bool holdsLoneCr(std::string_view text);

// Widens `piece`, the next part of a text, onto the end of `out`, LF, CR and
// CR LF each as CR LF. `lastWasCr` carries a CR that ended the previous
// piece, so that a CR LF split between two pieces is one line end: start a
// text with it false.
void appendWidened(std::string_view piece, bool &lastWasCr, std::string &out);

} // namespace listing
