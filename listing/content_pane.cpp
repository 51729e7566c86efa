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
    m_text.reserve(bytes.size() + bytes.size() / 16 + 16);
    const char *p = bytes.data();
    const char *end = p + bytes.size();
    while (p < end) {
        // Copy the run up to the next CR or LF in one go.
        const char *stop = p;
        while (stop < end && *stop != '\r' && *stop != '\n')
            ++stop;
        m_text.append(p, stop);
        if (stop == end)
            break;
        m_text += "\r\n";
        p = stop + 1;
        if (*stop == '\r' && p < end && *p == '\n')
            ++p;
    }
    ++m_revision;
}

std::string_view ContentPane::line(int number) const
{
    if (number < 1)
        return {};
    const std::string_view text(m_text);
    std::size_t start = 0;
    for (int n = 1; n < number; ++n) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string_view::npos)
            return {};
        start = end + 2;
    }
    std::size_t end = text.find("\r\n", start);
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
