// A report's rows as an Excel workbook (from the preview and kelvara-report) and as a CSV file,
// read back by Gnumeric: every row, the captions, numbers as numbers, texts as texts, the sums.

#include "CleanState.h"
#include "ProgramRun.h"
#include "SaveDialog.h"
#include "ScriptedDialogs.h"
#include "SpreadsheetReader.h"
#include "TestDatabase.h"
#include "platform/WindowRegistry.h"
#include "reports/DataReport2.h"
#include "reports/PaymentReports.h"
#include "reports/ReportLayouts.h"

#include <QToolBar>
#include <QtTest>

using platform::WindowRegistry;
using platform::reportengine::ReportWindow;

namespace {

// An 18-digit number, a name a spreadsheet could take for a formula, and 17.9 days at 95,000.
bool addAwkwardRow(TestDatabase &db)
{
    return db.fillSample() && db.exec("INSERT INTO Peringkat VALUES ('P9', 95000, 'Staf')") &&
           db.exec("INSERT INTO Pegawai VALUES ('123456789012345678', '=1+1', '', '', NULL, 2020, "
                   "'P9', 'Staf', 'D01')") &&
           db.exec("INSERT INTO Cuti (Nip, KartuCuti, Hakcuti, SisaCuti) "
                   "VALUES ('123456789012345678', 'K2025', 18, 17.9)");
}

ReportWindow *preview(const QString &name)
{
    if (name == "DataReport2")
        return WindowRegistry::show<DataReport2>();
    if (name == "LaporanSDM")
        return WindowRegistry::show<LaporanSDM>();
    return WindowRegistry::show<DataReport1>();
}

// Exports through the preview's "Ekspor ke Excel..." as a clerk does.
void exportFromPreview(const QString &name, const QString &folder)
{
    ReportWindow *window = preview(name);
    QString suggested;
    typeIntoSaveDialog(folder, "laporan", &suggested);
    auto *bar = window->findChild<QToolBar *>("previewToolBar");
    QAction *action = window->findChild<QAction *>("xlsxAction");
    QCOMPARE(action->text(), QString("Ekspor ke Excel..."));
    QTest::mouseClick(bar->widgetForAction(action), Qt::LeftButton);
    QCOMPARE(QFileInfo(suggested).fileName(), window->definition().caption + ".xlsx");
}

} // namespace

class TestSpreadsheet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { startClean(); }
    void cleanup() { startClean(); }
    void everyRowAsPrinted_data();
    void everyRowAsPrinted();
};

void TestSpreadsheet::everyRowAsPrinted_data()
{
    QTest::addColumn<QString>("from"); // preview, xlsx or csv
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("view");
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<QStringList>("awkward"); // the awkward row as shown
    QTest::addColumn<QString>("kinds");       // of its cells: t text, n number
    const QStringList payment{"NIP",        "Nama",          "Jabatan",       "Tahun Masuk",
                              "Departemen", "Periode Awal",  "Periode Akhir", "Hak Cuti",
                              "Sisa Cuti",  "Upah Per Hari", "Total Gaji"};
    const QStringList all{"123456789012345678",
                          "=1+1",
                          "Staf",
                          "2020",
                          "Sumber Daya Manusia",
                          "01/01/2025",
                          "31/12/2025",
                          "18",
                          "17.9",
                          "95000",
                          "1700500"};
    QStringList iso = all;
    iso[5] = "2025-01-01";
    iso[6] = "2025-12-31";
    QTest::newRow("preview, all staff")
        << "preview"
        << "DataReport1"
        << "QupahSisaCuti"
        << "Laporan Seluruh Data" << (payment + all) << "tttntnnnnnn";
    QTest::newRow("preview, slips")
        << "preview"
        << "DataReport2"
        << "QupahSisaCuti"
        << "Slip Pembayaran Uang Cuti"
        << QStringList{"NIP", "NAMA", "JABATAN", "TOTAL UANG", all[0], all[1], all[2], all[10]}
        << "tttn";
    QTest::newRow("tool, a department")
        << "xlsx"
        << "LaporanSDM"
        << "QlapSDM"
        << "Laporan Karyawan Bagian Sumber" << (payment + all) << "tttntnnnnnn";
    QTest::newRow("tool, CSV") << "csv"
                               << "DataReport1"
                               << "QupahSisaCuti" << QString() << (payment + iso) << QString();
}

void TestSpreadsheet::everyRowAsPrinted()
{
    QFETCH(QString, from);
    QFETCH(QString, name);
    QFETCH(QString, view);
    QFETCH(QString, sheet);
    QFETCH(QStringList, awkward);
    QFETCH(QString, kinds);
    TestDatabase db;
    QVERIFY(addAwkwardRow(db));
    ScriptedDialogs dialogs;
    const QString path = db.folder() + (from == "csv" ? "/laporan.csv" : "/laporan.xlsx");
    if (from == "preview") {
        exportFromPreview(name, db.folder());
    } else {
        const ProgramRun run =
            runProgram(KELVARA_REPORT_TOOL, {name, "--db", db.path(), "--" + from, path});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    }
    QCOMPARE(dialogs.count(), 0);
    QCOMPARE(QFile::permissions(path) & 0x0777, QFile::ReadUser | QFile::WriteUser);
    QCOMPARE(QDir(db.folder()).entryList(QDir::Files | QDir::Hidden).size(), 2);

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    Workbook book;
    if (from == "csv")
        book.shown = csvRows(file.readAll());
    else
        book = readWorkbook(path);
    // The title, the captions, the records in the report's order and the sums.
    const int top = from == "csv" ? 0 : 1;
    const int columns = int(awkward.size()) / 2;
    const QStringList nips =
        db.scalar("SELECT group_concat(Nip, ',') FROM (SELECT Nip FROM " + view + ")")
            .toString()
            .split(',');
    QCOMPARE(book.shown.size(), top + 1 + nips.size() + top);
    QCOMPARE(book.shown[top], awkward.mid(0, columns));
    for (int r = 0; r < nips.size(); ++r)
        QCOMPARE(book.shown[top + 1 + r].value(0), nips[r]);
    const int row = top + 1 + int(nips.indexOf("123456789012345678"));
    QCOMPARE(book.shown[row], awkward.mid(columns));
    if (from == "csv")
        return;
    QCOMPARE(book.shown[0].value(0), reports::reportNamed(name)->title);
    for (int c = 0; c < columns; ++c)
        QCOMPARE(book.kinds.value({c, row}), QString(kinds[c] == 'n' ? "number" : "text"));
    QCOMPARE(book.shown.last().value(0), QString("Jumlah"));
    const QVariantList sums{db.scalar("SELECT sum(SisaCuti) FROM " + view),
                            db.scalar("SELECT sum(\"Total Uang Cuti\") FROM " + view)};
    for (int c = 1; c < columns; ++c) {
        const bool days = awkward[c] == "Sisa Cuti";
        const int sum = days                                                       ? 0
                        : awkward[c] == "Total Gaji" || awkward[c] == "TOTAL UANG" ? 1
                                                                                   : -1;
        QCOMPARE(book.kinds.value({c, int(book.shown.size()) - 1}),
                 QString(sum < 0 ? "" : "formula"));
        if (sum >= 0)
            QCOMPARE(book.shown.last().value(c).toDouble(), sums[sum].toDouble());
    }
    QCOMPARE(book.sheet, sheet);
    QCOMPARE(book.unfrozen, QString("A3"));
    QCOMPARE(book.title, reports::reportNamed(name)->title);
    QCOMPARE(book.author, QString("Kelvara"));
}

QTEST_MAIN(TestSpreadsheet)
#include "test_spreadsheet.moc"
