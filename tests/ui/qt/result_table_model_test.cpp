// The table model over the listing's result table: the mapping of row 0 and
// column 0 to the headers, bounds, conversion, and Qt's model checks.

#include "listing/cookie_entry.h"
#include "listing/result_table.h"
#include "platform/cp932.h"
#include "ui/qt/result_table_model.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QStringListModel>
#include <QTest>

namespace {

listing::CookieEntry entry(const char *name, const char *url, const char *info)
{
    listing::CookieEntry cookies;
    cookies.fileName = platform::cp932::fromUtf8(name);
    cookies.url = platform::cp932::fromUtf8(url);
    cookies.info = platform::cp932::fromUtf8(info);
    return cookies;
}

void fill(listing::ResultTable &table, int rows)
{
    table.startListing();
    for (int i = 1; i <= rows; ++i)
        table.setDataRow(entry("user@site", "site/", "値 two,three"), i);
    table.finishListing(rows, 9);
}

} // namespace

class ResultTableModelTest : public QObject {
    Q_OBJECT

private slots:
    void passesQtModelChecksThroughRebuilds();
    void headersAndCells();
    void outOfRangeQuestionsAnswerNothing();
    void staleShapeIsSafeUntilReload();
    void undecodableBytesShowAsReplacement();
    void cellsAreSelectableNotEditable();
};

void ResultTableModelTest::passesQtModelChecksThroughRebuilds()
{
    listing::ResultTable table;
    ui::qt::ResultTableModel model(table);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);

    for (int rows : {0, 5, 20, 3, 0, 1}) {
        fill(table, rows);
        model.reload();
        QCOMPARE(model.rowCount(), rows);
        QCOMPARE(model.columnCount(), 8);
    }
    // Each reload passes through the empty shape, so that views drop the rows
    // and columns the user moved.
    QCOMPARE(resets.size(), 12);
}

void ResultTableModelTest::headersAndCells()
{
    listing::ResultTable table;
    fill(table, 12);
    ui::qt::ResultTableModel model(table);

    QCOMPARE(model.cornerText(), QStringLiteral("No"));
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("FileName"));
    QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Info(?)"));
    QCOMPARE(model.headerData(11, Qt::Vertical).toString(), QStringLiteral("12"));
    QCOMPARE(model.index(11, 0).data().toString(), QStringLiteral("user@site"));
    // "値 two,three" is split over columns 3 to 5 of the table.
    QCOMPARE(model.index(0, 2).data().toString(), QStringLiteral("値"));
    QCOMPARE(model.index(0, 3).data().toString(), QStringLiteral("two"));
    QCOMPARE(model.index(0, 4).data().toString(), QStringLiteral("three"));
    QCOMPARE(model.index(0, 5).data().toString(), QString());
    // Only the display role carries anything.
    QVERIFY(!model.index(0, 0).data(Qt::ToolTipRole).isValid());
    QVERIFY(!model.headerData(0, Qt::Horizontal, Qt::DecorationRole).isValid());
}

void ResultTableModelTest::outOfRangeQuestionsAnswerNothing()
{
    listing::ResultTable table;
    fill(table, 2);
    ui::qt::ResultTableModel model(table);

    QVERIFY(!model.headerData(-1, Qt::Horizontal).isValid());
    QVERIFY(!model.headerData(8, Qt::Horizontal).isValid());
    QVERIFY(!model.headerData(2, Qt::Vertical).isValid());
    QVERIFY(!model.index(2, 0).isValid());
    QVERIFY(!model.data(QModelIndex()).isValid());
    QCOMPARE(model.rowCount(model.index(0, 0)), 0);
    QCOMPARE(model.columnCount(model.index(0, 0)), 0);

    // An index of another model is not read.
    QStringListModel other(QStringList{QStringLiteral("a"), QStringLiteral("b")});
    QVERIFY(!model.data(other.index(1, 0)).isValid());
}

void ResultTableModelTest::staleShapeIsSafeUntilReload()
{
    listing::ResultTable table;
    fill(table, 10);
    ui::qt::ResultTableModel model(table);
    const QModelIndex last = model.index(9, 7);

    // The table shrinks under the model (a scan running), the view has not
    // been told yet: the old shape stays and the missing cells read empty.
    fill(table, 2);
    QCOMPARE(model.rowCount(), 10);
    QCOMPARE(model.data(last).toString(), QString());
    QCOMPARE(model.headerData(9, Qt::Vertical).toString(), QString());
    model.reload();
    QCOMPARE(model.rowCount(), 2);
}

void ResultTableModelTest::undecodableBytesShowAsReplacement()
{
    listing::ResultTable table;
    table.startListing();
    listing::CookieEntry broken;
    broken.fileName = "name";
    broken.url = "u\x85\x40z"; // a code the table lacks
    broken.info = "ok\x81";     // a lone lead byte at the end
    table.setDataRow(broken, 1);
    table.finishListing(1, 9);
    ui::qt::ResultTableModel model(table);
    const QString url = model.index(0, 1).data().toString();
    QVERIFY2(url.startsWith(QLatin1Char('u')) && url.endsWith(QLatin1Char('z')) && url.contains(QChar(0xFFFD)),
             qPrintable(url));
    QCOMPARE(model.index(0, 2).data().toString(), QStringLiteral("ok\uFFFD"));
}

void ResultTableModelTest::cellsAreSelectableNotEditable()
{
    listing::ResultTable table;
    fill(table, 1);
    ui::qt::ResultTableModel model(table);
    const Qt::ItemFlags flags = model.flags(model.index(0, 0));
    QVERIFY(flags.testFlag(Qt::ItemIsSelectable));
    QVERIFY(flags.testFlag(Qt::ItemIsEnabled));
    QVERIFY(!flags.testFlag(Qt::ItemIsEditable));
}

QTEST_GUILESS_MAIN(ResultTableModelTest)
#include "result_table_model_test.moc"
