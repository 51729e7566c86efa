#include "content_pane.h"

#include "platform/cp932.h"
#include "platform/find_byte.h"
#include "text_finder.h"

#include <array>
#include <cstring>

namespace listing {

namespace {

// The bytes that widening `text` adds: one for each lone LF and lone CR. The
// usual cookie file has LF only.
std::size_t widenedExtra(std::string_view text)
{
    const char *const begin = text.data();
    const std::size_t size = text.size();
    std::size_t extra = 0;
    if (!platform::findByte(begin, begin + size, '\r')) {
        for (const char *p = begin, *end = begin + size; (p = platform::findByte(p, end, '\n')); ++p)
            ++extra;
        return extra;
    }
    for (std::size_t i = 0; i < size; ++i) {
        if (begin[i] == '\n' && (i == 0 || begin[i - 1] != '\r'))
            ++extra;
        else if (begin[i] == '\r' && (i + 1 == size || begin[i + 1] != '\n'))
            ++extra;
    }
    return extra;
}

} // namespace

void ContentPane::clear()
{
    if (m_text.capacity() > kLargeBuffer)
        std::string().swap(m_text);
    else
        m_text.clear();
    std::string().swap(m_asRead);
    m_widened = true;
    ++m_revision;
}

void ContentPane::setText(std::string_view bytes)
{
    std::string().swap(m_asRead);
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
        m_widened = true;
        if (holdsLoneCr(m_text)) {
            // The records read the bytes as read, where a CR alone ends no
            // line: they stay where they lie, and the widened text is built
            // beside them (a file with a lone CR is rare and crafted, no
            // browser writes one). The records' places have not moved.
            std::string widened;
            widened.reserve(m_text.size() + widenedExtra(m_text));
            bool lastWasCr = false;
            appendWidened(m_text, lastWasCr, widened);
            m_asRead.swap(m_text);
            m_text.swap(widened);
            return m_text;
        }
        const std::size_t before = m_text.size();
        widenLineEnds(m_text);
        if (m_text.size() != before)
            ++m_revision; // places taken in the bytes as read have moved
    }
    return m_text;
}

std::string_view ContentPane::recordText() const
{
    // Widening LF to CR LF leaves the lines that end at LF and CR LF as they
    // were: only a lone CR needs the bytes as read.
    return m_asRead.empty() ? std::string_view(m_text) : std::string_view(m_asRead);
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
    const std::size_t size = bytes.size();
    const bool hasCr = platform::findByte(bytes.data(), bytes.data() + size, '\r') != nullptr;
    const std::size_t extra = widenedExtra(bytes);
    if (extra == 0)
        return;

    if (bytes.capacity() < size + extra) {
        // Not resize(): growing would double the room, twice the text.
        std::string widened;
        widened.reserve(size + extra);
        bool lastWasCr = false;
        appendWidened(bytes, lastWasCr, widened);
        bytes.swap(widened);
        return;
    }

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
    const char *lf = platform::findByte(p, end, '\n');
    const char *stop = lf ? lf : end;
    const char *cr = platform::findByte(p, stop, '\r');
    return cr ? cr : stop;
}

} // namespace

void appendWidened(std::string_view piece, bool &lastWasCr, std::string &out)
{
    const char *p = piece.data();
    const char *const end = p + piece.size();
    if (p == end)
        return;
    if (lastWasCr && *p == '\n')
        ++p; // the LF of a CR LF whose CR ended the last piece
    lastWasCr = false;
    while (p != end) {
        const char *stop = lineEnd(p, end);
        out.append(p, stop);
        if (stop == end)
            return;
        out += "\r\n";
        if (*stop == '\r') {
            if (stop + 1 == end) {
                lastWasCr = true;
                return;
            }
            if (stop[1] == '\n')
                ++stop;
        }
        p = stop + 1;
    }
}

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
