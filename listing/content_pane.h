#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace listing {

// The text of the content pane: the whole text of the last cookie file read,
// in CP932 with every line ending as CR LF. The window shows it; the reader
// takes lines from it. Reading touches only this model, never a widget.
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
    // turns their line ends into CR LF in place, so the bytes are held once.
    std::string &beginLoad();
    void endLoad();

    const std::string &text() const { return m_text; }

    // Line `number` (from 1) without its line end, at most kMaxLineLength
    // bytes; empty when the text has no such line.
    std::string_view line(int number) const;

    // Position of the first case-sensitive match of `needle` that starts and
    // ends on character boundaries, or -1 when there is none.
    long long find(std::string_view needle) const;

    // Changes each time the text does, so that a view redraws only then.
    std::uint64_t revision() const { return m_revision; }

    // A buffer beyond this size is released when the text is cleared.
    static constexpr std::size_t kLargeBuffer = std::size_t(1) << 20;

private:
    void normalizeLineEnds();

    std::string m_text;
    std::uint64_t m_revision = 0;
};

} // namespace listing
