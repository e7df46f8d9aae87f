// The preview window: its frame, paging through many pages, saving, failures; and the fonts.

#include "CleanState.h"
#include "FormDriver.h"
#include "ReportItems.h"
#include "SaveDialog.h"
#include "ScriptedDialogs.h"
#include "TestDatabase.h"
#include "leave/FCuti.h"
#include "platform/BusyPointer.h"
#include "platform/FontSubstitutes.h"
#include "platform/Twips.h"
#include "platform/WindowRegistry.h"
#include "platform/reportengine/PageView.h"
#include "reports/DataReport2.h"
#include "reports/Dialog.h"
#include "reports/PaymentReports.h"

#include <QFileDialog>
#include <QFontInfo>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

using platform::WindowRegistry;
using platform::reportengine::PageView;

class TestReportWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { startClean(); }
    void cleanup() { startClean(); }
    void initTestCase();
    void previewFrame();
    void paintsOnlyVisiblePages();
    void pageKeys_data();
    void pageKeys();
    void ctrlWClosesAndBringsTheDialogBack();
    void savesPdfAndTellsWhenItCannot();
    void shownAgainAfterALeaveChangePrintsIt();
    void saveAsAsksBeforeReplacing_data();
    void saveAsAsksBeforeReplacing();
    void longSaveShowsProgressAndBatalLeavesNoFile_data();
    void longSaveShowsProgressAndBatalLeavesNoFile();
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
    // The client area of 15240 x 11115, no larger than the screen's free area.
    const QSize free = report->screen()->availableGeometry().size();
    const QSize wanted = platform::twips::size(15240, 11115);
    for (const auto &[side, asked, room] :
         {std::tuple{report->width(), wanted.width(), free.width()},
          {report->height(), wanted.height(), free.height()}}) {
        QVERIFY(side <= std::min(asked, room));
        QVERIFY(side == asked || side > room - 100); // cut to the screen only
    }
    QVERIFY(!platform::busy::isBusy());
    QCOMPARE(report->document().pageCount(), 1);
    QCOMPARE(report->findChild<QLabel *>("pageLabel")->text(), QString("Halaman 1 dari 1"));
    // The window draws its page: ink lands on the white paper, not only the paper itself.
    const QImage shot = report->findChild<PageView *>("pageView")->viewport()->grab().toImage();
    QRect paper;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if (shot.pixelColor(x, y) == Qt::white)
                paper |= QRect(x, y, 1, 1);
        }
    }
    QVERIFY(paper.width() > 100 && paper.height() > 100);
    int ink = 0;
    for (int y = paper.top(); y <= paper.bottom(); ++y) {
        for (int x = paper.left(); x <= paper.right(); ++x)
            ink += shot.pixelColor(x, y).lightness() < 128;
    }
    QVERIFY2(ink > 50, qPrintable(QString::number(ink)));
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

void TestReportWindow::pageKeys_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("to"); // -1: the last page
    QTest::newRow("End") << 0 << int(Qt::Key_End) << 0 << -1;
    QTest::newRow("Ctrl+End") << 0 << int(Qt::Key_End) << int(Qt::ControlModifier) << -1;
    QTest::newRow("Home") << 50 << int(Qt::Key_Home) << 0 << 0;
    QTest::newRow("Ctrl+Home") << 50 << int(Qt::Key_Home) << int(Qt::ControlModifier) << 0;
    QTest::newRow("PageDown") << 50 << int(Qt::Key_PageDown) << 0 << 51;
    QTest::newRow("PageUp") << 50 << int(Qt::Key_PageUp) << 0 << 49;
    QTest::newRow("PageUp on the first page") << 0 << int(Qt::Key_PageUp) << 0 << 0;
}

void TestReportWindow::pageKeys()
{
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, to);
    TestDatabase db;
    QVERIFY(reporttest::addLeaveRows(db, 300));
    DataReport2 *slips = WindowRegistry::show<DataReport2>();
    const int pages = slips->document().pageCount();
    QCOMPARE(pages, 150);
    slips->showPage(from);
    QVERIFY(QTest::qWaitForWindowActive(slips));
    // The keys reach the pages wherever the focus lies in the window.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(slips->currentPage(), to < 0 ? pages - 1 : to);
    QCOMPARE(slips->findChild<QLabel *>("pageLabel")->text(),
             QStringLiteral("Halaman %1 dari %2").arg(slips->currentPage() + 1).arg(pages));
}

void TestReportWindow::ctrlWClosesAndBringsTheDialogBack()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    const auto pressCtrlW = [](QWidget *window) {
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_W, Qt::ControlModifier);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    pressCtrlW(WindowRegistry::show<DataReport1>());
    QVERIFY(!WindowRegistry::find<DataReport1>());
    QVERIFY(WindowRegistry::find<Dialog>() && WindowRegistry::find<Dialog>()->isVisible());

    // The slip closes the same way and brings nothing back.
    WindowRegistry::closeAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    pressCtrlW(WindowRegistry::show<DataReport2>());
    QVERIFY(!WindowRegistry::find<DataReport2>());
    QVERIFY(!WindowRegistry::find<Dialog>());
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
    dialogs.expect("File PDF tidak dapat ditulis: " + nowhere);
    QVERIFY(!slips->savePdf(nowhere));
    QCOMPARE(dialogs.count(), 1);
    QVERIFY(dialogs.last().text.contains(nowhere));
    QCOMPARE(dialogs.last().buttons, platform::Buttons::Ok);
    QVERIFY(!platform::busy::isBusy());
    QVERIFY(slips->isVisible());
}

void TestReportWindow::shownAgainAfterALeaveChangePrintsIt()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    ScriptedDialogs dialogs;
    DataReport2 *slips = WindowRegistry::show<DataReport2>();
    DataReport1 *all = WindowRegistry::show<DataReport1>();
    QCOMPARE(reporttest::textsOf(slips->document(), "Text4").value(0), QString("1950000"));

    // 19001 earns 150000 a day and has 13 days left; 10.3 more taken leave 2.7.
    FormDriver form(WindowRegistry::show<FCuti>());
    QVERIFY(form.click("cmdRubah"));
    QVERIFY(form.type("txtcuti", "10.3"));
    dialogs.expect("Data sudah Disimpan!");
    QVERIFY(form.click("cmdSimpan"));
    QCOMPARE(dialogs.last().text, QString("Data sudah Disimpan!"));

    // An open report keeps the rows it was shown with, until it is shown again.
    QCOMPARE(reporttest::textsOf(slips->document(), "Text4").value(0), QString("1950000"));
    QCOMPARE(WindowRegistry::show<DataReport2>(), slips);
    QCOMPARE(reporttest::textsOf(slips->document(), "Text4").value(0), QString("405000"));
    // Closed and opened anew, a report reads its rows afresh too.
    all->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!WindowRegistry::find<DataReport1>());
    all = WindowRegistry::show<DataReport1>();
    QCOMPARE(reporttest::textsOf(all->document(), "Text8").value(0), QString("2.7"));
    QCOMPARE(reporttest::textsOf(all->document(), "Text10").value(0), QString("405000"));
}

void TestReportWindow::saveAsAsksBeforeReplacing_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<platform::Answer>("answer");
    QTest::addColumn<bool>("written");
    QTest::newRow("new name without suffix") << "baru" << false << platform::Answer::No << true;
    QTest::newRow("existing, typed without suffix, No")
        << "saved1" << true << platform::Answer::No << false;
    QTest::newRow("existing, typed without suffix, Yes")
        << "saved1" << true << platform::Answer::Yes << true;
    QTest::newRow("existing, typed whole, No")
        << "saved1.pdf" << true << platform::Answer::No << false;
}

void TestReportWindow::saveAsAsksBeforeReplacing()
{
    QFETCH(QString, typed);
    QFETCH(bool, exists);
    QFETCH(platform::Answer, answer);
    QFETCH(bool, written);
    TestDatabase db;
    QVERIFY(db.fillSample());
    ScriptedDialogs dialogs;
    const QString target = db.folder() + "/" + QFileInfo(typed).completeBaseName() + ".pdf";
    if (exists) {
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        dialogs.expect("File " + QDir::toNativeSeparators(target) + " sudah ada.", answer);
    }
    DataReport2 *slips = WindowRegistry::show<DataReport2>();
    QString suggested;
    typeIntoSaveDialog(db.folder(), typed, &suggested);
    auto *bar = slips->findChild<QToolBar *>("previewToolBar");
    QTest::mouseClick(bar->widgetForAction(slips->findChild<QAction *>("pdfAction")),
                      Qt::LeftButton);
    QCOMPARE(QFileInfo(suggested).fileName(), QString("Slip Pembayaran Uang Cuti.pdf"));
    QCOMPARE(dialogs.count(), exists ? 1 : 0);
    if (exists) {
        QCOMPARE(dialogs.last().buttons, platform::Buttons::YesNo);
        QVERIFY(dialogs.last().text.contains(QFileInfo(target).fileName()));
    }
    QFile file(target);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(5) == "%PDF-", written);
}

void TestReportWindow::longSaveShowsProgressAndBatalLeavesNoFile_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<bool>("batal");
    for (const QString suffix : {"pdf", "xlsx"}) {
        const QByteArray kind = suffix.toLatin1();
        QTest::newRow(kind + ", written whole") << suffix << false << false;
        QTest::newRow(kind + ", Batal, new file") << suffix << false << true;
        QTest::newRow(kind + ", Batal, replacing a file") << suffix << true << true;
    }
}

void TestReportWindow::longSaveShowsProgressAndBatalLeavesNoFile()
{
    QFETCH(QString, suffix);
    QFETCH(bool, exists);
    QFETCH(bool, batal);
    const bool pdf = suffix == "pdf";
    TestDatabase db;
    // A workbook tells its progress by rows, more of them than a PDF's pages.
    QVERIFY(reporttest::addLeaveRows(db, pdf ? 40 : 400));
    ScriptedDialogs dialogs;
    const QString target = db.folder() + "/slips." + suffix;
    if (exists) {
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        dialogs.expect("File " + QDir::toNativeSeparators(target) + " sudah ada.",
                       platform::Answer::Yes);
    }
    const QStringList before = QDir(db.folder()).entryList(QDir::Files);
    DataReport2 *slips = WindowRegistry::show<DataReport2>();
    const int pages = slips->document().pageCount();
    QCOMPARE(pages, pdf ? 20 : 200);
    // Writing here takes less than a moment: the dialog is told to show at once.
    slips->setProgressDelay(0);

    QStringList shown;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] {
        auto *progress = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget());
        if (!progress || !progress->isVisible() || !progress->labelText().contains(" dari ") ||
            !shown.isEmpty())
            return;
        shown << progress->labelText();
        QVERIFY(!platform::busy::isBusy());
        if (batal)
            QTest::mouseClick(progress->findChild<QPushButton *>(), Qt::LeftButton);
    });
    QVERIFY(QTest::qWaitForWindowActive(slips));
    QString suggested;
    typeIntoSaveDialog(db.folder(), "slips", &suggested);
    watch.start(0);
    auto *bar = slips->findChild<QToolBar *>("previewToolBar");
    QTest::mouseClick(
        bar->widgetForAction(slips->findChild<QAction *>(pdf ? "pdfAction" : "xlsxAction")),
        Qt::LeftButton);
    watch.stop();

    QCOMPARE(shown.size(), 1);
    const QString progress = pdf ? "^Menyimpan PDF\\.\\.\\. halaman \\d+ dari %1$"
                                 : "^Mengekspor ke Excel\\.\\.\\. baris \\d+ dari %1$";
    QVERIFY2(QRegularExpression(progress.arg(pdf ? pages : 400)).match(shown.first()).hasMatch(),
             qPrintable(shown.first()));
    QCOMPARE(dialogs.count(), exists ? 1 : 0); // the question to replace, no failure
    QVERIFY(!platform::busy::isBusy());
    QVERIFY(slips->isVisible());
    // Nothing but the target, whole or as it was, and nothing beside it.
    QStringList expected = before;
    if (!exists && !batal)
        expected << "slips." + suffix;
    QStringList after = QDir(db.folder()).entryList(QDir::Files);
    expected.sort();
    after.sort();
    QCOMPARE(after, expected);
    QFile file(target);
    QCOMPARE(file.exists(), exists || !batal);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray content = file.readAll();
        if (batal) {
            QCOMPARE(content, QByteArray("old"));
        } else if (pdf) {
            QVERIFY(content.startsWith("%PDF-") && content.trimmed().endsWith("%%EOF"));
            QVERIFY(content.contains(QStringLiteral("/Count %1").arg(pages).toLatin1()));
        } else {
            QVERIFY(content.startsWith("PK\x03\x04"));
        }
    }
}

void TestReportWindow::failingCommandIsTold()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    // A database whose query is gone: the report still opens, with its headers, and says why.
    QVERIFY(db.exec("DROP VIEW QlapSDM"));
    ScriptedDialogs dialogs;
    dialogs.expect("Database menolak perintah ini.");
    LaporanSDM *report = WindowRegistry::show<LaporanSDM>();
    QCOMPARE(dialogs.count(), 1);
    QVERIFY(dialogs.last().text.contains("QlapSDM"));
    QVERIFY(report->isVisible());
    QCOMPARE(report->document().pageCount(), 1);
    QVERIFY(reporttest::item(report->document().page(0), "Label2"));
    QVERIFY(!reporttest::item(report->document().page(0), "Text1"));
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
