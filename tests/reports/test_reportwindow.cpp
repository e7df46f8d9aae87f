// The preview window: its frame, paging through many pages, saving, failures; and the fonts.

#include "ReportItems.h"
#include "ScriptedDialogs.h"
#include "TestDatabase.h"
#include "platform/BusyPointer.h"
#include "platform/Twips.h"
#include "platform/WindowRegistry.h"
#include "platform/report/FontSubstitutes.h"
#include "platform/report/PageView.h"
#include "reports/DataReport2.h"
#include "reports/PaymentReports.h"

#include <QFontInfo>
#include <QLabel>
#include <QtTest>

using platform::WindowRegistry;
using platform::report::PageView;

class TestReportWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void previewFrame();
    void paintsOnlyVisiblePages();
    void savesPdfAndTellsWhenItCannot();
    void failingCommandIsTold();
    void fontsResolveToFreeFaces_data();
    void fontsResolveToFreeFaces();
};

void TestReportWindow::initTestCase()
{
    platform::installFontSubstitutes();
}

void TestReportWindow::previewFrame()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    DataReport1 *report = WindowRegistry::show<DataReport1>();
    QCOMPARE(report->windowTitle(), QString("Laporan Seluruh Data"));
    QVERIFY(report->isWindow());
    QVERIFY(!report->parentWidget());
    QVERIFY(!report->isModal());
    QCOMPARE(report->size(), platform::twips::size(15240, 11115));
    QVERIFY(!platform::busy::isBusy());
    QCOMPARE(report->document().pageCount(), 1);
    QCOMPARE(report->findChild<QLabel *>("pageLabel")->text(), QString("Halaman 1 dari 1"));
    // The window draws its page: something dark lands on the white paper.
    const QImage shot = report->grab().toImage();
    QVERIFY(shot.pixelColor(shot.width() / 2, shot.height() / 3).lightness() < 255 ||
            shot.pixelColor(shot.width() / 2, shot.height() / 4).lightness() < 255);
}

void TestReportWindow::paintsOnlyVisiblePages()
{
    TestDatabase db;
    QVERIFY(reporttest::addLeaveRows(db, 3000, "Produksi"));
    Laporanproduksi *report = WindowRegistry::show<Laporanproduksi>();
    auto *view = report->findChild<PageView *>("pageView");
    QVERIFY(view);
    const int pages = report->document().pageCount();
    QVERIFY(pages > 100);

    auto [first, last] = view->visiblePages();
    QCOMPARE(first, 0);
    QVERIFY(last <= 1);

    report->showPage(120);
    QCOMPARE(report->currentPage(), 120);
    std::tie(first, last) = view->visiblePages();
    QVERIFY(first <= 120 && 120 <= last && last - first <= 2);
    QCOMPARE(report->findChild<QLabel *>("pageLabel")->text(),
             QStringLiteral("Halaman 121 dari %1").arg(pages));

    // Zooming keeps the page in view; at a quarter size a few more pages show.
    report->setZoom(25);
    QCOMPARE(report->zoom(), 25);
    QCOMPARE(report->currentPage(), 120);
    std::tie(first, last) = view->visiblePages();
    QVERIFY(last - first <= 6);
    report->setZoom(200);
    QCOMPARE(report->currentPage(), 120);

    report->showPage(pages - 1);
    QCOMPARE(report->currentPage(), pages - 1);
    QCOMPARE(view->visiblePages().second, pages - 1);
    QVERIFY(!report->grab().isNull());
}

void TestReportWindow::savesPdfAndTellsWhenItCannot()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    ScriptedDialogs dialogs;
    DataReport2 *slips = WindowRegistry::show<DataReport2>();
    const QString path = db.folder() + "/slips.pdf";
    QVERIFY(slips->savePdf(path));
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(written.read(5) == "%PDF-");
    QCOMPARE(dialogs.count(), 0);

    const QString nowhere = db.folder() + "/no such folder/slips.pdf";
    QVERIFY(!slips->savePdf(nowhere));
    QCOMPARE(dialogs.count(), 1);
    QVERIFY(dialogs.last().text.contains(nowhere));
    QCOMPARE(dialogs.last().buttons, platform::Buttons::Ok);
    QVERIFY(!platform::busy::isBusy());
    QVERIFY(slips->isVisible());
}

void TestReportWindow::failingCommandIsTold()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    // A database whose query is gone: the report still opens, with its headers, and says why.
    QVERIFY(db.exec("DROP VIEW QlapSDM"));
    ScriptedDialogs dialogs;
    LaporanSDM *report = WindowRegistry::show<LaporanSDM>();
    QCOMPARE(dialogs.count(), 1);
    QVERIFY(dialogs.last().text.contains("QlapSDM"));
    QVERIFY(report->isVisible());
    QCOMPARE(report->document().pageCount(), 1);
    QVERIFY(reporttest::item(report->document().pages[0], "Label2"));
    QVERIFY(!reporttest::item(report->document().pages[0], "Text1"));
    QVERIFY(!platform::busy::isBusy());
}

void TestReportWindow::fontsResolveToFreeFaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("resolved");
    QTest::newRow("Arial") << "Arial"
                           << "Liberation Sans";
    QTest::newRow("Times New Roman") << "Times New Roman"
                                     << "Liberation Serif";
    QTest::newRow("Book Antiqua") << "Book Antiqua"
                                  << "P052";
    QTest::newRow("AvantGarde Md BT") << "AvantGarde Md BT"
                                      << "URW Gothic";
    QTest::newRow("MS Sans Serif") << "MS Sans Serif"
                                   << "Liberation Sans";
}

void TestReportWindow::fontsResolveToFreeFaces()
{
    QFETCH(QString, name);
    QFETCH(QString, resolved);
    QFont font(name);
    font.setPointSizeF(9);
    // A face installed by two foundries is named with its foundry: "P052 [UKWN]".
    const QString family = QFontInfo(font).family();
    QVERIFY2(family == resolved || family.startsWith(resolved + " ["), qPrintable(family));
}

QTEST_MAIN(TestReportWindow)
#include "test_reportwindow.moc"
