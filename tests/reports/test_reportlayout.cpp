// Laying out the all-staff payment report: bands, pages, values and their places.

#include "ReportItems.h"
#include "TestDatabase.h"
#include "platform/reportengine/Layout.h"
#include "platform/reportengine/PagePainter.h"
#include "reports/ReportLayouts.h"
#include "store/DataEnvironment.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace platform::reportengine;
using namespace reporttest;

namespace {

constexpr int Margin = 1440;
constexpr int ReportHeader = 675;
constexpr int PageHeader = 1890;
constexpr int Detail = 630;
constexpr int PageFooter = 60;

Document layOutAllStaff(const QPageSize &paper = QPageSize(QPageSize::A4))
{
    Document document;
    const store::Status status = layOut(reports::dataReport1(), paper, &document);
    if (!status.ok())
        qWarning() << status.message();
    return document;
}

int footerTop(const Document &document)
{
    return document.pageTwips.height() - Margin - PageFooter;
}

} // namespace

class TestReportLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void threeRowsGiveThreeBandsInRowOrder();
    void valuesPrintAsPlainText();
    void headersRepeatAndBandsNeverSplit_data();
    void headersRepeatAndBandsNeverSplit();
    void longNameIsCutOffAtItsBox();
    void emptyCommandPrintsHeadersOnly();
    void unknownCommandLaysOutEmptyAndSaysWhy();
    void viewLackingAColumnPrintsItBlank();
    void oversizedBandStillEnds();
    void reportFooterStartsAPageOnlyWithControls_data();
    void reportFooterStartsAPageOnlyWithControls();
    void tenThousandRows();
};

void TestReportLayout::threeRowsGiveThreeBandsInRowOrder()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    const Document document = layOutAllStaff();
    QCOMPARE(document.pageCount(), 1);
    QCOMPARE(document.rowCount(), 3);
    const Page page = document.page(0);

    QCOMPARE(textsOf(document, "Text1"), QStringList({"19001", "19002", "20003"}));
    const std::vector<const Item *> nips = itemsNamed(page, "Text1");
    const int firstBand = Margin + ReportHeader + PageHeader;
    for (int row = 0; row < 3; ++row) {
        QCOMPARE(nips[size_t(row)]->rect,
                 QRect(Margin + 135, firstBand + row * Detail + 105, 1020, 210));
    }
    // The second line of a band: position under Jabatan, department name under Departemen.
    const Item *position = itemsNamed(page, "Text3")[0];
    QCOMPARE(position->text, QString("Kepala Bagian"));
    QCOMPARE(position->rect, QRect(Margin + 1200, firstBand + 405, 1740, 210));
    QCOMPARE(textsOf(document, "Text11"),
             QStringList({"Sumber Daya Manusia", "Personalia", "Produksi"}));

    // After the last band only the page footer's line follows, at the bottom of the page.
    const auto lastValue = std::find_if(page.items.rbegin(), page.items.rend(),
                                        [](const Item &i) { return i.name == "Text11"; });
    const std::vector<Item> after(lastValue.base(), page.items.end());
    QCOMPARE(after.size(), size_t(1));
    QCOMPARE(after[0].name, QString("Line2"));
    QCOMPARE(after[0].kind, ItemKind::Line);
    QCOMPARE(after[0].rect, QRect(Margin + 105, footerTop(document) + 30, 8580, 4));
}

void TestReportLayout::valuesPrintAsPlainText()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    const Document document = layOutAllStaff();
    QCOMPARE(textsOf(document, "Text4"), QStringList({"2005", "2010", "2015"}));
    QCOMPARE(textsOf(document, "Text5"), QStringList({"01/01/2025", "01/01/2025", "01/01/2026"}));
    QCOMPARE(textsOf(document, "Text6"), QStringList({"31/12/2025", "31/12/2025", "31/12/2026"}));
    QCOMPARE(textsOf(document, "Text8"), QStringList({"13", "18", "10.5"}));
    QCOMPARE(textsOf(document, "Text9"), QStringList({"150000", "100000", "80000"}));

    // The amount under "Total Gaji" is the query's "Total Uang Cuti", not a sum of the report.
    QCOMPARE(textsOf(document, "Text10"), QStringList({"1950000", "1800000", "840000"}));
    const Page page = document.page(0);
    const Item *heading = item(page, "Label13");
    QCOMPARE(heading->text, QString("Total Gaji"));
    const Item *amount = item(page, "Text10");
    QVERIFY(heading->rect.left() <= amount->rect.left());
    QVERIFY(amount->rect.left() < heading->rect.right());
    QVERIFY(heading->rect.bottom() < amount->rect.top());
}

void TestReportLayout::headersRepeatAndBandsNeverSplit_data()
{
    QTest::addColumn<QPageSize>("paper");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QList<int>>("rowsPerPage");
    // A4: 17 bands under the report header, then 19 a page; Letter: 16, then 17.
    QTest::newRow("A4") << QPageSize(QPageSize::A4) << 40 << QList<int>{17, 19, 4};
    QTest::newRow("Letter") << QPageSize(QPageSize::Letter) << 40 << QList<int>{16, 17, 7};
    QTest::newRow("exactly one full page") << QPageSize(QPageSize::A4) << 17 << QList<int>{17};
}

void TestReportLayout::headersRepeatAndBandsNeverSplit()
{
    QFETCH(QPageSize, paper);
    QFETCH(int, rows);
    QFETCH(QList<int>, rowsPerPage);
    TestDatabase db;
    QVERIFY(addLeaveRows(db, rows));
    const Document document = layOutAllStaff(paper);
    QCOMPARE(document.pageCount(), rowsPerPage.size());

    QStringList expected;
    for (int i = 1; i <= rows; ++i)
        expected << QString::asprintf("N%05d", i);
    QCOMPARE(textsOf(document, "Text1"), expected);

    for (int p = 0; p < document.pageCount(); ++p) {
        const Page page = document.page(p);
        QCOMPARE(int(itemsNamed(page, "Text1").size()), rowsPerPage[p]);
        QCOMPARE(int(itemsNamed(page, "Label1").size()), p == 0 ? 1 : 0);
        const int headerTop = Margin + (p == 0 ? ReportHeader : 0);
        const Item *grey = item(page, "Shape1");
        QVERIFY(grey);
        QCOMPARE(grey->fill, QColor(192, 192, 192));
        QCOMPARE(grey->rect, QRect(Margin + 60, headerTop + 45, 8730, 1065));
        QVERIFY(item(page, "Label2"));
        QCOMPARE(item(page, "Label13")->rect.top(), headerTop + 1620);
        QCOMPARE(item(page, "Line2")->rect.top(), footerTop(document) + 30);
        // The first band starts right under the page header and none runs into the footer.
        QCOMPARE(itemsNamed(page, "Text1")[0]->rect.top(), headerTop + PageHeader + 105);
        for (const Item &i : page.items) {
            if (i.name.startsWith("Text"))
                QVERIFY2(i.rect.bottom() < footerTop(document), qPrintable(i.name));
        }
    }
}

void TestReportLayout::longNameIsCutOffAtItsBox()
{
    TestDatabase db;
    QVERIFY(addLeaveRows(db, 2));
    const QString longName(120, QChar('W'));
    QVERIFY(db.exec("UPDATE Pegawai SET Nama = ? WHERE Nip = 'N00001'", {longName}));
    const Document document = layOutAllStaff();
    const Page page = document.page(0);
    const Item *name = item(page, "Text2");
    QCOMPARE(name->text, longName);
    QCOMPARE(name->rect.size(), QSize(1740, 210));
    QVERIFY(!name->wordWrap);
    // The band does not grow: the second row starts one detail height lower.
    QCOMPARE(itemsNamed(page, "Text1")[1]->rect.top() - itemsNamed(page, "Text1")[0]->rect.top(),
             Detail);

    // Painted at the smallest size, it is still too wide and no ink leaves the box: the gap
    // up to "Tahun Masuk" stays white.
    const int scale = 4; // twips per image pixel
    QImage image(document.pageTwips / scale, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(1.0 / scale, 1.0 / scale);
    PagePainter(document).paint(painter, 0);
    painter.end();
    const QRect gap(name->rect.right() + 1, name->rect.top(),
                    2985 + Margin - 1 - (name->rect.right() + 1), name->rect.height());
    int ink = 0;
    for (int y = gap.top() / scale; y <= gap.bottom() / scale; ++y) {
        for (int x = gap.left() / scale; x <= gap.right() / scale; ++x)
            ink += image.pixel(x, y) != qRgb(255, 255, 255);
    }
    QCOMPARE(ink, 0);
    // ...while the box itself does hold the name's ink.
    int inside = 0;
    for (int x = name->rect.left() / scale; x < name->rect.right() / scale; ++x)
        inside += image.pixel(x, name->rect.center().y() / scale) != qRgb(255, 255, 255);
    QVERIFY(inside > 0);
}

void TestReportLayout::emptyCommandPrintsHeadersOnly()
{
    TestDatabase db;
    const Document document = layOutAllStaff();
    QCOMPARE(document.pageCount(), 1);
    QCOMPARE(document.rowCount(), 0);
    const Page page = document.page(0);
    QVERIFY(item(page, "Label1"));
    QVERIFY(item(page, "Shape1"));
    QVERIFY(item(page, "Label13"));
    QVERIFY(item(page, "Line2"));
    QVERIFY(!item(page, "Text1"));

    // The slip without rows prints no slip, and nothing else either.
    Document slips;
    QVERIFY(layOut(reports::dataReport2(), QPageSize(QPageSize::A4), &slips).ok());
    QCOMPARE(slips.pageCount(), 1);
    QVERIFY(slips.page(0).items.empty());
}

void TestReportLayout::unknownCommandLaysOutEmptyAndSaysWhy()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    ReportDefinition definition = reports::dataReport1();
    definition.dataMember = "NoSuchCommand";
    Document document;
    const store::Status status = layOut(definition, QPageSize(QPageSize::A4), &document);
    QVERIFY(!status.ok());
    QVERIFY(!status.message().isEmpty());
    QCOMPARE(document.pageCount(), 1);
    QVERIFY(item(document.page(0), "Label13"));
    QVERIFY(!item(document.page(0), "Text1"));
}

void TestReportLayout::viewLackingAColumnPrintsItBlank()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    QVERIFY(db.exec("DROP VIEW QupahSisaCuti"));
    QVERIFY(db.exec("CREATE VIEW QupahSisaCuti AS SELECT Nip, Nama FROM Pegawai ORDER BY Nip"));
    Document document;
    QVERIFY(layOut(reports::dataReport1(), QPageSize(QPageSize::A4), &document).ok());
    QCOMPARE(textsOf(document, "Text2"), QStringList({"Budi", "Susi", "Bunga"}));
    QCOMPARE(textsOf(document, "Text10"), QStringList({"", "", ""}));
}

void TestReportLayout::oversizedBandStillEnds()
{
    TestDatabase db;
    QVERIFY(addLeaveRows(db, 3));
    ReportDefinition definition = reports::dataReport1();
    definition.section(SectionRole::Detail)->height = 20000; // taller than the paper
    Document document;
    QVERIFY(layOut(definition, QPageSize(QPageSize::A4), &document).ok());
    // Each band moves to a page of its own, right under the page header.
    QCOMPARE(document.pageCount(), 4);
    QCOMPARE(textsOf(document, "Text1"), QStringList({"N00001", "N00002", "N00003"}));
    for (int p = 1; p <= 3; ++p) {
        const Page page = document.page(p);
        QCOMPARE(itemsNamed(page, "Text1").size(), size_t(1));
        QCOMPARE(item(page, "Text1")->rect.top(), Margin + PageHeader + 105);
    }
}

void TestReportLayout::reportFooterStartsAPageOnlyWithControls_data()
{
    QTest::addColumn<QString>("report");
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("footerLabel");
    QTest::addColumn<int>("pages");
    // DataReport1 on A4: 17 rows on the first page, 19 on the next; a full page leaves no room
    // for the 480 of the report footer. Laporanpersonalia: 16, then 17, and its 1485 of report
    // footer fit under no more than 14 rows.
    QTest::newRow("two full pages, empty footer") << "DataReport1" << 36 << false << 2;
    QTest::newRow("one more row") << "DataReport1" << 37 << false << 3;
    QTest::newRow("two full pages, footer with a label") << "DataReport1" << 36 << true << 3;
    QTest::newRow("footer with a label fits") << "DataReport1" << 35 << true << 2;
    QTest::newRow("department, 14 on the last page") << "Laporanpersonalia" << 30 << false << 2;
    QTest::newRow("department, 15 on the last page") << "Laporanpersonalia" << 31 << false << 2;
    QTest::newRow("department, 17 on the last page") << "Laporanpersonalia" << 33 << false << 2;
    QTest::newRow("department, 15, footer with a label") << "Laporanpersonalia" << 31 << true << 3;
}

void TestReportLayout::reportFooterStartsAPageOnlyWithControls()
{
    QFETCH(QString, report);
    QFETCH(int, rows);
    QFETCH(bool, footerLabel);
    QFETCH(int, pages);
    TestDatabase db;
    QVERIFY(addLeaveRows(db, rows));
    ReportDefinition definition = *reports::reportNamed(report);
    Section *footer = definition.section(SectionRole::ReportFooter);
    if (footerLabel)
        footer->controls.push_back({"End",
                                    ControlKind::Label,
                                    {105, 60, 3000, 270},
                                    "SELESAI",
                                    DefaultFont,
                                    Qt::AlignLeft,
                                    {}});
    Document document;
    QVERIFY(layOut(definition, QPageSize(QPageSize::A4), &document).ok());
    QCOMPARE(document.pageCount(), pages);
    QCOMPARE(textsOf(document, "Text1").size(), rows);
    const Page last = document.page(pages - 1);
    QVERIFY(item(last, "Text1") || footerLabel);
    if (!footerLabel)
        return;
    // The footer's label follows the last band, or tops a page of its own under the header.
    const Item *end = item(last, "End");
    QVERIFY(end);
    const std::vector<const Item *> bands = itemsNamed(last, "Text1");
    const int bandTop = definition.control("Text1")->rect.top();
    const int below = bands.empty() ? Margin + definition.section(SectionRole::PageHeader)->height
                                    : bands.back()->rect.top() - bandTop +
                                          definition.section(SectionRole::Detail)->height;
    QCOMPARE(end->rect.top(), below + 60);
    QVERIFY(end->rect.bottom() < footerTop(document));
}

void TestReportLayout::tenThousandRows()
{
    TestDatabase db;
    QVERIFY(addLeaveRows(db, 10000));
    const Document document = layOutAllStaff();
    // 17 rows on the first A4 page, 19 on each further one.
    QCOMPARE(document.pageCount(), 1 + (10000 - 17 + 18) / 19);
    QCOMPARE(document.rowsOn(document.pageCount() - 1), std::make_pair(9992, 10000));
    const Page last = document.page(document.pageCount() - 1);
    QCOMPARE(itemsNamed(last, "Text1").back()->text, QString("N10000"));
    QCOMPARE(itemsNamed(last, "Text1").size(), size_t(8));
    // A page that does not exist holds nothing.
    QVERIFY(document.page(document.pageCount()).items.empty());
    QVERIFY(document.page(-1).items.empty());
}

QTEST_MAIN(TestReportLayout)
#include "test_reportlayout.moc"
