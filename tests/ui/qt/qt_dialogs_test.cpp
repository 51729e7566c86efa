// The Qt dialog service: what the Windows flags choose, how message texts
// break lines, the input box's byte limit, and the real boxes answered by
// key presses.

#include "platform/cp932.h"
#include "platform/dialogs.h"
#include "ui/qt/application.h"
#include "ui/qt/input_box.h"
#include "ui/qt/qt_dialogs.h"

#include "temp_folder.h"
#include "when_modal.h"

#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

using namespace platform::msgbox;

// Types `text` as key presses that carry their characters.
void type(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

std::string cp932(const char *utf8)
{
    return platform::cp932::fromUtf8(utf8);
}

} // namespace

class QtDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void flagsChooseIconButtonsAndDefault();
    void lineBreaks_data();
    void lineBreaks();
    void inputLimitCountsCp932Bytes();
    void realMessageBoxAnswers();
    void realInputBoxAnswers();
    void inputBoxIsAsWideAsOnWindows();
    void realOpenFileDialogAnswers();
};

void QtDialogsTest::initTestCase()
{
    // The boxes in the program's own font and look.
    ui::qt::setUpApplication();
}

void QtDialogsTest::flagsChooseIconButtonsAndDefault()
{
    const ui::qt::MessageBoxLayout error = ui::qt::messageBoxLayout(kIconHand | kOk);
    QCOMPARE(error.icon, QMessageBox::Critical);
    QCOMPARE(error.buttons.size(), std::size_t(1));
    QCOMPARE(error.buttons[0].answer, kIdOk);
    QCOMPARE(error.escapeAnswer, kIdOk);

    const ui::qt::MessageBoxLayout question = ui::qt::messageBoxLayout(0x24);
    QCOMPARE(question.icon, QMessageBox::Question);
    QCOMPARE(question.buttons.size(), std::size_t(2));
    QCOMPARE(question.buttons[0].answer, kIdYes);
    QCOMPARE(question.buttons[1].answer, kIdNo);
    QCOMPARE(question.defaultButton, 0);
    // A Yes/No box cannot be escaped, as on Windows.
    QCOMPARE(question.escapeAnswer, -1);

    QCOMPARE(ui::qt::messageBoxLayout(0x124).defaultButton, 1);
    QCOMPARE(ui::qt::messageBoxLayout(0x40).icon, QMessageBox::Information);
    // A default button past the last one falls back to the first.
    QCOMPARE(ui::qt::messageBoxLayout(0x200).defaultButton, 0);
}

void QtDialogsTest::lineBreaks_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("LF CR is one break") << QByteArray("a\n\rb") << QStringLiteral("a\nb");
    QTest::newRow("CR LF is one break") << QByteArray("a\r\nb") << QStringLiteral("a\nb");
    QTest::newRow("two CR are two") << QByteArray("a\r\r   b\r\r") << QStringLiteral("a\n\n   b\n\n");
    QTest::newRow("LF LF are two") << QByteArray("a\n\nb") << QStringLiteral("a\n\nb");
}

void QtDialogsTest::lineBreaks()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, shown);
    QCOMPARE(ui::qt::messageBoxText(text.toStdString()), shown);
}

void QtDialogsTest::inputLimitCountsCp932Bytes()
{
    ui::qt::Cp932LengthValidator validator(255);
    int pos = 0;
    QString fits = QString(127, QChar(0x3042)) + QLatin1Char('a'); // 254 + 1 bytes
    QCOMPARE(validator.validate(fits, pos), QValidator::Acceptable);
    QString over = QString(128, QChar(0x3042)); // 256 bytes in 128 characters
    QCOMPARE(validator.validate(over, pos), QValidator::Invalid);
    QString ascii(255, QLatin1Char('x'));
    QCOMPARE(validator.validate(ascii, pos), QValidator::Acceptable);

    // Typing past the limit is refused; the text stays as it was.
    ui::qt::InputBox box(QStringLiteral("c"), QStringLiteral("p"), QString(127, QChar(0x3042)));
    auto *edit = box.findChild<QLineEdit *>();
    edit->end(false);
    type(edit, QStringLiteral("あ"));
    QCOMPARE(edit->text(), QString(127, QChar(0x3042)));
    type(edit, QStringLiteral("z"));
    QCOMPARE(edit->text(), QString(127, QChar(0x3042)) + QLatin1Char('z'));
}

void QtDialogsTest::realMessageBoxAnswers()
{
    ui::qt::QtDialogs dialogs;
    QString shownText;
    whenModal([&shownText](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        shownText = box ? box->text() : QString();
        QTest::keyClick(modal, Qt::Key_Return); // the default button: No
    });
    const int answer = dialogs.messageBox(cp932("全てのクッキーファイルを削除します。\n\r宜しいですか？"),
                                          cp932("削除確認"), kYesNo | kIconQuestion | kDefButton2);
    QCOMPARE(answer, kIdNo);
    QCOMPARE(shownText, QStringLiteral("全てのクッキーファイルを削除します。\n宜しいですか？"));

    whenModal([](QWidget *modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    QCOMPARE(dialogs.messageBox("x", "Vellumin", kIconHand | kOk), kIdOk);

    // A Yes/No question cannot be escaped: Esc and the close box leave it
    // open until a button answers it.
    bool stillOpen = false;
    whenModal([&stillOpen](QWidget *modal) {
        QTest::keyClick(modal, Qt::Key_Escape);
        modal->close();
        QApplication::processEvents();
        stillOpen = modal->isVisible() && QApplication::activeModalWidget() == modal;
        QTest::keyClick(modal, Qt::Key_Return); // the default button: Yes
    });
    QCOMPARE(dialogs.messageBox(cp932("削除します。"), cp932("削除確認"), kYesNo | kIconQuestion), kIdYes);
    QVERIFY(stillOpen);

    // Where there is a Cancel button, Esc answers Cancel.
    whenModal([](QWidget *modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    QCOMPARE(dialogs.messageBox("x", "c", 0x3), kIdCancel);
}

void QtDialogsTest::inputBoxIsAsWideAsOnWindows()
{
    // Wide enough for its caption, whatever the shorter prompt needs.
    ui::qt::InputBox box(QStringLiteral("Input Search FileName"), QStringLiteral("検索ファイル名を入力してください"),
                         QString());
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const int expected = ui::qt::InputBox::dialogWidth(box.font());
    QCOMPARE(box.width(), expected);
    if (box.logicalDpiX() == 96)
        QVERIFY2(box.width() >= 260 && box.width() <= 280, qPrintable(QString::number(box.width())));

    // A prompt longer than that widens the box to show it whole.
    const QString longPrompt(40, QChar(0x3042));
    ui::qt::InputBox wide(QStringLiteral("c"), longPrompt, QString());
    wide.show();
    QVERIFY(QTest::qWaitForWindowExposed(&wide));
    QVERIFY(wide.width() > expected);
    const QLabel *label = wide.findChild<QLabel *>();
    QVERIFY(label->width() >= QFontMetrics(label->font()).horizontalAdvance(longPrompt));
}

void QtDialogsTest::realInputBoxAnswers()
{
    ui::qt::QtDialogs dialogs;
    whenModal([](QWidget *modal) {
        type(modal->focusWidget(), QStringLiteral("abc検索"));
        QTest::keyClick(modal->focusWidget(), Qt::Key_Return);
    });
    QCOMPARE(dialogs.inputBox("Input Search FileName", cp932("検索ファイル名を入力してください"), ""),
             cp932("abc検索"));

    whenModal([](QWidget *modal) {
        QTest::keyClicks(modal->focusWidget(), QStringLiteral("typed"));
        QTest::keyClick(modal->focusWidget(), Qt::Key_Escape);
    });
    QCOMPARE(dialogs.inputBox("c", "p", "default"), std::string("default"));
}

void QtDialogsTest::realOpenFileDialogAnswers()
{
    TempFolder folder;
    folder.write("chosen.txt", "x");
    ui::qt::QtDialogs dialogs;

    // The file-name box starts with the path it is given; Esc cancels.
    QString startedWith;
    whenModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dialog);
        QCOMPARE(dialog->defaultSuffix(), QStringLiteral("*.txt"));
        QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        startedWith = name->text();
        QTest::keyClick(name, Qt::Key_Escape);
    });
    QVERIFY(!dialogs.openFileName({platform::namedPath(folder / "chosen.txt"), "*.txt", {}, {}}).has_value());
    QCOMPARE(startedWith, QStringLiteral("chosen.txt"));

    // A typed name that does not exist is accepted: only its folder matters.
    // (Started without a file, so that nothing the dialog selects once it has
    // read a folder can overwrite what is typed.)
    // It opens in the folder it is given, with the file types it is given.
    const std::string typed = folder / "not-there.txt";
    QString openedIn;
    QStringList types;
    whenModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dialog);
        openedIn = dialog->directory().absolutePath();
        types = dialog->nameFilters();
        auto *name = modal->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        // Set, not typed key by key: typing opens the name completer, which
        // would take the Return for itself.
        name->setText(QString::fromStdString(typed));
        QTest::keyClick(name, Qt::Key_Return);
    });
    const std::vector<platform::FileFilter> filters{{cp932("クッキーファイル (*.txt)"), "*.txt"},
                                                    {cp932("すべてのファイル (*.*)"), "*.*"}};
    const auto chosen =
        dialogs.openFileName({platform::NamedPath{}, "*.txt", platform::namedPath(folder.str() + "/"), filters});
    QCOMPARE(openedIn, QString::fromStdString(folder.str()));
    QCOMPARE(types,
             (QStringList{QStringLiteral("クッキーファイル (*.txt)"), QStringLiteral("すべてのファイル (*.*)")}));
    QVERIFY(chosen.has_value());
    QCOMPARE(QString::fromStdString(chosen->native), QString::fromStdString(typed));
    QCOMPARE(chosen->shown, platform::namedPath(typed).shown);
}

QTEST_MAIN(QtDialogsTest)
#include "qt_dialogs_test.moc"
