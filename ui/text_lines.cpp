#include "text_lines.h"

#include "platform/cp932.h"

#include <algorithm>

namespace ui::text {
namespace {

// The first CR or LF in [from, to), or `to`. CR and LF can never trail a
// lead byte, so a byte search finds every line end and nothing else.
const char *findLineEnd(const char *from, const char *to)
{
    for (; from != to; ++from)
        if (*from == '\n' || *from == '\r')
            return from;
    return to;
}

} // namespace

std::size_t characterLength(std::string_view text, std::size_t position)
{
    return platform::cp932::nameCharLength(text, position);
}

TextLines::TextLines(std::string_view text) : m_text(text)
{
    m_checkpoints.push_back(0);
    std::size_t start = 0;
    for (Span span = lineAt(start); span.next != kNone; span = lineAt(start)) {
        start = span.next;
        if (m_lineCount % kCheckpointLines == 0)
            m_checkpoints.push_back(start);
        ++m_lineCount;
    }
}

TextLines::Span TextLines::lineAt(std::size_t start) const
{
    const std::size_t size = m_text.size();
    start = std::min(start, size);
    // A line end right after a full piece still ends this line.
    const std::size_t searchEnd = std::min(size, start + kPieceBytes + 1);
    const char *const base = m_text.data();
    const auto end = static_cast<std::size_t>(findLineEnd(base + start, base + searchEnd) - base);
    if (end < searchEnd) {
        const bool crLf = m_text[end] == '\r' && end + 1 < size && m_text[end + 1] == '\n';
        return {end, end + (crLf ? 2 : 1)};
    }
    if (size - start <= kPieceBytes)
        return {size, kNone};
    // A line longer than a piece: cut it after the last whole character
    // that fits.
    std::size_t cut = start;
    for (std::size_t step = characterLength(m_text, cut); cut + step <= start + kPieceBytes;
         step = characterLength(m_text, cut))
        cut += step;
    return {cut, cut};
}

std::size_t TextLines::lineStart(std::size_t line) const
{
    line = std::min(line, m_lineCount - 1);
    std::size_t start = m_checkpoints[line / kCheckpointLines];
    for (std::size_t i = line % kCheckpointLines; i > 0; --i)
        start = lineAt(start).next;
    return start;
}

std::size_t TextLines::lineOf(std::size_t position) const
{
    const auto after = std::upper_bound(m_checkpoints.begin(), m_checkpoints.end(), position);
    const auto checkpoint = static_cast<std::size_t>(after - m_checkpoints.begin()) - 1;
    std::size_t line = checkpoint * kCheckpointLines;
    std::size_t start = m_checkpoints[checkpoint];
    for (Span span = lineAt(start); span.next != kNone && position >= span.next; span = lineAt(start)) {
        start = span.next;
        ++line;
    }
    return line;
}

std::size_t TextLines::nextCharacter(std::size_t position) const
{
    const std::size_t size = m_text.size();
    if (position >= size)
        return size;
    if (m_text[position] == '\r' && position + 1 < size && m_text[position + 1] == '\n')
        return position + 2;
    return position + characterLength(m_text, position);
}

std::size_t TextLines::previousCharacter(std::size_t position) const
{
    position = std::min(position, m_text.size());
    if (position == 0)
        return 0;
    // Step from the start of the line that holds the byte before: a
    // character boundary no more than a piece and a line end away.
    std::size_t at = lineStart(lineOf(position - 1));
    for (std::size_t next = nextCharacter(at); next < position; next = nextCharacter(at))
        at = next;
    return at;
}

bool TextLines::isLineEnd(std::size_t position) const
{
    return position < m_text.size() && (m_text[position] == '\n' || m_text[position] == '\r');
}

std::string TextLines::copiedText(std::size_t from, std::size_t to) const
{
    to = std::min(to, m_text.size());
    from = std::min(from, to);
    const std::string_view part = m_text.substr(from, to - from);
    // Counted first, so that a copy of a big text is made in one buffer of
    // its size.
    std::size_t widened = part.size();
    for (std::size_t i = 0; i < part.size(); ++i)
        if ((part[i] == '\r' && (i + 1 == part.size() || part[i + 1] != '\n')) ||
            (part[i] == '\n' && (i == 0 || part[i - 1] != '\r')))
            ++widened;
    std::string copied;
    copied.reserve(widened);
    for (std::size_t i = 0; i < part.size(); ++i) {
        const char byte = part[i];
        if (byte == '\n' && (i == 0 || part[i - 1] != '\r'))
            copied += '\r';
        copied += byte;
        if (byte == '\r' && (i + 1 == part.size() || part[i + 1] != '\n'))
            copied += '\n';
    }
    return copied;
}

} // namespace ui::text
