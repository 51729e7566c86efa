#include "content_text.h"

#include "platform/cp932.h"
#include "platform/qt/qt_text.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace ui {
namespace {

// Bytes converted between two checks of the paragraph's room: a paragraph
// of 256 cookie lines fits in one, and the buffer stays in the cache.
constexpr std::size_t kChunk = std::size_t(64) << 10;

bool isPlain(unsigned char byte)
{
    return byte < 0x80 && byte != '\n' && byte != '\r';
}

// Widens the plain bytes (ASCII other than CR and LF) at the start of
// [from, from + length) into `out` and returns how many there were: eight at
// a time while a whole word is plain, which is most of a cookie file.
std::size_t widenPlainAscii(const char *from, std::size_t length, QChar *&out)
{
    std::size_t n = 0;
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kOnes = 0x0101010101010101u;
        constexpr std::uint64_t kHighs = 0x8080808080808080u;
        // The lowest byte flagged is always a real zero byte: a false flag
        // needs a borrow from a zero byte below it.
        const auto zeroBytes = [](std::uint64_t x) { return (x - kOnes) & ~x & kHighs; };
        for (; n + sizeof(std::uint64_t) <= length; n += sizeof(std::uint64_t)) {
            std::uint64_t word;
            std::memcpy(&word, from + n, sizeof word);
            const std::uint64_t special =
                (word & kHighs) | zeroBytes(word ^ (kOnes * '\n')) | zeroBytes(word ^ (kOnes * '\r'));
            const std::size_t plain = special == 0 ? sizeof word : std::countr_zero(special) / 8u;
            for (std::size_t i = 0; i < plain; ++i)
                out[i] = QChar(static_cast<unsigned char>(from[n + i]));
            out += plain;
            if (special != 0)
                return n + plain;
        }
    }
    for (; n < length && isPlain(static_cast<unsigned char>(from[n])); ++n)
        *out++ = QChar(static_cast<unsigned char>(from[n]));
    return n;
}

} // namespace

ContentTextReader::ContentTextReader(std::string_view cp932, int linesPerParagraph)
    : m_bytes(cp932), m_linesPerParagraph(std::max(linesPerParagraph, 1))
{
}

bool ContentTextReader::next(QString &paragraph)
{
    if (m_done)
        return false;
    qsizetype used = 0;
    for (;;) {
        // Room for one unit for every byte up to the limit (no character
        // gives more), and for one that ends a byte past it.
        const std::size_t limit = std::min(m_bytes.size(), m_pos + kChunk);
        const qsizetype room = used + static_cast<qsizetype>(limit - m_pos) + 2;
        if (paragraph.size() < room)
            paragraph.resize(room);
        if (convert(limit, paragraph, used) == Stop::ParagraphEnd)
            break;
        if (m_pos >= m_bytes.size()) {
            m_done = true;
            break;
        }
    }
    paragraph.truncate(used);
    return true;
}

ContentTextReader::Stop ContentTextReader::convert(std::size_t limit, QString &paragraph, qsizetype &used)
{
    const char *const bytes = m_bytes.data();
    QChar *out = paragraph.data() + used;
    while (m_pos < limit) {
        m_pos += widenPlainAscii(bytes + m_pos, limit - m_pos, out);
        if (m_pos >= limit)
            break;
        const auto byte = static_cast<unsigned char>(bytes[m_pos]);
        if (byte >= 0x80) {
            used = out - paragraph.data();
            convertRun(limit, paragraph, used);
            out = paragraph.data() + used;
            continue;
        }
        // A line end: CR LF, or a lone CR or LF.
        m_pos += byte == '\r' && m_pos + 1 < m_bytes.size() && bytes[m_pos + 1] == '\n' ? 2 : 1;
        if (++m_linesInParagraph < m_linesPerParagraph) {
            *out++ = QChar::LineSeparator;
            continue;
        }
        m_linesInParagraph = 0;
        used = out - paragraph.data();
        return Stop::ParagraphEnd;
    }
    used = out - paragraph.data();
    return Stop::Limit;
}

void ContentTextReader::convertRun(std::size_t limit, QString &paragraph, qsizetype &used)
{
    // A run of characters beyond ASCII goes through the converter whole.
    // CP932 keeps no state between characters and the run ends on a
    // character boundary, so the result is that of converting all the text.
    using platform::cp932::charLength;
    const std::size_t start = m_pos;
    bool leadBeforeLineEnd = false;
    while (m_pos < limit && static_cast<unsigned char>(m_bytes[m_pos]) >= 0x80) {
        const std::size_t length = charLength(m_bytes, m_pos);
        if (length == 2 && (m_bytes[m_pos + 1] == '\r' || m_bytes[m_pos + 1] == '\n')) {
            leadBeforeLineEnd = true;
            break;
        }
        m_pos += length;
    }
    if (m_pos > start) {
        const QString run = platform::qt::toQString(m_bytes.substr(start, m_pos - start));
        // Never more units than bytes; should a converter give more, the
        // room grows rather than being overrun.
        const qsizetype room = used + run.size() + static_cast<qsizetype>(limit - std::min(limit, m_pos)) + 2;
        if (paragraph.size() < room)
            paragraph.resize(room);
        std::copy(run.cbegin(), run.cend(), paragraph.data() + used);
        used += run.size();
    }
    if (leadBeforeLineEnd) {
        // In the CR LF text this lead byte takes the CR for its trail byte,
        // which no character of CP932 has, and the LF still ends the line:
        // one character that does not decode, then the line end, whichever
        // kind it is here.
        paragraph[used++] = QChar::ReplacementCharacter;
        ++m_pos;
    }
}

QString contentPaneText(std::string_view cp932, int linesPerParagraph)
{
    QString text;
    text.reserve(static_cast<qsizetype>(cp932.size()));
    ContentTextReader reader(cp932, linesPerParagraph);
    QString paragraph;
    for (bool first = true; reader.next(paragraph); first = false) {
        if (!first)
            text += QLatin1Char('\n');
        text += paragraph;
    }
    return text;
}

void showContentText(QPlainTextEdit &view, std::string_view cp932, int linesPerParagraph)
{
    ContentTextReader reader(cp932, linesPerParagraph);
    QString paragraph;
    reader.next(paragraph);
    // The first paragraph goes in as any text does, with what setPlainText()
    // does besides (the character format, the cursor at the start, the
    // signals); the others follow in one edit, each a block in the first
    // one's formats, converted one at a time into the same buffer.
    view.setPlainText(paragraph);
    QTextCursor cursor(view.document());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    while (reader.next(paragraph)) {
        cursor.insertBlock();
        if (!paragraph.isEmpty())
            cursor.insertText(paragraph);
    }
    cursor.endEditBlock();
}

} // namespace ui
