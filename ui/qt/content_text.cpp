#include "content_text.h"

#include "platform/cp932.h"
#include "platform/qt/qt_text.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <array>
#include <bit>
#include <stdexcept>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ui::qt {
namespace {

// Bytes converted between two checks of the paragraph's room: a paragraph
// of 256 cookie lines fits in one, and the buffer stays in the cache.
constexpr std::size_t kChunk = std::size_t(64) << 10;

// What each character beyond ASCII shows as, taken once from the converter
// so that a run of them needs no call to it: every byte from 0x80 on by
// itself, and every lead byte with every byte that can trail it. CP932 keeps
// no state between characters and the converter gives one U+FFFD for each
// character that does not decode (a lead byte before a byte that cannot
// trail it is a character of its own), so a run comes out as its characters
// one by one.
// Every character of CP932 is one UTF-16 unit; a converter that gave other
// would make the table fail rather than the text come out wrong.
class Cp932Table {
public:
    Cp932Table()
    {
        using platform::cp932::isLeadByte;
        using platform::cp932::isTrailByte;
        std::string bytes;
        for (unsigned byte = 0x80; byte <= 0xFF; ++byte) {
            const QString single = platform::qt::toQString(std::string(1, static_cast<char>(byte)));
            if (single.size() != 1)
                throw std::runtime_error("CP932 byte that is not one UTF-16 unit");
            m_single[byte - 0x80] = single.front();
            if (!isLeadByte(static_cast<unsigned char>(byte)))
                continue;
            // A lead byte with each byte that can trail it, in one call.
            bytes.clear();
            for (unsigned trail = 0; trail <= 0xFF; ++trail) {
                if (!isTrailByte(static_cast<unsigned char>(trail)))
                    continue;
                bytes += static_cast<char>(byte);
                bytes += static_cast<char>(trail);
            }
            const QString pairs = platform::qt::toQString(bytes);
            if (pairs.size() * 2 != static_cast<qsizetype>(bytes.size()))
                throw std::runtime_error("CP932 character that is not one UTF-16 unit");
            for (qsizetype i = 0; i < pairs.size(); ++i) {
                const auto trail = static_cast<unsigned char>(bytes[static_cast<std::size_t>(2 * i + 1)]);
                m_pair[(byte - 0x80) * 256 + trail] = pairs[i];
            }
        }
    }

    QChar single(unsigned char byte) const { return m_single[byte - 0x80u]; }
    QChar pair(unsigned char lead, unsigned char trail) const { return m_pair[(lead - 0x80u) * 256 + trail]; }

private:
    std::array<QChar, 128> m_single{};
    std::array<QChar, 128 * 256> m_pair{};
};

const Cp932Table &cp932Table()
{
    static const Cp932Table table;
    return table;
}

} // namespace

ContentTextReader::ContentTextReader(std::string_view cp932, int linesPerParagraph)
    : m_bytes(cp932), m_linesPerParagraph(std::max(linesPerParagraph, 1))
{}

bool ContentTextReader::next(QString &paragraph)
{
    if (m_done)
        return false;
    qsizetype used = 0;
    for (;;) {
        // Room for one unit for every byte up to the limit (no character
        // gives more), for one that ends a byte past it, and for the
        // widening's 16 units at a time.
        const std::size_t limit = std::min(m_bytes.size(), m_pos + kChunk);
        const qsizetype room = used + static_cast<qsizetype>(limit - m_pos) + 16;
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
    Stop stop = Stop::Limit;
    while (m_pos < limit) {
        if (convertAscii(limit, out)) {
            stop = Stop::ParagraphEnd;
            break;
        }
        if (m_pos >= limit)
            break;
        if (static_cast<unsigned char>(bytes[m_pos]) >= 0x80) {
            used = out - paragraph.data();
            convertRun(limit, paragraph, used);
            out = paragraph.data() + used;
            continue;
        }
        // A CR: with the LF after it, or alone, one line end.
        m_pos += m_pos + 1 < m_bytes.size() && bytes[m_pos + 1] == '\n' ? 2 : 1;
        if (paragraphEnds()) {
            stop = Stop::ParagraphEnd;
            break;
        }
        *out++ = QChar::LineSeparator;
    }
    used = out - paragraph.data();
    return stop;
}

bool ContentTextReader::convertAscii(std::size_t limit, QChar *&out)
{
    const char *const bytes = m_bytes.data();
#if defined(__SSE2__)
    // Sixteen bytes at a time, widened whole; a CR or a byte beyond ASCII
    // ends the plain part, and the LFs before it are line ends, turned into
    // LINE SEPARATOR where they lie. Most cookie lines are shorter than 16
    // bytes, so several can end in one step.
    const __m128i zero = _mm_setzero_si128();
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    while (m_pos + 16 <= limit) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + m_pos));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out), _mm_unpacklo_epi8(chunk, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + 8), _mm_unpackhi_epi8(chunk, zero));
        const auto stops = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(chunk, _mm_cmpeq_epi8(chunk, cr))));
        const unsigned plain = stops == 0 ? 16u : static_cast<unsigned>(std::countr_zero(stops));
        unsigned lineEnds = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, lf))) & ((1u << plain) - 1u);
        for (; lineEnds != 0; lineEnds &= lineEnds - 1) {
            const auto at = static_cast<unsigned>(std::countr_zero(lineEnds));
            if (paragraphEnds()) {
                out += at;
                m_pos += at + 1;
                return true;
            }
            out[at] = QChar::LineSeparator;
        }
        out += plain;
        m_pos += plain;
        if (plain < 16)
            return false;
    }
#endif
    for (; m_pos < limit; ++m_pos) {
        const auto byte = static_cast<unsigned char>(bytes[m_pos]);
        if (byte >= 0x80 || byte == '\r')
            return false;
        if (byte != '\n') {
            *out++ = QChar(byte);
        } else if (paragraphEnds()) {
            ++m_pos;
            return true;
        } else {
            *out++ = QChar::LineSeparator;
        }
    }
    return false;
}

bool ContentTextReader::paragraphEnds()
{
    if (++m_linesInParagraph < m_linesPerParagraph)
        return false;
    m_linesInParagraph = 0;
    return true;
}

void ContentTextReader::convertRun(std::size_t limit, QString &paragraph, qsizetype &used)
{
    using platform::cp932::nameCharLength;
    const Cp932Table &table = cp932Table();
    QChar *out = paragraph.data() + used;
    while (m_pos < limit && static_cast<unsigned char>(m_bytes[m_pos]) >= 0x80) {
        const auto byte = static_cast<unsigned char>(m_bytes[m_pos]);
        // A lead byte before a byte that cannot trail it (a blank, a line
        // end) does not decode by itself, and that byte stays what it is.
        if (nameCharLength(m_bytes, m_pos) == 1) {
            *out++ = table.single(byte);
            ++m_pos;
            continue;
        }
        *out++ = table.pair(byte, static_cast<unsigned char>(m_bytes[m_pos + 1]));
        m_pos += 2;
    }
    used = out - paragraph.data();
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
    // Unmodified, as setPlainText() leaves a document.
    view.document()->setModified(false);
}

} // namespace ui::qt
