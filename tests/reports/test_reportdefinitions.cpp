// The department reports derived from the all-staff layout, and the payment slip.

#include "ReportItems.h"
#include "TestDatabase.h"
#include "platform/reportengine/Layout.h"
#include "reports/ReportLayouts.h"

#include <QtTest>

using namespace platform::reportengine;
using namespace reporttest;

namespace {

constexpr int Margin = 1440;

QStringList columnLabels()
{
    QStringList names;
    for (int i = 3; i <= 13; ++i)
        names << QStringLiteral("Label%1").arg(i);
    return names;
}

Document layOutNamed(const QString &name, const QPageSize &paper = QPageSize(QPageSize::A4))
{
    Document document;
    const store::Status status = layOut(*reports::reportNamed(name), paper, &document);
    if (!status.ok())
        qWarning() << status.message();
    return document;
}

} // namespace

class TestReportDefinitions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void departmentReportsDifferAsTheirRowSays_data();
    void departmentReportsDifferAsTheirRowSays();
    void departmentReportsListTheirOwnRows();
    void reportsByName();
    void slipHoldsItsCaptionsExactly();
    void twoWholeSlipsAPage_data();
    void twoWholeSlipsAPage();
    void slipAmountsMatchTheAllStaffReport();
};

void TestReportDefinitions::departmentReportsDifferAsTheirRowSays_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("member");
    QTest::addColumn<QString>("heading");

    QTest::newRow("SDM") << "LaporanSDM"
                         << "Laporan Karyawan Bagian Sumber Daya Manusia"
                         << "LapBagianSDM"
                         << "LAPORAN KARYAWAN BAGIAN SUMBER DAYA MANUSIA";
    QTest::newRow("Personalia") << "Laporanpersonalia"
                                << "Laporan Karyawan Bagian Personalia"
                                << "LapBagianPersonalia"
                                << "LAPORAN KARYAWAN BAGIAN PERSONALIA";
    QTest::newRow("Produksi") << "Laporanproduksi"
                              << "Laporan Karyawan Bagian Produksi"
                              << "LapBagianProduksi"
                              << "LAPORAN KARYAWAN BAGIAN PRODUKSI";
    QTest::newRow("SI") << "Laporansi"
                        << "Laporan Karyawan Bagian Sistem Informasi"
                        << "LapBagianSistemInformasi"
                        << "LAPORAN KARYAWAN BAGIAN SISTEM INFORMASI";
}

void TestReportDefinitions::departmentReportsDifferAsTheirRowSays()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, member);
    QFETCH(QString, heading);
    TestDatabase db;
    QVERIFY(db.fillSample());
    // A row in the one department the sample leaves empty, so that every report has one.
    QVERIFY(db.exec("INSERT INTO Pegawai VALUES ('20004', 'Sari', '', '', NULL, 2018, 'P2', "
                    "'Staf', 'D03')"));
    QVERIFY(db.exec("INSERT INTO Cuti (Nip, KartuCuti, Hakcuti, SisaCuti, \"Penggantian Cuti\") "
                    "VALUES ('20004', 'K2025', 18, 17.9, 0.1)"));
    const ReportDefinition base = reports::dataReport1();
    const ReportDefinition report = *reports::reportNamed(name);

    QCOMPARE(report.name, name);
    QCOMPARE(report.caption, caption);
    QCOMPARE(report.title, caption);
    QCOMPARE(report.dataMember, member);
    QCOMPARE(report.margins, base.margins);
    QCOMPARE(report.previewSize, base.previewSize);
    QCOMPARE(report.fonts, base.fonts);
    QCOMPARE(report.control("Label2")->text, heading);

    // On the first page every header text and every text box of the first row stands where
    // the report's twips put it: the page header under the report header, the row under both.
    const Page page = layOutNamed(name).page(0);
    const int headerTop = report.margins.top() + report.section(SectionRole::ReportHeader)->height;
    const int rowTop = headerTop + report.section(SectionRole::PageHeader)->height;
    const struct
    {
        SectionRole role;
        int top;
    } placed[] = {{SectionRole::PageHeader, headerTop}, {SectionRole::Detail, rowTop}};
    for (const auto &[role, top] : placed) {
        for (const Control &control : report.section(role)->controls) {
            const Item *shown = item(page, control.name);
            QVERIFY2(shown, qPrintable(control.name));
            QCOMPARE(shown->rect, control.rect.translated(report.margins.left(), top));
            if (role == SectionRole::PageHeader)
                QCOMPARE(shown->text, control.text);
        }
    }
    // Each column heading keeps its base text, and the line the department reports add runs
    // between the headings and the first row.
    for (const QString &label : columnLabels())
        QCOMPARE(item(page, label)->text, base.control(label)->text);
    const int line = item(page, "Line3")->rect.top();
    QVERIFY(line > item(page, "Label13")->rect.top());
    QVERIFY(line < item(page, "Text1")->rect.top());
    QVERIFY(!base.control("Line3"));
}

void TestReportDefinitions::departmentReportsListTheirOwnRows()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    QCOMPARE(textsOf(layOutNamed("LaporanSDM"), "Text1"), QStringList{"19001"});
    QCOMPARE(textsOf(layOutNamed("Laporanpersonalia"), "Text1"), QStringList{"19002"});
    QCOMPARE(textsOf(layOutNamed("Laporanproduksi"), "Text1"), QStringList{"20003"});

    // No rows: the headers with the department's title and the line, and no band.
    const Document si = layOutNamed("Laporansi");
    QCOMPARE(si.pageCount(), 1);
    QVERIFY(!item(si.page(0), "Text1"));
    QCOMPARE(item(si.page(0), "Label2")->text, QString("LAPORAN KARYAWAN BAGIAN SISTEM INFORMASI"));
    QVERIFY(item(si.page(0), "Line3"));
}

void TestReportDefinitions::reportsByName()
{
    QCOMPARE(reports::reportNames(),
             QStringList({"DataReport1", "LaporanSDM", "Laporanpersonalia", "Laporanproduksi",
                          "Laporansi", "DataReport2", "Riwayat"}));
    for (const QString &name : reports::reportNames())
        QCOMPARE(reports::reportNamed(name)->name, name);
    QVERIFY(!reports::reportNamed("datareport1"));
    QVERIFY(!reports::reportNamed(""));
    QCOMPARE(reports::dataReport1().caption, QString("Laporan Seluruh Data"));
    QCOMPARE(reports::dataReport1().title, QString("Laporan Pembayaran Uang Cuti"));
    QCOMPARE(reports::dataReport2().caption, QString("Slip Pembayaran Uang Cuti"));
    QCOMPARE(reports::dataReport2().title, QString("Slip Pembayaran Upah Cuti"));
    QCOMPARE(reports::dataReport2().dataMember, QString("LaporanUpah"));
}

void TestReportDefinitions::slipHoldsItsCaptionsExactly()
{
    const ReportDefinition slip = reports::dataReport2();
    QCOMPARE(slip.control("Label4")->text, QString("NAMA "));
    for (const char *colon : {"Label3", "Label5", "Label7", "Label9"})
        QCOMPARE(slip.control(colon)->text, QString(" :"));
    QCOMPARE(slip.control("Label10")->text, QString("BANDUNG, ____/_____________/_______ "));
    QCOMPARE(slip.control("Text4")->text, QString("Total Uang Cuti"));
    QCOMPARE(slip.control("Label12")->alignment, Qt::AlignHCenter);
    QCOMPARE(slip.control("Label11")->alignment, Qt::AlignLeft);

    const QFont title = slip.fonts[size_t(slip.control("Label1")->font)];
    QCOMPARE(title.family(), QString("AvantGarde Md BT"));
    QCOMPARE(title.pointSizeF(), 14.25);
    QVERIFY(title.bold());
    // Every other control prints in the default font.
    for (const Control &c : slip.section(SectionRole::Detail)->controls) {
        if (c.name != "Label1")
            QCOMPARE(c.font, DefaultFont);
    }
    QVERIFY(!slip.control("Shape2")->fill.isValid());
    QCOMPARE(slip.control("Shape1")->fill, QColor(192, 192, 192));
}

void TestReportDefinitions::twoWholeSlipsAPage_data()
{
    QTest::addColumn<QPageSize>("paper");
    QTest::newRow("A4") << QPageSize(QPageSize::A4);
    QTest::newRow("Letter") << QPageSize(QPageSize::Letter);
}

void TestReportDefinitions::twoWholeSlipsAPage()
{
    QFETCH(QPageSize, paper);
    TestDatabase db;
    QVERIFY(addLeaveRows(db, 5));
    const Document slips = layOutNamed("DataReport2", paper);
    QCOMPARE(slips.pageCount(), 3);
    QCOMPARE(textsOf(slips, "Text1"),
             QStringList({"N00001", "N00002", "N00003", "N00004", "N00005"}));
    const int footerTop = slips.pageTwips.height() - Margin - 360;
    const QList<int> perPage{2, 2, 1};
    for (int p = 0; p < slips.pageCount(); ++p) {
        const Page page = slips.page(p);
        const auto frames = itemsNamed(page, "Shape2");
        QCOMPARE(int(frames.size()), perPage[p]);
        // The first slip starts under the report header on the first page only.
        const int top = Margin + (p == 0 ? 420 : 0);
        QCOMPARE(item(page, "Shape1")->rect.top(), top + 105);
        for (const Item &i : page.items)
            QVERIFY(i.rect.bottom() < footerTop);
        if (frames.size() == 2)
            QCOMPARE(frames[1]->rect.top() - frames[0]->rect.top(), 4695);
    }
}

void TestReportDefinitions::slipAmountsMatchTheAllStaffReport()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    const Document slips = layOutNamed("DataReport2");
    const Document report = layOutNamed("DataReport1");
    QCOMPARE(textsOf(slips, "Text1"), textsOf(report, "Text1"));
    QCOMPARE(textsOf(slips, "Text4"), textsOf(report, "Text10"));
    QCOMPARE(textsOf(slips, "Text2"), QStringList({"Budi", "Susi", "Bunga"}));
}

QTEST_MAIN(TestReportDefinitions)
#include "test_reportdefinitions.moc"
