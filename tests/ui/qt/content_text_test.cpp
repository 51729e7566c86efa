// The content pane's text as the text view takes it: from the bytes as read,
// whatever their line ends, and a paragraph at a time for a big text.

#include "listing/content_pane.h"
#include "platform/cp932.h"
#include "platform/qt/qt_text.h"
#include "ui/qt/content_text.h"

#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include <string>
#include <vector>

namespace {

std::string cp932(const char *utf8)
{
    return platform::cp932::fromUtf8(utf8);
}

std::string widened(std::string text)
{
    listing::widenLineEnds(text);
    return text;
}

} // namespace

class ContentTextTest : public QObject {
    Q_OBJECT

private slots:
    void conversion();
    void everyCharacterShowsAsTheConverterGivesIt();
    void bytesAsReadShowLikeTheirCrLfForm();
    void chunkBoundariesCutNothing();
    void bigTextRoundTripsThroughTheView();
};

void ContentTextTest::conversion()
{
    QCOMPARE(ui::qt::contentPaneText("a\r\nb\r\n\r\n"), QStringLiteral("a\nb\n\n"));
    QCOMPARE(ui::qt::contentPaneText(cp932("表示")), QStringLiteral("表示"));
    // A lone lead byte shows as U+FFFD and the rest stays.
    QCOMPARE(ui::qt::contentPaneText(std::string("x\x81") + "\r\ny"), QStringLiteral("x\uFFFD\ny"));
    // So does one before a byte that cannot trail it, which stays: a blank,
    // a comma, a byte that is no character.
    QCOMPARE(ui::qt::contentPaneText("\x9C lat\xE9,\x81\xFD"), QStringLiteral("\uFFFD lat\uFFFD,\uFFFD\uFFFD"));
    // Runs of ASCII and of other characters side by side: a half-width kana,
    // a lone CR, CR LF, a lead byte before a line end (it takes the CR of the
    // CR LF form and leaves the line end), and a lead byte that ends the text.
    QCOMPARE(ui::qt::contentPaneText(cp932("ｱa\r\n表") + "\r\r\n\x81\r" + "b\x81"),
             QStringLiteral("ｱa\n表\n\n\uFFFD\nb\uFFFD"));
    // Paragraphs of two lines: the lines within one end in LINE SEPARATOR.
    QCOMPARE(ui::qt::contentPaneText("a\nb\nc\nd\ne", 2), QStringLiteral("a\u2028b\nc\u2028d\ne"));
    QCOMPARE(ui::qt::contentPaneText("a\nb\n", 2), QStringLiteral("a\u2028b\n"));
    QCOMPARE(ui::qt::contentPaneText("", 2), QString());
}

void ContentTextTest::everyCharacterShowsAsTheConverterGivesIt()
{
    // Characters beyond ASCII are decoded through a table taken from the
    // converter once: every byte from 0x80 on, before every other byte and
    // at the end of the text, must show as the converter shows it.
    for (int first = 0x80; first <= 0xFF; ++first) {
        const std::string alone(1, static_cast<char>(first));
        QCOMPARE(ui::qt::contentPaneText("a" + alone), QLatin1Char('a') + platform::qt::toQString(alone));
        for (int second = 0x00; second <= 0xFF; ++second) {
            if (second == '\r' || second == '\n')
                continue;
            const std::string pair = alone + static_cast<char>(second) + "z";
            const QString shown = ui::qt::contentPaneText(pair);
            if (shown != platform::qt::toQString(pair))
                QFAIL(qPrintable(QStringLiteral("%1 %2 shows as %3")
                                     .arg(first, 2, 16)
                                     .arg(second, 2, 16)
                                     .arg(QString::number(shown.front().unicode(), 16))));
        }
    }
}

void ContentTextTest::bytesAsReadShowLikeTheirCrLfForm()
{
    // The window converts the pane's bytes as read; before, it converted
    // them with every line end made CR LF. Both must show the same.
    std::vector<std::string> texts = {"a\nb\nc",
                                      "a\rb\r\nc\n",
                                      "\n\r\r\n\nx\r",
                                      "\x81\nSESSIONID\n",
                                      "\x81\r\r\x81\r\n\x81\n\x81",
                                      "x\x81\r\ny\x81",
                                      cp932("表示\rソフト\n能力\r\n") + "\xE0\n\xFC\r" + cp932("ｱｲｳ\n\n\n"),
                                      std::string("a\0b\nc\r", 6),
                                      "\r",
                                      "",
                                      "0123456789abcdef\n0123456789abcdef0123456789\r\n01234567\r01234567\n"};
    // Lines of every length around the converter's steps of 16 bytes, every
    // kind of line end, some Japanese, some ending in a lead byte; line by
    // line they show as the converter shows each line.
    std::string generated;
    QString expected;
    for (int i = 0; i < 400; ++i) {
        std::string line(static_cast<std::size_t>(i % 41), static_cast<char>('a' + i % 26));
        if (i % 9 == 0)
            line.insert(line.size() / 2, cp932("表示"));
        if (i % 13 == 0)
            line += '\x81';
        generated += line + (i % 4 == 0 ? "\r\n" : i % 4 == 3 ? "\r" : "\n");
        expected += platform::qt::toQString(line) + QLatin1Char('\n');
    }
    QCOMPARE(ui::qt::contentPaneText(generated), expected);
    texts.push_back(generated);
    for (const std::string &text : texts)
        for (int lines : {1, 2, 3, 256})
            QVERIFY2(ui::qt::contentPaneText(text, lines) == ui::qt::contentPaneText(widened(text), lines),
                     qPrintable(QString::fromLatin1(QByteArray::fromStdString(text.substr(0, 64)).toHex()) + " " +
                                QString::number(lines)));
}

void ContentTextTest::chunkBoundariesCutNothing()
{
    // The text is converted some tens of KB at a time: a double-byte
    // character, a CR LF or a lead byte before a line end that straddles
    // such a boundary must come out whole, wherever it falls.
    const std::string table = cp932("表");
    for (std::size_t at = 65530; at < 65540; ++at) {
        for (const std::string &piece : {table, std::string("\r\n"), std::string("\x81\r\n")}) {
            std::string text(at, 'a');
            text += piece + "z";
            QString expected(static_cast<qsizetype>(at), QLatin1Char('a'));
            expected += piece == table    ? QStringLiteral("表")
                        : piece == "\r\n" ? QStringLiteral("\n")
                                          : QStringLiteral("\uFFFD\n");
            expected += QLatin1Char('z');
            QCOMPARE(ui::qt::contentPaneText(text), expected);
        }
    }
}

void ContentTextTest::bigTextRoundTripsThroughTheView()
{
    // Lines of every kind of line end and some CP932 characters, a line far
    // longer than a chunk, and a paragraph break at the very end: put in a
    // paragraph at a time, the view gives back exactly the whole text.
    std::string text;
    for (int i = 0; i < 3000; ++i) {
        text += "line " + std::to_string(i) + (i % 7 == 0 ? cp932(" 表示ソ") : std::string());
        text += i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r";
        if (i == 1000)
            text += std::string(200000, 'x') + "\n";
    }
    text += "last\n"; // an LF added after a lone CR would join it
    const auto lineEnds = static_cast<std::size_t>(ui::qt::contentPaneText(text).count(QLatin1Char('\n')));
    text.append((256 - lineEnds % 256) % 256, '\n');
    const QString whole = ui::qt::contentPaneText(text);

    QPlainTextEdit view;
    view.setReadOnly(true);
    ui::qt::showContentText(view, text, 256);
    QCOMPARE(view.toPlainText(), whole);
    QCOMPARE(view.document()->blockCount(), int(whole.count(QLatin1Char('\n'))) / 256 + 1);
    QVERIFY(view.document()->lastBlock().text().isEmpty());
    QCOMPARE(view.textCursor().position(), 0);
    QVERIFY(!view.document()->isModified());

    // The same formats as the text put in at once.
    QPlainTextEdit reference;
    reference.setReadOnly(true);
    reference.setPlainText(ui::qt::contentPaneText(text, 256));
    QCOMPARE(view.document()->toRawText(), reference.document()->toRawText());
    for (QTextBlock block = view.document()->begin(), other = reference.document()->begin(); block.isValid();
         block = block.next(), other = other.next()) {
        QVERIFY(other.isValid());
        QCOMPARE(block.blockFormat(), other.blockFormat());
        QCOMPARE(block.charFormat(), other.charFormat());
        // An empty block has no fragment: its begin() is already its end,
        // and fragment() there reads past the document's fragment map.
        QCOMPARE(block.begin().atEnd(), other.begin().atEnd());
        if (!block.begin().atEnd())
            QCOMPARE(block.begin().fragment().charFormat(), other.begin().fragment().charFormat());
    }

    // A text of one paragraph, and an empty one.
    ui::qt::showContentText(view, "one\ntwo", 256);
    QCOMPARE(view.toPlainText(), QStringLiteral("one\ntwo"));
    ui::qt::showContentText(view, "", 256);
    QCOMPARE(view.toPlainText(), QString());
}

QTEST_MAIN(ContentTextTest)
#include "content_text_test.moc"
