#include "CleanState.h"
#include "FormDriver.h"
#include "ScriptedDialogs.h"
#include "ShowsWhole.h"
#include "TestDatabase.h"

#include "platform/Timer.h"
#include "platform/WindowRegistry.h"
#include "shell/frmFirstRun.h"
#include "shell/frmLogin.h"
#include "shell/frmSplash.h"
#include "store/Database.h"

#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QSet>
#include <QtTest>

using platform::WindowRegistry;

namespace {

// Shows the splash with its timers stopped, so that the test alone steps it.
frmSplash *stillSplash()
{
    frmSplash *splash = WindowRegistry::show<frmSplash>();
    splash->findChild<platform::Timer *>(QStringLiteral("Timer1"))->stop();
    splash->findChild<platform::Timer *>(QStringLiteral("Timer2"))->stop();
    return splash;
}

QString percentText(frmSplash *splash)
{
    return splash->findChild<QLabel *>(QStringLiteral("persen"))->text();
}

int progress(frmSplash *splash)
{
    return splash->findChild<QProgressBar *>(QStringLiteral("ProgressBar1"))->value();
}

QLabel *warning(frmSplash *splash)
{
    return splash->findChild<QLabel *>(QStringLiteral("lblWarning"));
}

// The colours of the waiting line over a number of colour ticks of a fresh splash.
QList<QColor> colourRun(int ticks)
{
    QPointer<frmSplash> splash = stillSplash();
    QList<QColor> colours;
    for (int i = 0; i < ticks; ++i) {
        splash->colourTick();
        colours << warning(splash)->palette().color(QPalette::WindowText);
    }
    // A closed window is deleted on the next pass of the event loop; the next run needs a
    // new one.
    splash->close();
    if (!QTest::qWaitFor([&] { return splash.isNull(); }))
        return {};
    return colours;
}

} // namespace

class TestSplash : public QObject
{
    Q_OBJECT

private slots:
    void init() { startClean(); }
    void cleanup() { startClean(); }
    void startsWithTimersRunning();
    void firstTickShowsOnePercent();
    void hundredthTickHandsOverToSignIn();
    void handOverWithoutDatabaseShowsTheFirstRun();
    void handOverToAFolderEndsAfterOneMessage();
    void timersDriveTheSplashToTheSignIn();
    void timerRoundsUpToTheResolution_data();
    void timerRoundsUpToTheResolution();
    void blackComesWithinTheSplashsColours();
    void colourSequenceRepeatsInEveryRun();
    void coloursComeFromTheElevenPaletteEntries();
    void warningBackgroundStaysDarkGrey();
    void keyPressCloses_data();
    void keyPressCloses();
    void modifierKeyAloneKeepsSplash();
    void clickOnBareFrameCloses();
    void clickOnControlsDoesNothing_data();
    void clickOnControlsDoesNothing();
};

void TestSplash::startsWithTimersRunning()
{
    TestDatabase db;
    // Loaded, not shown: no event is processed before the first look, so no tick has come.
    frmSplash *splash = WindowRegistry::load<frmSplash>();
    auto *progressTimer = splash->findChild<platform::Timer *>(QStringLiteral("Timer1"));
    auto *colourTimer = splash->findChild<platform::Timer *>(QStringLiteral("Timer2"));
    QVERIFY(progressTimer && colourTimer);
    QVERIFY(progressTimer->isActive());
    QVERIFY(colourTimer->isActive());
    QCOMPARE(progressTimer->interval(), 2);
    QCOMPARE(colourTimer->interval(), 30);
    QCOMPARE(percentText(splash), QStringLiteral("0"));
    QCOMPARE(progress(splash), 0);
    QCOMPARE(warning(splash)->text().size(), 83);
    QVERIFY(warning(splash)->text().startsWith(QStringLiteral("Loading.... , Please Wait !  ")));
    QCOMPARE(splash->size(), QSize(492, 283));
}

void TestSplash::firstTickShowsOnePercent()
{
    TestDatabase db;
    frmSplash *splash = stillSplash();
    splash->progressTick();
    QCOMPARE(percentText(splash), QStringLiteral("1 %"));
    QCOMPARE(progress(splash), 1);
    splash->progressTick();
    QCOMPARE(percentText(splash), QStringLiteral("2 %"));
    QVERIFY(splash->isVisible());
}

void TestSplash::hundredthTickHandsOverToSignIn()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    ScriptedDialogs dialogs;
    QPointer<frmSplash> splash = stillSplash();
    for (int tick = 1; tick < 100; ++tick)
        splash->progressTick();
    QCOMPARE(percentText(splash), QStringLiteral("99 %"));
    QVERIFY(
        showsWhole(splash->findChild<QLabel *>(QStringLiteral("persen")), QStringLiteral("100 %")));
    QVERIFY(splash->isVisible());
    QVERIFY(!WindowRegistry::find<frmLogin>());

    splash->progressTick();
    QVERIFY(shownWindow<frmLogin>());
    QVERIFY(splash.isNull() || !splash->isVisible());
    if (splash) {
        QCOMPARE(percentText(splash), QStringLiteral("100 %"));
        QCOMPARE(progress(splash), 100);
        QVERIFY(!splash->findChild<platform::Timer *>(QStringLiteral("Timer1"))->isActive());
    }
    QTRY_VERIFY(splash.isNull());
    QCOMPARE(dialogs.count(), 0);
}

void TestSplash::handOverWithoutDatabaseShowsTheFirstRun()
{
    TestDatabase db;
    const QString missing = db.folder() + QStringLiteral("/absent/DB PT Mardeko.mdb");
    store::Database::setPath(missing);
    ScriptedDialogs dialogs;
    QPointer<frmSplash> splash = stillSplash();
    for (int tick = 0; tick < 100; ++tick)
        splash->progressTick();
    const frmFirstRun *firstRun = WindowRegistry::find<frmFirstRun>();
    QVERIFY(firstRun && firstRun->isVisible());
    QVERIFY(!shownWindow<frmLogin>());
    QCOMPARE(dialogs.count(), 0);
    QTRY_VERIFY(splash.isNull());
    QVERIFY(!QFileInfo::exists(missing));
}

void TestSplash::handOverToAFolderEndsAfterOneMessage()
{
    TestDatabase db;
    store::Database::setPath(db.folder());
    ScriptedDialogs dialogs;
    dialogs.expect(QStringLiteral("Di tempat database ada sebuah folder"));
    QPointer<frmSplash> splash = stillSplash();
    for (int tick = 0; tick < 100; ++tick)
        splash->progressTick();
    QCOMPARE(dialogs.count(), 1);
    QVERIFY(dialogs.last().text.contains(db.folder()));
    QTRY_VERIFY(splash.isNull());
    QVERIFY(!WindowRegistry::find<frmFirstRun>());
    QVERIFY(!shownWindow<frmLogin>());
}

void TestSplash::timersDriveTheSplashToTheSignIn()
{
    TestDatabase db;
    QVERIFY(db.fillSample());
    QElapsedTimer shown;
    shown.start();
    QPointer<frmSplash> splash = WindowRegistry::show<frmSplash>();
    QTRY_VERIFY_WITH_TIMEOUT(shownWindow<frmLogin>(), 20000);
    // A hundred ticks, each on its own 1/64 s step: the splash stays at least 99 steps.
    QVERIFY2(shown.elapsed() >= 1546, qPrintable(QString::number(shown.elapsed())));
    QTRY_VERIFY(splash.isNull());
}

void TestSplash::timerRoundsUpToTheResolution_data()
{
    QTest::addColumn<int>("interval");
    QTest::addColumn<qint64>("periodUs");
    QTest::newRow("0 ms") << 0 << qint64(15625);
    QTest::newRow("progress, 2 ms") << 2 << qint64(15625);
    QTest::newRow("15 ms") << 15 << qint64(15625);
    QTest::newRow("16 ms") << 16 << qint64(31250);
    QTest::newRow("colour, 30 ms") << 30 << qint64(31250);
    QTest::newRow("32 ms") << 32 << qint64(46875);
    QTest::newRow("1 s") << 1000 << qint64(1000000);
}

void TestSplash::timerRoundsUpToTheResolution()
{
    QFETCH(int, interval);
    QFETCH(qint64, periodUs);
    QCOMPARE(
        std::chrono::duration_cast<std::chrono::microseconds>(platform::Timer::period(interval))
            .count(),
        periodUs);
}

// About fifty colour ticks fit into the splash's 1.6 s; black is among them in every run.
void TestSplash::blackComesWithinTheSplashsColours()
{
    TestDatabase db;
    QVERIFY(colourRun(48).contains(QColor(0, 0, 0)));
}

void TestSplash::colourSequenceRepeatsInEveryRun()
{
    TestDatabase db;
    const QList<QColor> first = colourRun(300);
    const QList<QColor> second = colourRun(300);
    QCOMPARE(first, second);
    // Not one colour all the time.
    QSet<QRgb> distinct;
    for (const QColor &c : first)
        distinct.insert(c.rgb());
    QVERIFY(distinct.size() > 5);
}

void TestSplash::coloursComeFromTheElevenPaletteEntries()
{
    TestDatabase db;
    QHash<QRgb, int> index;
    for (int i = 0; i <= 10; ++i)
        index.insert(frmSplash::paletteColour(i).rgb(), i);
    QCOMPARE(index.size(), 11);
    QCOMPARE(frmSplash::paletteColour(0), QColor(0, 0, 0));
    QCOMPARE(frmSplash::paletteColour(7), QColor(192, 192, 192));
    QCOMPARE(frmSplash::paletteColour(10), QColor(0, 255, 0));

    QList<int> seen(11, 0);
    const QList<QColor> colours = colourRun(4000);
    for (const QColor &c : colours) {
        QVERIFY2(index.contains(c.rgb()), qPrintable(c.name()));
        ++seen[index.value(c.rgb())];
    }
    // Rounding to the nearest index: the two ends come up about half as often as the rest.
    for (int i = 1; i <= 9; ++i)
        QVERIFY2(seen[i] > 300 && seen[i] < 500, qPrintable(QString::number(seen[i])));
    QVERIFY(seen[0] > 120 && seen[0] < 280);
    QVERIFY(seen[10] > 120 && seen[10] < 280);
}

void TestSplash::warningBackgroundStaysDarkGrey()
{
    TestDatabase db;
    frmSplash *splash = stillSplash();
    QLabel *line = warning(splash);
    QCOMPARE(line->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    for (int i = 0; i < 50; ++i) {
        splash->colourTick();
        QCOMPARE(line->palette().color(QPalette::Window), QColor(64, 64, 64));
        QVERIFY(line->autoFillBackground());
    }
}

void TestSplash::keyPressCloses_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("letter") << int(Qt::Key_A);
    QTest::newRow("digit") << int(Qt::Key_5);
    QTest::newRow("space") << int(Qt::Key_Space);
    QTest::newRow("enter") << int(Qt::Key_Return);
    QTest::newRow("escape") << int(Qt::Key_Escape);
    QTest::newRow("backspace") << int(Qt::Key_Backspace);
}

void TestSplash::keyPressCloses()
{
    QFETCH(int, key);
    TestDatabase db;
    QVERIFY(db.fillSample());
    QPointer<frmSplash> splash = stillSplash();
    splash->progressTick();
    QTest::keyClick(splash.data(), Qt::Key(key), Qt::NoModifier);
    QVERIFY(splash.isNull() || !splash->isVisible());
    QTRY_VERIFY(splash.isNull());
    QVERIFY(!WindowRegistry::find<frmLogin>());
}

void TestSplash::modifierKeyAloneKeepsSplash()
{
    TestDatabase db;
    frmSplash *splash = stillSplash();
    QTest::keyClick(splash, Qt::Key_Shift);
    QTest::keyClick(splash, Qt::Key_F5);
    QVERIFY(splash->isVisible());
}

void TestSplash::clickOnBareFrameCloses()
{
    TestDatabase db;
    QPointer<frmSplash> splash = stillSplash();
    auto *frame = splash->findChild<QFrame *>(QStringLiteral("Frame1"));
    const QPoint bare(frame->width() - 40, frame->height() / 2 - 30);
    QVERIFY(!frame->childAt(bare));
    QTest::mouseClick(frame, Qt::LeftButton, {}, bare);
    QVERIFY(splash.isNull() || !splash->isVisible());
    QVERIFY(!WindowRegistry::find<frmLogin>());
}

void TestSplash::clickOnControlsDoesNothing_data()
{
    QTest::addColumn<QString>("control");
    for (const char *name : {"lblCompanyProduct", "lblPlatform", "lblVersion", "lblWarning",
                             "imgLogo", "ProgressBar1", "persen"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestSplash::clickOnControlsDoesNothing()
{
    QFETCH(QString, control);
    TestDatabase db;
    frmSplash *splash = stillSplash();
    auto *target = splash->findChild<QWidget *>(control);
    QVERIFY(target);
    QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
    QVERIFY(splash->isVisible());
}

QTEST_MAIN(TestSplash)
#include "test_splash.moc"
