// kelvara-report writes each report to a PDF that poppler reads back: pages, texts, places.

#include "ProgramRun.h"
#include "TestDatabase.h"
#include "reports/ReportLayouts.h"
#include "store/Database.h"

#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

namespace {

using Run = ProgramRun;

Run report(const QStringList &arguments)
{
    return runProgram(QStringLiteral(KELVARA_REPORT_TOOL), arguments);
}

int pageCount(const QString &pdf)
{
    const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"),
                                   QRegularExpression::MultilineOption);
    return pages.match(runProgram("pdfinfo", {pdf}).out).captured(1).toInt();
}

// Where pdftotext finds a word, in points; an empty box when it finds none.
QRectF wordBox(const QString &pdf, const QString &plainWord)
{
    const QString word = plainWord.toHtmlEscaped().replace('\'', QLatin1String("&apos;"));
    const QRegularExpression found(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
                       "yMax=\"([0-9.]+)\">%1</word>")
            .arg(QRegularExpression::escape(word)));
    const QRegularExpressionMatch match =
        found.match(runProgram("pdftotext", {"-bbox", pdf, "-"}).out);
    if (!match.hasMatch())
        return {};
    return QRectF(QPointF(match.captured(1).toDouble(), match.captured(2).toDouble()),
                  QPointF(match.captured(3).toDouble(), match.captured(4).toDouble()));
}

QPointF wordAt(const QString &pdf, const QString &word)
{
    const QRectF box = wordBox(pdf, word);
    return box.isEmpty() ? QPointF(-1, -1) : box.topLeft();
}

// A word stands whole, inside the left and right edges of the box it is printed in.
bool standsInside(const QString &pdf, const QString &word, const QString &report,
                  const QString &control)
{
    const auto definition = reports::reportNamed(report);
    const QRect box = definition->control(control)->rect;
    const double left = (definition->margins.left() + box.left()) / 20.0;
    const QRectF found = wordBox(pdf, word);
    const bool inside = !found.isEmpty() && found.left() >= left - 0.5 &&
                        found.right() <= left + box.width() / 20.0;
    if (!inside)
        qWarning() << word << "at" << found << "in" << report << control << box;
    return inside;
}

// Every word of a value stands whole inside its box.
bool printedInside(const QString &pdf, const QString &value, const QString &report,
                   const QString &control)
{
    const QStringList words = value.split(' ');
    return std::all_of(words.begin(), words.end(), [&](const QString &word) {
        return standsInside(pdf, word, report, control);
    });
}

} // namespace

class TestReportTool : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void writesEveryReport_data();
    void writesEveryReport();
    void firstValueStandsWhereTheLayoutPutsIt();
    void datesAndLargeAmountsPrintWhole();
    void longValuesPrintWhole_data();
    void longValuesPrintWhole();
    void refusesToWriteOverItsDatabase();
    void refusesWhatItCannotDo_data();
    void refusesWhatItCannotDo();
    void historyNarrowsBySinceAndNip();
};

void TestReportTool::initTestCase()
{
    QVERIFY2(!QStandardPaths::findExecutable("pdftotext").isEmpty(), "poppler-utils missing");
    QVERIFY(!QStandardPaths::findExecutable("pdfinfo").isEmpty());
}

void TestReportTool::writesEveryReport_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("absent");
    const QStringList headings{"NIP", "Nama", "Tahun Masuk", "Periode Akhir", "Total Gaji"};
    QTest::newRow("DataReport1") << "DataReport1" << 1
                                 << headings + QStringList{"LAPORAN PEMBAYARAN UANG CUTI",
                                                           "19001",
                                                           "Budi",
                                                           "Susi",
                                                           "20003",
                                                           "1950000",
                                                           "Kepala Bagian"}
                                 << QStringList{"Laporan Seluruh Data"};
    QTest::newRow("LaporanSDM") << "LaporanSDM" << 1
                                << headings + QStringList{"SUMBER DAYA MANUSIA", "19001"}
                                << QStringList{"19002", "20003"};
    QTest::newRow("Laporanpersonalia")
        << "Laporanpersonalia" << 1 << headings + QStringList{"PERSONALIA", "Susi", "1800000"}
        << QStringList{"19001", "20003"};
    QTest::newRow("Laporanproduksi")
        << "Laporanproduksi" << 1 << headings + QStringList{"PRODUKSI", "Bunga", "840000"}
        << QStringList{"19001", "19002"};
    QTest::newRow("Laporansi") << "Laporansi" << 1
                               << headings + QStringList{"BAGIAN SISTEM", "INFORMASI"}
                               << QStringList{"19001", "19002", "20003"};
    QTest::newRow("DataReport2") << "DataReport2" << 2
                                 << QStringList{"SLIP PEMBAYARAN UANG CUTI",
                                                "NAMA",
                                                "TOTAL UANG",
                                                "BANDUNG,",
                                                "( KABAG KEUANGAN )",
                                                "( KARYAWAN )",
                                                "19001",
                                                "20003",
                                                "840000"}
                                 << QStringList{"Total Gaji", "Slip Pembayaran Upah Cuti"};
}

void TestReportTool::writesEveryReport()
{
    QFETCH(QString, name);
    QFETCH(int, pages);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, absent);
    TestDatabase db;
    QVERIFY(db.fillSample());
    const QString pdf = db.folder() + "/" + name + ".pdf";
    const Run written = report({name, "--db", db.path(), "--pdf", pdf});
    QVERIFY2(written.exitCode == 0, qPrintable(written.err));
    QCOMPARE(pageCount(pdf), pages);
    // Pay and personnel data: for the owner's eyes only, whatever the umask.
    QCOMPARE(QFile::permissions(pdf) & 0x0077, QFile::Permissions());
    const QString text = runProgram("pdftotext", {"-layout", pdf, "-"}).out;
    for (const QString &t : texts)
        QVERIFY2(text.contains(t), qPrintable(t));
    for (const QString &t : absent)
        QVERIFY2(!text.contains(t), qPrintable(t));
}

void TestReportTool::firstValueStandsWhereTheLayoutPutsIt()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    const QString pdf = db.folder() + "/all.pdf";
    QCOMPARE(report({"DataReport1", "--db", db.path(), "--pdf", pdf}).exitCode, 0);
    // Text1 of the first band: margin 1440 + 135 across, and down the margin, the report
    // header 675, the page header 1890 and 105 into the band; 20 twips to the point.
    const QPointF nip = wordAt(pdf, "19001");
    QVERIFY(qAbs(nip.x() - (1440 + 135) / 20.0) < 1.0);
    QVERIFY(qAbs(nip.y() - (1440 + 675 + 1890 + 105) / 20.0) < 2.0);

    // The slip's number stands at 1755 across and 420 + 915 down.
    const QString slips = db.folder() + "/slips.pdf";
    QCOMPARE(report({"DataReport2", "--db", db.path(), "--pdf", slips}).exitCode, 0);
    const QPointF slipNip = wordAt(slips, "19001");
    QVERIFY(qAbs(slipNip.x() - (1440 + 1755) / 20.0) < 1.0);
    QVERIFY(qAbs(slipNip.y() - (1440 + 420 + 915) / 20.0) < 2.0);
}

void TestReportTool::datesAndLargeAmountsPrintWhole()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    // 18 days left at a daily wage of ten digits: an amount of 12 digits and a half.
    QVERIFY(db.exec("UPDATE Peringkat SET UpahPerhari = 6858710500.75 WHERE KodePeringkat = 'P2'"));
    const QString pdf = db.folder() + "/all.pdf";
    QCOMPARE(report({"DataReport1", "--db", db.path(), "--pdf", pdf}).exitCode, 0);
    QVERIFY(standsInside(pdf, "6858710500.75", "DataReport1", "Text9"));
    QVERIFY(standsInside(pdf, "123456789013.5", "DataReport1", "Text10"));
    QVERIFY(standsInside(pdf, "01/01/2026", "DataReport1", "Text5"));
    QVERIFY(standsInside(pdf, "31/12/2026", "DataReport1", "Text6"));

    const QString slips = db.folder() + "/slips.pdf";
    QCOMPARE(report({"DataReport2", "--db", db.path(), "--pdf", slips}).exitCode, 0);
    QVERIFY(standsInside(slips, "123456789013.5", "DataReport2", "Text4"));
}

void TestReportTool::longValuesPrintWhole_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("department"); // of the employee that gets the long values
    QTest::newRow("all staff") << "DataReport1"
                               << "D05";
    QTest::newRow("SDM") << "LaporanSDM"
                         << "D01";
    QTest::newRow("Personalia") << "Laporanpersonalia"
                                << "D02";
    QTest::newRow("Produksi") << "Laporanproduksi"
                              << "D04";
    QTest::newRow("SI") << "Laporansi"
                        << "D03";
    QTest::newRow("slips") << "DataReport2"
                           << "D05";
}

void TestReportTool::longValuesPrintWhole()
{
    QFETCH(QString, name);
    QFETCH(QString, department);
    TestDatabase db;
    QVERIFY(db.fillSample());
    const QString nip = "197805122003121001";
    const QString fullName = "Maria Ñúñez d'Ávila Sütterlin-Prawiro";
    const QString position = "Wakil Koordinator Urusan Pengadaan";
    QVERIFY(db.exec("UPDATE Departemen SET Keterangan = 'Logistik dan Pergudangan' "
                    "WHERE Kodedepartemen = 'D05'"));
    QVERIFY(db.exec("UPDATE Pegawai SET Nip = ?, Nama = ?, Jabatan = ?, KodeDepartemen = ? "
                    "WHERE Nip = '19001'",
                    {nip, fullName, position, department}));
    QVERIFY(db.exec("UPDATE Cuti SET SisaCuti = 17.9 WHERE Nip = ?", {nip}));
    const QString pdf = db.folder() + "/" + name + ".pdf";
    QCOMPARE(report({name, "--db", db.path(), "--pdf", pdf}).exitCode, 0);
    QVERIFY(standsInside(pdf, nip, name, "Text1"));
    QVERIFY(printedInside(pdf, fullName, name, "Text2"));
    QVERIFY(printedInside(pdf, position, name, "Text3"));
    if (name == "DataReport2")
        return;
    const QString shown =
        db.scalar("SELECT Keterangan FROM Departemen WHERE Kodedepartemen = ?", {department})
            .toString();
    QVERIFY(printedInside(pdf, shown, name, "Text11"));
    QVERIFY(standsInside(pdf, "17.9", name, "Text8"));
}

void TestReportTool::refusesToWriteOverItsDatabase()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    store::Database::close();
    QFile file(db.path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    const QString link = db.folder() + "/laporan.pdf";
    QVERIFY(QFile::link(db.path(), link));
    const QString roundabout = db.folder() + "/../" + QFileInfo(db.folder()).fileName() + "/" +
                               QFileInfo(db.path()).fileName();
    for (const char *option : {"--pdf", "--xlsx", "--csv"}) {
        for (const QString &out : {db.path(), link, roundabout}) {
            const Run refused = report({"DataReport1", "--db", db.path(), option, out});
            QCOMPARE(refused.exitCode, 1);
            QVERIFY2(refused.err.contains("database"), qPrintable(refused.err));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY(file.readAll() == before);
            file.close();
        }
    }
}

void TestReportTool::refusesWhatItCannotDo_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("database"); // relative to the test's folder
    QTest::addColumn<QString>("pdf");      // or "--xlsx FILE", "--csv FILE"
    QTest::addColumn<QString>("said");
    QTest::newRow("unknown report") << "DataReport9"
                                    << "DB PT Mardeko.mdb"
                                    << "out.pdf"
                                    << "DataReport9";
    QTest::newRow("name in other case") << "datareport1"
                                        << "DB PT Mardeko.mdb"
                                        << "out.pdf"
                                        << "datareport1";
    QTest::newRow("missing database") << "DataReport1"
                                      << "none.mdb"
                                      << "out.pdf"
                                      << "none.mdb";
    QTest::newRow("not a database") << "DataReport1"
                                    << "junk.mdb"
                                    << "out.pdf"
                                    << "junk.mdb";
    QTest::newRow("unwritable pdf") << "DataReport1"
                                    << "DB PT Mardeko.mdb"
                                    << "no folder/out.pdf"
                                    << "out.pdf";
    QTest::newRow("existing file that is no PDF") << "DataReport1"
                                                  << "DB PT Mardeko.mdb"
                                                  << "junk.mdb"
                                                  << "bukan file PDF";
    QTest::newRow("existing file that is no workbook") << "DataReport1"
                                                       << "DB PT Mardeko.mdb"
                                                       << "--xlsx junk.mdb"
                                                       << "bukan file Excel";
    QTest::newRow("unwritable CSV") << "DataReport1"
                                    << "DB PT Mardeko.mdb"
                                    << "--csv no folder/out.csv"
                                    << "File CSV tidak dapat ditulis";
}

void TestReportTool::refusesWhatItCannotDo()
{
    QFETCH(QString, name);
    QFETCH(QString, database);
    QFETCH(QString, pdf);
    QFETCH(QString, said);
    TestDatabase db;
    QVERIFY(db.fillSample());
    QFile junk(db.folder() + "/junk.mdb");
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();

    const QString option = pdf.startsWith("--") ? pdf.section(' ', 0, 0) : "--pdf";
    const QString out = db.folder() + "/" + (pdf.startsWith("--") ? pdf.section(' ', 1) : pdf);
    const bool existed = QFile::exists(out);
    const Run refused = report({name, "--db", db.folder() + "/" + database, option, out});
    QVERIFY(refused.exitCode > 0);
    QVERIFY2(refused.err.contains(said), qPrintable(refused.err));
    QCOMPARE(QFile::exists(out), existed);
    if (existed) {
        QVERIFY(junk.open(QIODevice::ReadOnly));
        QVERIFY(junk.readAll() == QByteArray(4096, 'x'));
    }
}

// The history of one employee, or since a day; the options are the history's alone.
void TestReportTool::historyNarrowsBySinceAndNip()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    const QString csv = db.folder() + "/riwayat.csv";
    const auto rows = [&](const QStringList &options) {
        const Run run = report(QStringList{"Riwayat", "--db", db.path(), "--csv", csv} + options);
        QFile file(csv);
        return run.exitCode == 0 && file.open(QIODevice::ReadOnly)
                   ? QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts)
                   : QStringList{run.err};
    };
    const QStringList susi = rows({"--nip", "19002"});
    QVERIFY(susi.join(u'\n').contains("Susi"));
    QVERIFY(!susi.join(u'\n').contains("Budi"));
    QCOMPARE(rows({"--since", "2999-01-01"}).size(), 1);
    QCOMPARE(report({"Riwayat", "--db", db.path(), "--csv", csv, "--since", "kemarin"}).exitCode,
             2);
    QCOMPARE(report({"DataReport1", "--db", db.path(), "--csv", csv, "--nip", "1"}).exitCode, 2);
}

QTEST_MAIN(TestReportTool)
#include "test_reporttool.moc"
