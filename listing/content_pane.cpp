#include "content_pane.h"

#include "platform/cp932.h"

#include <array>
#include <cstring>

namespace listing {

void ContentPane::clear()
{
    if (m_text.capacity() > kLargeBuffer)
        std::string().swap(m_text);
    else
        m_text.clear();
    m_widened = true;
    ++m_revision;
}

void ContentPane::setText(std::string_view bytes)
{
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
        const std::size_t before = m_text.size();
        widenLineEnds(m_text);
        m_widened = true;
        if (m_text.size() != before)
            ++m_revision; // places taken in the bytes as read have moved
    }
    return m_text;
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
    const auto *lf = static_cast<const char *>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    const char *stop = lf ? lf : end;
    const auto *cr = static_cast<const char *>(std::memchr(p, '\r', static_cast<std::size_t>(stop - p)));
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
    using platform::cp932::charLength;
    using platform::cp932::isLeadByte;
    const auto leadAt = [](std::string_view bytes, std::size_t pos) {
        return isLeadByte(static_cast<unsigned char>(bytes[pos]));
    };
    // Whether a match that starts a character also ends on one is the
    // search text's own affair: from a character start the text's bytes are
    // the search text's, stepped the same way, but for a last byte that is a
    // lead byte of its own, which in the text takes the byte after it.
    std::size_t needleEnd = 0;
    while (needleEnd + 1 < needle.size())
        needleEnd += charLength(needle, needleEnd);
    const bool endsInHalf = needleEnd + 1 == needle.size() && leadAt(needle, needleEnd);

    // The matches come in order, and character starts are found in the same
    // pass forward: `known` is a character start at or before every match
    // still to come. A byte that is no lead byte ends a character; after
    // the last one before a match (or from `known`, if that comes later)
    // lead bytes pair off, so the match starts a character exactly when an
    // even number of them precede it. Each byte is looked at once at most,
    // however many matches there are: a text of lead bytes full of matches
    // that start on trail bytes costs no more than a plain search of it.
    std::size_t known = 0;
    for (std::size_t pos = text.find(needle); pos != std::string_view::npos; pos = text.find(needle, pos + 1)) {
        std::size_t start = pos;
        while (start > known && leadAt(text, start - 1))
            --start;
        if ((pos - start) % 2 != 0) {
            // The match starts on the trail byte of the character at pos - 1,
            // so the next character starts right after it.
            known = pos + 1;
            continue;
        }
        known = pos;
        if (!endsInHalf || pos + needle.size() == text.size())
            return static_cast<long long>(pos);
    }
    return -1;
}

} // namespace listing
