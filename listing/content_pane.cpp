#include "content_pane.h"

#include "platform/cp932.h"

#include <cstring>

namespace listing {

void ContentPane::clear()
{
    if (m_text.capacity() > kLargeBuffer)
        std::string().swap(m_text);
    else
        m_text.clear();
    ++m_revision;
}

void ContentPane::setText(std::string_view bytes)
{
    m_text.assign(bytes);
    normalizeLineEnds();
    ++m_revision;
}

std::string &ContentPane::beginLoad()
{
    clear();
    return m_text;
}

void ContentPane::endLoad()
{
    normalizeLineEnds();
    ++m_revision;
}

void ContentPane::normalizeLineEnds()
{
    // Count the line ends that need one byte more: a lone LF or a lone CR.
    // The usual cookie file has LF only.
    char *const begin = m_text.data();
    const std::size_t size = m_text.size();
    const bool hasCr = std::memchr(begin, '\r', size) != nullptr;
    std::size_t extra = 0;
    if (!hasCr) {
        for (const char *p = begin, *end = begin + size;
             (p = static_cast<const char *>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)))); ++p)
            ++extra;
    } else {
        for (std::size_t i = 0; i < size; ++i) {
            if (begin[i] == '\n' && (i == 0 || begin[i - 1] != '\r'))
                ++extra;
            else if (begin[i] == '\r' && (i + 1 == size || begin[i + 1] != '\n'))
                ++extra;
        }
    }
    if (extra == 0)
        return;

    // Widen from the back, so that no byte is overwritten before it moved.
    m_text.resize(size + extra);
    char *const text = m_text.data();
    std::size_t from = size, to = size + extra;
    if (!hasCr) {
        while (from > 0) {
            std::size_t lineStart = from;
            while (lineStart > 0 && text[lineStart - 1] != '\n')
                --lineStart;
            const bool found = lineStart > 0;
            const std::size_t length = from - lineStart;
            to -= length;
            std::memmove(text + to, text + lineStart, length);
            if (!found)
                break;
            text[--to] = '\n';
            text[--to] = '\r';
            from = lineStart - 1;
        }
    } else {
        while (from > 0) {
            const char c = text[from - 1];
            if (c == '\n' || c == '\r') {
                from -= c == '\n' && from >= 2 && text[from - 2] == '\r' ? 2 : 1;
                text[--to] = '\n';
                text[--to] = '\r';
            } else {
                text[--to] = c;
                --from;
            }
        }
    }
}

std::string_view ContentPane::line(int number) const
{
    if (number < 1)
        return {};
    // Every CR of the text starts a CR LF line end.
    const std::string_view text(m_text);
    std::size_t start = 0;
    for (int n = 1; n < number; ++n) {
        const std::size_t end = text.find('\r', start);
        if (end == std::string_view::npos)
            return {};
        start = end + 2;
    }
    std::size_t end = text.find('\r', start);
    if (end == std::string_view::npos)
        end = text.size();
    return text.substr(start, std::min(end - start, kMaxLineLength));
}

long long ContentPane::find(std::string_view needle) const
{
    const std::string_view text(m_text);
    // Walk character boundaries alongside the byte search, so that a match
    // that begins on a trail byte (the 40 of "ァ" for "@") is passed over.
    std::size_t boundary = 0;
    for (std::size_t pos = text.find(needle); pos != std::string_view::npos; pos = text.find(needle, pos + 1)) {
        while (boundary < pos)
            boundary += platform::cp932::charLength(text, boundary);
        if (boundary != pos)
            continue;
        std::size_t end = pos;
        while (end < pos + needle.size())
            end += platform::cp932::charLength(text, end);
        if (end == pos + needle.size())
            return static_cast<long long>(pos);
    }
    return -1;
}

} // namespace listing
