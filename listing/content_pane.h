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

    void clear();

    // Replaces the text with `bytes`, taking LF, CR and CR LF each as one
    // line end and storing it as CR LF.
    void setText(std::string_view bytes);

    const std::string &text() const { return m_text; }

    // Line `number` (from 1) without its line end, at most kMaxLineLength
    // bytes; empty when the text has no such line.
    std::string_view line(int number) const;

    // Position of the first case-sensitive match of `needle` that starts and
    // ends on character boundaries, or -1 when there is none.
    long long find(std::string_view needle) const;

    // Changes each time the text does, so that a view redraws only then.
    std::uint64_t revision() const { return m_revision; }

private:
    std::string m_text;
    std::uint64_t m_revision = 0;
};

} // namespace listing
