// The content pane's own text view: the rows it draws from the pane's bytes,
// its keys and mouse, its copy, and that it never reads a text that the pane
// has since replaced.

#include "listing/content_pane.h"
#include "platform/cp932.h"
#include "ui/qt/accessibility.h"
#include "ui/qt/text_view.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <utility>

namespace {

std::string cp932(const char *utf8)
{
    return platform::cp932::fromUtf8(utf8);
}

// A pane holding `bytes` as read (its line ends kept), shown in `view`.
void show(ui::qt::TextView &view, listing::ContentPane &pane, std::string_view bytes)
{
    std::string &buffer = pane.beginLoad();
    buffer.assign(bytes);
    pane.endLoad();
    view.showPane(pane);
}

// Rows from the top of the view, as drawn.
QStringList rows(const ui::qt::TextView &view, int count)
{
    QStringList shown;
    for (int row = 0; row < count; ++row)
        shown << view.rowText(row);
    return shown;
}

} // namespace

class TextViewTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void rowsOfEveryLineEnd();
    void longLinesWrapAtTheWidth();
    void keysMoveAndSelect();
    void copyGivesTheSelectionWithNewlines();
    void contextMenuCopiesAndSelectsAll();
    void windowKeysPassThrough();
    void staleTextIsNeverRead();
    void mouseSelects();
    void dragHeldBelowTheViewScrollsUntilReleased();
    void scrollBarCountsLines();
    void bigTextIsMeasuredOnlyInView();
    void screenReadersReadTheText();
    void screenReadersGetTheRowsInViewOfABigText();

private:
    ui::qt::TextView *m_view = nullptr;
    listing::ContentPane m_pane;
    std::unique_ptr<ui::qt::TextView> m_owned;
};

void TextViewTest::initTestCase()
{
    ui::qt::installAccessibility();
}

void TextViewTest::init()
{
    m_owned = std::make_unique<ui::qt::TextView>();
    m_view = m_owned.get();
    m_view->resize(600, 300);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
    m_view->setFocus();
    m_pane.clear();
}

void TextViewTest::rowsOfEveryLineEnd()
{
    // LF, CR and CR LF each end a line; a lead byte before a line end is a
    // character of its own, shown as U+FFFD, and leaves the line end whole.
    show(*m_view, m_pane, cp932("表示\r\nb\rc\n") + "x\x81\r\n\x81\xFD" + "\r\n");
    QCOMPARE(rows(*m_view, 6), (QStringList{QStringLiteral("表示"), QStringLiteral("b"), QStringLiteral("c"),
                                           QStringLiteral("x\uFFFD"), QStringLiteral("\uFFFD\uFFFD"), QString()}));
    QCOMPARE(m_view->toPlainText(), QStringLiteral("表示\nb\nc\nx\uFFFD\n\uFFFD\uFFFD\n"));
    QCOMPARE(m_view->layout().lines().lineCount(), std::size_t(6));

    // Painting draws those rows without a fault, and an empty text none.
    QVERIFY(!m_view->grab().isNull());
    show(*m_view, m_pane, "");
    QCOMPARE(m_view->toPlainText(), QString());
    QCOMPARE(m_view->rowText(0), QString());
    QVERIFY(!m_view->grab().isNull());
}

void TextViewTest::longLinesWrapAtTheWidth()
{
    // A line wider than the view wraps at its last blank that fits: every
    // character is drawn once, on rows no wider than the view.
    std::string line;
    for (int word = 0; word < 60; ++word)
        line += "word" + std::to_string(word) + " ";
    show(*m_view, m_pane, line + "\nnext");
    const std::vector<ui::text::Row> wrapped = m_view->layout().rowsOf(0);
    QVERIFY(wrapped.size() > 2);
    QString joined;
    for (int row = 0; row < static_cast<int>(wrapped.size()); ++row) {
        const QString text = m_view->rowText(row);
        QVERIFY2(m_view->fontMetrics().horizontalAdvance(text.trimmed()) <= m_view->viewport()->width(),
                 qPrintable(text));
        joined += text;
    }
    QCOMPARE(joined, QString::fromStdString(line));
    QCOMPARE(m_view->rowText(static_cast<int>(wrapped.size())), QStringLiteral("next"));

    // Narrower, more rows; the text is the same.
    const std::size_t before = wrapped.size();
    m_view->resize(m_view->width() / 2, m_view->height());
    QVERIFY(m_view->layout().rowsOf(0).size() > before);
    QCOMPARE(m_view->toPlainText(), QString::fromStdString(line + "\nnext"));
}

void TextViewTest::keysMoveAndSelect()
{
    show(*m_view, m_pane, cp932("one two\r\n表示 three\nlast"));
    QSignalSpy moved(m_view, &ui::qt::TextView::selectionChanged);

    QTest::keyClick(m_view, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(m_view, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(m_view->selectedText(), QStringLiteral("on"));
    QCOMPARE(moved.count(), 2);
    QTest::keyClick(m_view, Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(m_view->selectedText(), QStringLiteral("o"));
    // An arrow without Shift ends the selection at that side of it.
    QTest::keyClick(m_view, Qt::Key_Right);
    QCOMPARE(m_view->selectedText(), QString());
    QCOMPARE(m_view->layout().caret(), std::size_t(1));

    // Shift+End to the end of the row, Shift+Down across a CR LF.
    QTest::keyClick(m_view, Qt::Key_Home);
    QTest::keyClick(m_view, Qt::Key_End, Qt::ShiftModifier);
    QCOMPARE(m_view->selectedText(), QStringLiteral("one two"));
    QTest::keyClick(m_view, Qt::Key_Home);
    QTest::keyClick(m_view, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(m_view->selectedText(), QStringLiteral("one two\n"));

    // Ctrl+Right by words, a double-byte word among them.
    QTest::keyClick(m_view, Qt::Key_Right);
    QTest::keyClick(m_view, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(m_view->selectedText().startsWith(QStringLiteral("表示")));

    // Ctrl+Shift+End to the end of the text, Ctrl+Home back with nothing
    // selected.
    QTest::keyClick(m_view, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(m_view, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(m_view->selectedText(), m_view->toPlainText());
    QTest::keyClick(m_view, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(m_view->selectedText(), QString());
    QCOMPARE(m_view->layout().caret(), std::size_t(0));

    // Page Down with Shift goes to the last line of so short a text.
    QTest::keyClick(m_view, Qt::Key_PageDown, Qt::ShiftModifier);
    QVERIFY(m_view->selectedText().startsWith(QStringLiteral("one two\n")));
    QVERIFY(m_view->layout().lines().lineOf(m_view->layout().caret()) >= 1);

    // Ctrl+A selects the whole text.
    QTest::keyClick(m_view, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(m_view->selectedText(), QStringLiteral("one two\n表示 three\nlast"));
}

void TextViewTest::copyGivesTheSelectionWithNewlines()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    show(*m_view, m_pane, cp932("a\r\nb\rc\n名前=値"));

    // Nothing selected: the clipboard keeps what it had.
    clipboard->setText(QStringLiteral("before"));
    QTest::keyClick(m_view, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), QStringLiteral("before"));

    QTest::keyClick(m_view, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(m_view, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), QStringLiteral("a\nb\nc\n名前=値"));

    // Ctrl+Insert copies too; a part that ends on a line end keeps it.
    clipboard->setText(QStringLiteral("before"));
    QTest::keyClick(m_view, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(m_view, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(m_view, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(m_view, Qt::Key_Insert, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), QStringLiteral("a\nb\n"));
}

void TextViewTest::contextMenuCopiesAndSelectsAll()
{
    // The menu of a right click or the menu key: Copy, only with something
    // selected, and Select All; each does what its key does.
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("before"));
    show(*m_view, m_pane, cp932("a\r\n名前"));
    const auto withMenu = [this](const std::function<void(QMenu &, QAction &copy, QAction &all)> &use) {
        bool opened = false;
        auto *poll = new QTimer(this);
        connect(poll, &QTimer::timeout, this, [poll, &opened, &use] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (!menu)
                return;
            poll->stop();
            poll->deleteLater();
            opened = true;
            const QList<QAction *> actions = menu->actions();
            QCOMPARE(actions.size(), 3);
            QVERIFY(actions[1]->isSeparator());
            use(*menu, *actions[0], *actions[2]);
        });
        poll->start(20);
        const QPoint at(10, 10);
        QContextMenuEvent event(QContextMenuEvent::Keyboard, at, m_view->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(m_view->viewport(), &event);
        QVERIFY(opened);
    };
    withMenu([](QMenu &menu, QAction &copy, QAction &all) {
        QVERIFY(!copy.isEnabled());
        QVERIFY(all.isEnabled());
        menu.close();
        all.trigger();
    });
    QCOMPARE(m_view->selectedText(), QStringLiteral("a\n名前"));
    QCOMPARE(clipboard->text(), QStringLiteral("before"));
    withMenu([](QMenu &menu, QAction &copy, QAction &) {
        QVERIFY(copy.isEnabled());
        menu.close();
        copy.trigger();
    });
    QCOMPARE(clipboard->text(), QStringLiteral("a\n名前"));

    // With no text, neither.
    m_view->clear();
    withMenu([](QMenu &menu, QAction &copy, QAction &all) {
        QVERIFY(!copy.isEnabled());
        QVERIFY(!all.isEnabled());
        menu.close();
    });
}

void TextViewTest::windowKeysPassThrough()
{
    show(*m_view, m_pane, "text");
    // Esc and Enter are the window's; Ctrl+Shift+A is not Ctrl+A.
    for (const auto &[key, modifiers] : {std::pair{Qt::Key_Escape, Qt::KeyboardModifiers()},
                                         std::pair{Qt::Key_Return, Qt::KeyboardModifiers()},
                                         std::pair{Qt::Key_A, Qt::KeyboardModifiers(Qt::ControlModifier | Qt::ShiftModifier)},
                                         std::pair{Qt::Key_X, Qt::KeyboardModifiers(Qt::ControlModifier)}}) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(m_view, &press);
        QVERIFY2(!press.isAccepted(), qPrintable(QString::number(key)));
    }
    QCOMPARE(m_view->selectedText(), QString());

    // The view's own keys win over the window's shortcuts while it has the
    // focus.
    QKeyEvent selectAll(QEvent::ShortcutOverride, Qt::Key_A, Qt::ControlModifier);
    QCoreApplication::sendEvent(m_view, &selectAll);
    QVERIFY(selectAll.isAccepted());
    QKeyEvent escape(QEvent::ShortcutOverride, Qt::Key_Escape, Qt::NoModifier);
    escape.ignore();
    QCoreApplication::sendEvent(m_view, &escape);
    QVERIFY(!escape.isAccepted());

    // Tab moves the focus on.
    QWidget holder;
    auto *first = new ui::qt::TextView(&holder);
    auto *second = new QWidget(&holder);
    second->setFocusPolicy(Qt::StrongFocus);
    holder.show();
    holder.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&holder));
    first->setFocus();
    QVERIFY(first->hasFocus());
    QTest::keyClick(first, Qt::Key_Tab);
    QVERIFY(second->hasFocus());
}

void TextViewTest::staleTextIsNeverRead()
{
    show(*m_view, m_pane, "first line\nsecond line");
    QTest::keyClick(m_view, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(m_view->selectedText(), QStringLiteral("first line\nsecond line"));

    // Widening the pane's line ends moves its bytes: the view shows nothing
    // more, and neither a key, a paint nor a copy reads the old place.
    QVERIFY(!m_pane.text().empty());
    QCOMPARE(m_view->text(), std::string_view());
    QCOMPARE(m_view->toPlainText(), QString());
    QCOMPARE(m_view->selectedText(), QString());
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    QTest::keyClick(m_view, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(m_view, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
    QCOMPARE(m_view->layout().lines().text().size(), std::size_t(0));
    QVERIFY(!m_view->grab().isNull());

    // A new text replaces it, and shown again it reads.
    m_pane.setText("other");
    QCOMPARE(m_view->toPlainText(), QString());
    m_view->showPane(m_pane);
    QCOMPARE(m_view->toPlainText(), QStringLiteral("other"));
    m_pane.clear();
    QCOMPARE(m_view->toPlainText(), QString());
}

void TextViewTest::mouseSelects()
{
    show(*m_view, m_pane, "alpha beta\ngamma\ndelta");
    const int row = m_view->rowHeight();
    auto *viewport = m_view->viewport();

    // A press puts the caret on the row under it, at its start.
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(1, row + row / 2));
    QCOMPARE(m_view->layout().caret(), std::size_t(11));
    // Shift+press reaches to the third row.
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, QPoint(1, 2 * row + row / 2));
    QCOMPARE(m_view->selectedText(), QStringLiteral("gamma\n"));

    // A drag from the first row's start to the second's.
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(1, row / 2));
    QMouseEvent move(QEvent::MouseMove, QPointF(1, row + row / 2), viewport->mapToGlobal(QPointF(1, row + row / 2)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &move);
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(1, row + row / 2));
    QCOMPARE(m_view->selectedText(), QStringLiteral("alpha beta\n"));

    // A double click selects the word.
    QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(3, row / 2));
    QCOMPARE(m_view->selectedText(), QStringLiteral("alpha"));
}

void TextViewTest::dragHeldBelowTheViewScrollsUntilReleased()
{
    std::string text;
    for (int line = 0; line < 1000; ++line)
        text += "line " + std::to_string(line) + "\n";
    show(*m_view, m_pane, text);
    auto *viewport = m_view->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(1, 2));
    const QPointF below(1, viewport->height() + 20);
    QMouseEvent move(QEvent::MouseMove, below, viewport->mapToGlobal(below), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &move);
    const std::size_t first = m_view->layout().top().line;
    // The mouse stays put, the view goes on scrolling and the selection
    // growing with it.
    QTRY_VERIFY(m_view->layout().top().line >= first + 3);
    QVERIFY(m_view->selectedText().startsWith(QStringLiteral("line 0\nline 1\n")));
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, below.toPoint());
    const std::size_t released = m_view->layout().top().line;
    const QString selected = m_view->selectedText();
    QTest::qWait(200);
    QCOMPARE(m_view->layout().top().line, released);
    QCOMPARE(m_view->selectedText(), selected);
}

void TextViewTest::scrollBarCountsLines()
{
    std::string text;
    for (int line = 0; line < 1000; ++line)
        text += "line " + std::to_string(line) + "\r\n";
    show(*m_view, m_pane, text);
    QScrollBar *bar = m_view->verticalScrollBar();
    const int rows = m_view->layout().viewRows();
    QVERIFY(rows > 1);
    // 1000 lines and the empty one after the last line end.
    QCOMPARE(bar->maximum(), 1001 - rows);
    QCOMPARE(bar->pageStep(), rows);

    bar->setValue(500);
    QCOMPARE(m_view->layout().top().line, std::size_t(500));
    QCOMPARE(m_view->rowText(0), QStringLiteral("line 500"));

    // Ctrl+Down scrolls a row without moving the caret; the bar follows.
    QTest::keyClick(m_view, Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(m_view->layout().top().line, std::size_t(501));
    QCOMPARE(bar->value(), 501);
    QCOMPARE(m_view->layout().caret(), std::size_t(0));

    // The wheel scrolls up by lines; Ctrl+End brings the last line in view.
    QWheelEvent wheel(QPointF(10, 10), m_view->viewport()->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(m_view->viewport(), &wheel);
    QVERIFY(m_view->layout().top().line < 501);
    QTest::keyClick(m_view, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(bar->value(), bar->maximum());
    QCOMPARE(m_view->rowText(rows - 2), QStringLiteral("line 999"));
}

void TextViewTest::bigTextIsMeasuredOnlyInView()
{
    // 8 MB of cookie lines, 100,000 of them: showing it, going to its end
    // and selecting it all measures some screens of rows around the view,
    // never the text.
    std::string text;
    const std::string line = "name=value; path=/; domain=.example.test; expires=Tue, 01 Jan 2030 00:00:00 GMT\n";
    while (text.size() < (std::size_t(8) << 20))
        text += line;
    const std::size_t before = m_view->measuredCharacters();
    show(*m_view, m_pane, text);
    QVERIFY(!m_view->grab().isNull());
    QTest::keyClick(m_view, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(m_view, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(m_view, Qt::Key_Up, Qt::ShiftModifier);
    QVERIFY(!m_view->grab().isNull());
    const std::size_t measured = m_view->measuredCharacters() - before;
    QVERIFY2(measured < std::size_t(1000) * line.size(), qPrintable(QString::number(measured)));
    QCOMPARE(m_view->selectedText().size(), static_cast<qsizetype>(text.size() - line.size()));
}

void TextViewTest::screenReadersReadTheText()
{
    m_view->setAccessibleName(QStringLiteral("内容"));
    show(*m_view, m_pane, cp932("名前=値\r\nx\ry\n") + "z\x81");
    QAccessibleInterface *pane = QAccessible::queryAccessibleInterface(m_view);
    QVERIFY(pane);
    QCOMPARE(pane->role(), QAccessible::EditableText);
    QCOMPARE(pane->text(QAccessible::Name), QStringLiteral("内容"));
    QVERIFY(pane->state().readOnly);
    QVERIFY(!pane->state().editable);
    QVERIFY(pane->state().focusable);
    QVERIFY(pane->state().multiLine);

    // One unit per character, a CR LF one "\n", as the view copies it.
    QAccessibleTextInterface *text = pane->textInterface();
    QVERIFY(text);
    const QString whole = QStringLiteral("名前=値\nx\ny\nz\uFFFD");
    QCOMPARE(text->characterCount(), static_cast<int>(whole.size()));
    QCOMPARE(text->text(0, -1), whole);
    QCOMPARE(text->text(5, 8), QStringLiteral("x\ny"));
    QCOMPARE(pane->text(QAccessible::Value), whole);

    // The caret and the selection as the keys leave them, in units.
    QCOMPARE(text->cursorPosition(), 0);
    QCOMPARE(text->selectionCount(), 0);
    QTest::keyClick(m_view, Qt::Key_Down);
    QTest::keyClick(m_view, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(m_view, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(text->cursorPosition(), 7);
    int start = -1;
    int end = -1;
    text->selection(0, &start, &end);
    QCOMPARE(std::pair(start, end), std::pair(5, 7));
    QCOMPARE(text->selectionCount(), 1);

    // A screen reader that sets them moves the view's, a double-byte
    // character and a CR LF each one unit.
    text->setSelection(0, 1, 6);
    QCOMPARE(m_view->selectedText(), QStringLiteral("前=値\nx"));
    text->setCursorPosition(8);
    QCOMPARE(m_view->selectedText(), QString());
    QCOMPARE(m_view->layout().caret(), cp932("名前=値\r\nx\ry").size());
    text->setSelection(0, 0, 1000); // past the end: the end
    QCOMPARE(m_view->selectedText(), whole);
    text->removeSelection(0);
    QCOMPARE(text->selectionCount(), 0);

    // A text the pane has replaced reads as none.
    m_pane.setText("new");
    QCOMPARE(text->characterCount(), 0);
    QCOMPARE(text->text(0, -1), QString());
    QCOMPARE(text->cursorPosition(), 0);
}

void TextViewTest::screenReadersGetTheRowsInViewOfABigText()
{
    std::string bytes;
    for (int line = 0; bytes.size() < (std::size_t(1) << 20); ++line)
        bytes += "line " + std::to_string(line) + "\r\n";
    show(*m_view, m_pane, bytes);
    QTest::keyClick(m_view, Qt::Key_PageDown);
    QTest::keyClick(m_view, Qt::Key_PageDown);
    QAccessibleTextInterface *text = QAccessible::queryAccessibleInterface(m_view)->textInterface();
    QVERIFY(text);

    // The rows in view, from the first's start to the last's end.
    const int rows = m_view->layout().viewRows();
    QString shown;
    for (int row = 0; row <= rows; ++row)
        shown += m_view->rowText(row) + (row < rows ? QStringLiteral("\n") : QString());
    QCOMPARE(text->text(0, -1), shown);
    QVERIFY(text->characterCount() < 20 * (rows + 1));
    // The caret within them, at its row's place.
    const long long caretRow = m_view->layout().caretRowFromTop();
    QVERIFY(caretRow >= 0 && caretRow <= rows);
    QCOMPARE(text->text(text->cursorPosition(), text->cursorPosition() + 4), QStringLiteral("line"));
}

QTEST_MAIN(TextViewTest)
#include "text_view_test.moc"
