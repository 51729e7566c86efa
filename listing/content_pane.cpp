#include "content_pane.h"

#include "platform/cp932.h"
#include "text_finder.h"

#include <array>
#include <cstring>

namespace listing {

void ContentPane::clear()
{
    if (m_text.capacity() > kLargeBuffer)
        std::string().swap(m_text);
    else
        m_text.clear();
    std::string().swap(m_asRead);
    m_keptAsRead = false;
    m_widened = true;
    ++m_revision;
}

void ContentPane::setText(std::string_view bytes)
{
    std::string().swap(m_asRead);
    m_keptAsRead = false;
    m_text.assign(bytes);
    m_widened = false;
    ++m_revision;
}

std::string &ContentPane::beginLoad()
{
    clear();
    // Whatever the caller puts here is widened when asked for.
    m_widened = false;
    return m_text;
}

void ContentPane::endLoad()
{
    m_widened = false;
    ++m_revision;
}

const std::string &ContentPane::text() const
{
    if (!m_widened) {
        m_keptAsRead = holdsLoneCr(m_text);
        if (m_keptAsRead)
            m_asRead = m_text;
        widenLineEnds(m_text);
        m_widened = true;
    }
    return m_text;
}

std::string_view ContentPane::recordText() const
{
    const std::string &widened = text();
    return m_keptAsRead ? std::string_view(m_asRead) : std::string_view(widened);
}

bool holdsLoneCr(std::string_view text)
{
    for (std::size_t from = 0;;) {
        const std::size_t cr = text.find('\r', from);
        if (cr == std::string_view::npos)
            return false;
        if (cr + 1 == text.size() || text[cr + 1] != '\n')
            return true;
        from = cr + 2;
    }
}

std::string_view ContentPane::line(int number) const
{
    // Lines are the same whichever way they end.
    return textLine(m_text, number);
}

long long ContentPane::find(std::string_view needle) const
{
    // Positions are those of the CR LF text.
    return findInText(text(), needle);
}

void widenLineEnds(std::string &bytes)
{
    // Count the line ends that need one byte more: a lone LF or a lone CR.
    // The usual cookie file has LF only.
    char *const begin = bytes.data();
    const std::size_t size = bytes.size();
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
    bytes.resize(size + extra);
    char *const text = bytes.data();
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

namespace {

// The first CR or LF from `p` on, or `end`. Cookie files end their lines
// with LF alone: that is looked for first, many bytes a step, and then
// whether a CR comes before it.
const char *lineEnd(const char *p, const char *end)
{
    if (p == end)
        return end;
    const auto *lf = static_cast<const char *>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    const char *stop = lf ? lf : end;
    const auto *cr = static_cast<const char *>(std::memchr(p, '\r', static_cast<std::size_t>(stop - p)));
    return cr ? cr : stop;
}

} // namespace

std::string_view textLine(std::string_view text, int number)
{
    if (number < 1)
        return {};
    std::array<std::string_view, 1> line;
    // Lines before it are passed over as firstTextLines() passes them.
    const char *const begin = text.data();
    const char *const end = begin + text.size();
    const char *start = begin;
    for (int n = 1; n < number; ++n) {
        const char *stop = lineEnd(start, end);
        if (stop == end)
            return {};
        start = stop + (*stop == '\r' && stop + 1 != end && stop[1] == '\n' ? 2 : 1);
    }
    firstTextLines(std::string_view(start, static_cast<std::size_t>(end - start)), line);
    return line[0];
}

void firstTextLines(std::string_view text, std::span<std::string_view> lines)
{
    const char *const end = text.data() + text.size();
    const char *start = text.data();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const char *stop = lineEnd(start, end);
        lines[i] = {start, std::min(static_cast<std::size_t>(stop - start), ContentPane::kMaxLineLength)};
        if (stop == end) {
            // No line end: the lines after this one do not exist.
            for (++i; i < lines.size(); ++i)
                lines[i] = {};
            return;
        }
        start = stop + (*stop == '\r' && stop + 1 != end && stop[1] == '\n' ? 2 : 1);
    }
}

long long findInText(std::string_view text, std::string_view needle)
{
    return TextFinder(needle).find(text);
}

} // namespace listing
