#pragma once

#include <QString>

#include <cstddef>
#include <string_view>

class QPlainTextEdit;

namespace ui::qt {

// The content pane's CP932 text as the text view takes it, a paragraph at a
// time. LF, CR and CR LF each end a line, so the pane's bytes as read and
// the same bytes with every line end widened to CR LF read the same. Each
// paragraph holds `linesPerParagraph` lines, the line ends within it turned
// into QChar::LineSeparator (which the view shows as a line break and gives
// back as "\n"); with 1, every line is a paragraph of its own.
//
// A text of n paragraph breaks gives n + 1 paragraphs, the last one empty
// when the text ends on a break: joined with "\n" they are the whole text.
// Bytes that do not decode show as U+FFFD, one per character that they
// would have been; a lead byte before a line end is such a character and
// leaves the line end whole.
class ContentTextReader {
public:
    ContentTextReader(std::string_view cp932, int linesPerParagraph);

    // Puts the next paragraph into `paragraph`, keeping its buffer for the
    // next call; false once every paragraph has been given.
    bool next(QString &paragraph);

private:
    enum class Stop { Limit, ParagraphEnd };
    // Convert from m_pos up to `limit` (a character may end one byte past
    // it) into `paragraph` after its first `used` units, moving both on.
    Stop convert(std::size_t limit, QString &paragraph, qsizetype &used);
    void convertRun(std::size_t limit, QString &paragraph, qsizetype &used);
    // ASCII from m_pos on, LF line ends included, up to a CR, a byte beyond
    // ASCII or the limit; true when an LF has ended the paragraph. May write
    // up to 16 units past what it gives, never for bytes past the limit.
    bool convertAscii(std::size_t limit, QChar *&out);
    // Counts a line end: true when it ends the paragraph.
    bool paragraphEnds();

    std::string_view m_bytes;
    std::size_t m_pos = 0;
    int m_linesPerParagraph;
    int m_linesInParagraph = 0;
    bool m_done = false;
};

// The whole text at once: the paragraphs of ContentTextReader joined by "\n".
QString contentPaneText(std::string_view cp932, int linesPerParagraph = 1);

// Shows the text in `view`, as setPlainText(contentPaneText(cp932,
// linesPerParagraph)) would, without ever holding the whole text as one
// QString beside the view's document.
void showContentText(QPlainTextEdit &view, std::string_view cp932, int linesPerParagraph);

} // namespace ui::qt
