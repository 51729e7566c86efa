#include "content_pane.h"

#include "platform/cp932.h"

#include <cstring>

namespace listing {

void ContentPane::clear()
{
    m_text.clear();
    ++m_revision;
}

void ContentPane::setText(std::string_view bytes)
{
    m_text.clear();
    m_text.reserve(bytes.size() + bytes.size() / 8 + 16);
    const char *p = bytes.data();
    const char *const end = p + bytes.size();
    if (!std::memchr(p, '\r', bytes.size())) {
        // The usual cookie file: LF only. Copy line by line.
        while (const void *found = std::memchr(p, '\n', static_cast<std::size_t>(end - p))) {
            const char *lf = static_cast<const char *>(found);
            m_text.append(p, lf).append("\r\n", 2);
            p = lf + 1;
        }
        m_text.append(p, end);
    } else {
        while (p < end) {
            const char *stop = p;
            while (stop < end && *stop != '\r' && *stop != '\n')
                ++stop;
            m_text.append(p, stop);
            if (stop == end)
                break;
            m_text.append("\r\n", 2);
            p = stop + 1;
            if (*stop == '\r' && p < end && *p == '\n')
                ++p;
        }
    }
    ++m_revision;
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
