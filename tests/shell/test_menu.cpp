#include "CleanState.h"
#include "ScriptedDialogs.h"
#include "TestDatabase.h"

#include "platform/BusyPointer.h"
#include "platform/WindowRegistry.h"
#include "shell/Fmenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

using platform::WindowRegistry;

namespace {

const QString ExitText = QStringLiteral("Apakah Anda Yakin Akan Keluar ?\r"
                                        "Terima Kasih Atas Waktunya");

QAction *action(QWidget *window, const QString &name)
{
    return window->findChild<QAction *>(name);
}

// Shows the main window and waits until it is the active window, as shortcuts need.
Fmenu *activeMenu()
{
    Fmenu *menu = WindowRegistry::show<Fmenu>();
    if (!QTest::qWaitForWindowActive(menu))
        qWarning("main window did not become active");
    return menu;
}

int shownWindows(const QString &className)
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return int(std::count_if(windows.begin(), windows.end(), [&](QWidget *w) {
        return w->isVisible() && className == QLatin1String(w->metaObject()->className());
    }));
}

} // namespace

class TestMenu : public QObject
{
    Q_OBJECT

private slots:
    void init() { startClean(); }
    void cleanup() { startClean(); }
    void windowLooksAsDesigned();
    void menuBarHoldsTheMenusInOrder();
    void entries_data();
    void entries();
    void shortcutsWorkWithoutOpeningTheMenu_data();
    void shortcutsWorkWithoutOpeningTheMenu();
    void exitAnsweredNoKeepsTheWindow();
    void exitAnsweredYesClosesTheWindow();
    void altKAsksTheExitQuestion();
    void closingFromOutsideAsksNothing();
};

void TestMenu::windowLooksAsDesigned()
{
    TestDatabase db;
    Fmenu *menu = WindowRegistry::show<Fmenu>();
    QCOMPARE(menu->objectName(), QStringLiteral("Fmenu"));
    QCOMPARE(menu->windowTitle(), QStringLiteral("Program Utama - Kelvara PT. MARDEKO INDONESIA"));
    QVERIFY(!menu->windowIcon().isNull());
    auto *surface = menu->findChild<QWidget *>(QStringLiteral("surface"));
    QVERIFY(surface);
    QCOMPARE(surface->size(), QSize(465, 332));
    QCOMPARE(surface->palette().color(QPalette::Window), QColor(0, 128, 128));
}

void TestMenu::menuBarHoldsTheMenusInOrder()
{
    TestDatabase db;
    Fmenu *menu = WindowRegistry::show<Fmenu>();
    auto *bar = menu->findChild<QMenuBar *>();
    QVERIFY(bar);
    QStringList captions;
    QStringList names;
    for (QAction *entry : bar->actions()) {
        captions << entry->text();
        names << (entry->menu() ? entry->menu()->objectName() : entry->objectName());
    }
    QCOMPARE(captions, QStringList({"&File", "&Proses", "&Report", "&Help", "&Keluar"}));
    QCOMPARE(names, QStringList({"mnfile", "mnproses", "mnlaporan", "mnhelp", "mnKeluar"}));
    // Keluar is an entry of the bar itself, with no drop-down.
    QVERIFY(!bar->actions().last()->menu());
}

void TestMenu::entries_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::newRow("Pegawai") << "mnfile"
                             << "mnfilepegawai"
                             << "&Pegawai" << QKeySequence(Qt::CTRL | Qt::Key_P);
    QTest::newRow("Departemen") << "mnfile"
                                << "mnfiledepartemen"
                                << "&Departemen" << QKeySequence(Qt::CTRL | Qt::Key_D);
    QTest::newRow("Peringkat") << "mnfile"
                               << "mnfileperingkat"
                               << "&Peringkat" << QKeySequence(Qt::CTRL | Qt::Key_J);
    QTest::newRow("Kartu Cuti") << "mnfile"
                                << "mnkartu"
                                << "&Kartu Cuti" << QKeySequence(Qt::CTRL | Qt::Key_K);
    QTest::newRow("Proses Cuti") << "mnproses"
                                 << "mnprosescuti"
                                 << "Proses &Cuti" << QKeySequence(Qt::CTRL | Qt::Key_C);
    QTest::newRow("Slip") << "mnlaporan"
                          << "mnslip"
                          << "Slip Pembayaran Uang Sisa Cuti" << QKeySequence(Qt::Key_F1);
    QTest::newRow("Laporan") << "mnlaporan"
                             << "mnlaporanuangcuti"
                             << "Laporan Pembayaran Uang Cuti" << QKeySequence(Qt::Key_F2);
    QTest::newRow("Riwayat") << "mnlaporan"
                             << "mnriwayat"
                             << "Riwayat Perubahan Data" << QKeySequence(Qt::Key_F3);
    QTest::newRow("About") << "mnhelp"
                           << "mnabout"
                           << "&About" << QKeySequence(Qt::Key_F5);
}

void TestMenu::entries()
{
    QFETCH(QString, menu);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    TestDatabase db;
    Fmenu *window = WindowRegistry::show<Fmenu>();
    auto *dropDown = window->findChild<QMenu *>(menu);
    QVERIFY(dropDown);
    QAction *entry = action(window, name);
    QVERIFY(entry);
    QVERIFY(dropDown->actions().contains(entry));
    QCOMPARE(entry->text(), caption);
    QCOMPARE(entry->shortcut(), shortcut);
    QVERIFY(entry->isEnabled());
    QVERIFY(entry->isVisible());
    QVERIFY(!entry->isCheckable());
}

void TestMenu::shortcutsWorkWithoutOpeningTheMenu_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("window");
    const int ctrl = int(Qt::ControlModifier);
    QTest::newRow("Ctrl+P") << "mnfilepegawai" << int(Qt::Key_P) << ctrl << "Fpegawai";
    QTest::newRow("Ctrl+D") << "mnfiledepartemen" << int(Qt::Key_D) << ctrl << "Fdepartemen";
    QTest::newRow("Ctrl+J") << "mnfileperingkat" << int(Qt::Key_J) << ctrl << "Fperingkat";
    QTest::newRow("Ctrl+K") << "mnkartu" << int(Qt::Key_K) << ctrl << "Fkartucuti";
    QTest::newRow("Ctrl+C") << "mnprosescuti" << int(Qt::Key_C) << ctrl << "FCuti";
    QTest::newRow("F1") << "mnslip" << int(Qt::Key_F1) << 0 << "DataReport2";
    QTest::newRow("F2") << "mnlaporanuangcuti" << int(Qt::Key_F2) << 0 << "Dialog";
    QTest::newRow("F3") << "mnriwayat" << int(Qt::Key_F3) << 0 << "LaporanRiwayat";
    QTest::newRow("F5") << "mnabout" << int(Qt::Key_F5) << 0 << "frmAbout";
}

void TestMenu::shortcutsWorkWithoutOpeningTheMenu()
{
    QFETCH(QString, name);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, window);
    TestDatabase db;
    QVERIFY(db.fillSample());
    ScriptedDialogs dialogs;
    Fmenu *menu = activeMenu();
    QSignalSpy triggered(action(menu, name), &QAction::triggered);
    QTest::keyClick(menu, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(triggered.count(), 1);
    QVERIFY(!QApplication::activePopupWidget());
    QCOMPARE(dialogs.count(), 0);
    // The entry's window is shown, and a second press shows the same one.
    QCOMPARE(shownWindows(window), 1);
    QTest::keyClick(menu, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(shownWindows(window), 1);
    WindowRegistry::closeAll();
}

void TestMenu::exitAnsweredNoKeepsTheWindow()
{
    TestDatabase db;
    ScriptedDialogs dialogs;
    dialogs.expect(ExitText, platform::Answer::No);
    Fmenu *menu = WindowRegistry::show<Fmenu>();
    platform::busy::setBusy();
    action(menu, QStringLiteral("mnKeluar"))->trigger();
    QCOMPARE(dialogs.count(), 1);
    QCOMPARE(dialogs.last().text, ExitText);
    QCOMPARE(dialogs.last().title, QStringLiteral("Exit Program"));
    QCOMPARE(dialogs.last().icon, platform::Icon::Question);
    QCOMPARE(dialogs.last().buttons, platform::Buttons::YesNo);
    QVERIFY(menu->isVisible());
    QVERIFY(!platform::busy::isBusy());
    QCOMPARE(WindowRegistry::find<Fmenu>(), menu);
}

void TestMenu::exitAnsweredYesClosesTheWindow()
{
    TestDatabase db;
    ScriptedDialogs dialogs;
    dialogs.expect(ExitText, platform::Answer::Yes);
    QPointer<Fmenu> menu = WindowRegistry::show<Fmenu>();
    platform::busy::setBusy();
    action(menu, QStringLiteral("mnKeluar"))->trigger();
    QCOMPARE(dialogs.count(), 1);
    QVERIFY(menu.isNull() || !menu->isVisible());
    QVERIFY(!platform::busy::isBusy());
    QTRY_VERIFY(menu.isNull());
}

void TestMenu::altKAsksTheExitQuestion()
{
    TestDatabase db;
    ScriptedDialogs dialogs;
    dialogs.expect(ExitText, platform::Answer::No);
    Fmenu *menu = activeMenu();
    QTest::keyClick(menu, Qt::Key_K, Qt::AltModifier);
    QTRY_COMPARE(dialogs.count(), 1);
    QCOMPARE(dialogs.last().title, QStringLiteral("Exit Program"));
    QVERIFY(menu->isVisible());
}

void TestMenu::closingFromOutsideAsksNothing()
{
    TestDatabase db;
    ScriptedDialogs dialogs;
    QPointer<Fmenu> menu = WindowRegistry::show<Fmenu>();
    QVERIFY(menu->close());
    QCOMPARE(dialogs.count(), 0);
    QTRY_VERIFY(menu.isNull());
}

QTEST_MAIN(TestMenu)
#include "test_menu.moc"
