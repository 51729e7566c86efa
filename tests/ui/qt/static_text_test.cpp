// The clickable texts of the command column: which presses and releases
// make a click.

#include "ui/qt/static_text.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

class StaticTextTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void clickRule_data();
    void clickRule();
    void doubleClickCountsOnce();
    void focusByTabOnlyAndKeysClick();
    void disabledHasNoHint();

private:
    QWidget *m_parent = nullptr;
    ui::qt::ClickableText *m_text = nullptr;
};

void StaticTextTest::init()
{
    m_parent = new QWidget;
    m_parent->resize(200, 100);
    m_text = new ui::qt::ClickableText(m_parent);
    m_text->setText(QStringLiteral("ReLoad       "));
    m_text->move(10, 10);
    m_parent->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_parent));
}

void StaticTextTest::cleanup()
{
    delete m_parent;
    m_parent = nullptr;
}

void StaticTextTest::clickRule_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("releaseInside");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("clicks");

    QTest::newRow("left, released inside") << Qt::LeftButton << true << true << 1;
    QTest::newRow("left, released outside") << Qt::LeftButton << false << true << 0;
    QTest::newRow("right button") << Qt::RightButton << true << true << 0;
    QTest::newRow("middle button") << Qt::MiddleButton << true << true << 0;
    QTest::newRow("disabled") << Qt::LeftButton << true << false << 0;
}

void StaticTextTest::clickRule()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, releaseInside);
    QFETCH(bool, enabled);
    QFETCH(int, clicks);

    m_text->setEnabled(enabled);
    QSignalSpy spy(m_text, &ui::qt::ClickableText::clicked);
    const QPoint inside = m_text->rect().center();
    const QPoint outside(m_text->width() + 5, inside.y());
    QTest::mousePress(m_text, button, Qt::NoModifier, inside);
    QTest::mouseRelease(m_text, button, Qt::NoModifier, releaseInside ? inside : outside);
    QCOMPARE(spy.size(), clicks);
}

void StaticTextTest::doubleClickCountsOnce()
{
    QSignalSpy spy(m_text, &ui::qt::ClickableText::clicked);
    // A double click arrives as a click, then a press with its double-click
    // event, then a release.
    QTest::mouseClick(m_text, Qt::LeftButton, Qt::NoModifier, m_text->rect().center());
    QTest::mouseDClick(m_text, Qt::LeftButton, Qt::NoModifier, m_text->rect().center());
    QCOMPARE(spy.size(), 1);

    // A release without a press of its own does nothing either.
    QTest::mouseRelease(m_text, Qt::LeftButton, Qt::NoModifier, m_text->rect().center());
    QCOMPARE(spy.size(), 1);
}

void StaticTextTest::focusByTabOnlyAndKeysClick()
{
    // A click leaves the focus where it was.
    auto *other = new QWidget(m_parent);
    other->setFocusPolicy(Qt::StrongFocus);
    other->show();
    other->setFocus();
    QTest::mouseClick(m_text, Qt::LeftButton, Qt::NoModifier, m_text->rect().center());
    QVERIFY(!m_text->hasFocus());

    const QImage unfocused = m_text->grab().toImage();
    m_parent->activateWindow();
    m_text->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(m_text->hasFocus());
    // The focus shows: the text is drawn otherwise while it has it.
    QVERIFY(m_text->grab().toImage() != unfocused);

    QSignalSpy spy(m_text, &ui::qt::ClickableText::clicked);
    QTest::keyClick(m_text, Qt::Key_Space);
    QTest::keyClick(m_text, Qt::Key_Return);
    QTest::keyClick(m_text, Qt::Key_Enter);
    QCOMPARE(spy.size(), 3);
    // Not with Ctrl or Alt, nor other keys.
    QTest::keyClick(m_text, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClick(m_text, Qt::Key_Space, Qt::AltModifier);
    QTest::keyClick(m_text, Qt::Key_A);
    QCOMPARE(spy.size(), 3);
}

void StaticTextTest::disabledHasNoHint()
{
    m_text->setToolTip(QStringLiteral("hint"));
    m_text->setEnabled(false);
    QHelpEvent help(QEvent::ToolTip, QPoint(1, 1), m_text->mapToGlobal(QPoint(1, 1)));
    QVERIFY(QApplication::sendEvent(m_text, &help));
    QTest::qWait(20);
    QVERIFY(!QToolTip::isVisible());
}

QTEST_MAIN(StaticTextTest)
#include "static_text_test.moc"
