#include "OtherProgramLock.h"

#include "store/Database.h"
#include "store/Users.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <memory>

// The real program under the test's X server: each way out of it, whichever window is the
// last to close, ends the process with exit code 0.
namespace {

const QString AccessFolder = QStringLiteral(KELVARA_FIXTURES "/access");

// Runs xdotool; its output, or nothing when it failed or took longer than the wait.
QString xdotool(const QStringList &arguments, int waitMs = 30000)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    if (!tool.waitForFinished(waitMs) || tool.exitCode() != 0) {
        tool.kill();
        tool.waitForFinished();
        return {};
    }
    return QString::fromUtf8(tool.readAllStandardOutput()).section(u'\n', 0, 0);
}

// The first visible window of the process with that title, or with no title (the splash,
// found by its class); polled often, so that the splash, which shows for 1.6 s, is caught
// early in its life.
QString windowOf(qint64 pid, const QString &title)
{
    const QStringList match =
        title.isEmpty() ? QStringList{"--classname", "kelvara"}
                        : QStringList{"--name", QLatin1Char('^') + title + QLatin1Char('$')};
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 30000) {
        // A search that meets a window as it is destroyed can hang: give each one a short
        // wait of its own, so that one stuck search does not use up the whole time.
        const QString id = xdotool(
            QStringList{"search", "--all", "--onlyvisible", "--pid", QString::number(pid)} + match,
            2000);
        if (!id.isEmpty())
            return id;
        QThread::msleep(20);
    }
    return {};
}

bool sqlOn(const QString &path, const QString &sql)
{
    bool done = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "arrange");
        db.setDatabaseName(path);
        done = db.open() && QSqlQuery(db).exec(sql);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("arrange"));
    return done;
}

bool programDatabase(const QString &path)
{
    bool made = store::Database::create(path).ok();
    store::Database::setPath(path);
    made = made && store::Database::open().ok() &&
           store::users::add(QStringLiteral("admin"), QStringLiteral("admin")).ok();
    store::Database::close();
    store::Database::setPath(QString());
    return made;
}

// Puts what the case names at the database's place.
bool arrange(const QString &kind, const QString &place)
{
    if (kind == u"nothing" || kind == u"splash")
        return true;
    if (kind == u"folder")
        return QDir().mkpath(place);
    if (kind == u"link")
        return QFile::link(place + QStringLiteral(".gone"), place);
    if (kind == u"access")
        return QFile::copy(AccessFolder + QStringLiteral("/sample.mdb"), place);
    if (kind == u"foreign")
        return sqlOn(place, QStringLiteral("CREATE TABLE Catatan (Isi TEXT)"));
    if (kind == u"junk" || kind == u"empty") {
        QFile file(place);
        return file.open(QIODevice::WriteOnly) &&
               file.write(kind == u"junk" ? QByteArray(4096, '\x5a') : QByteArray()) >= 0;
    }
    if (!programDatabase(place))
        return false;
    return kind != u"no view" || sqlOn(place, QStringLiteral("DROP VIEW QlapSI"));
}

} // namespace

class TestExits : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void lastWindowEndsTheProgram_data();
    void lastWindowEndsTheProgram();

private:
    QProcess m_server;
};

// An X server of the test's own: Xvfb picks a free display and names it, so that tests and
// programs running at the same time never share one. An X server resets itself when its last
// client leaves and then drops whoever connected meanwhile; each case ends the program, its
// only client, and starts the next at once, so the server must never reset.
void TestExits::initTestCase()
{
    m_server.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-noreset", "-screen", "0",
                                            "1280x1024x24", "-nolisten", "tcp"});
    QVERIFY(m_server.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(m_server.canReadLine(), 30000);
    const QByteArray display = m_server.readLine().trimmed();
    QVERIFY(!display.isEmpty());
    qputenv("DISPLAY", ':' + display);
}

void TestExits::cleanupTestCase()
{
    m_server.terminate();
    m_server.waitForFinished();
}

void TestExits::lastWindowEndsTheProgram_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("keys");
    QTest::newRow("key press on the splash") << "splash" << QString() << "a";
    QTest::newRow("no database: first run, Keluar") << "nothing"
                                                    << "Kelvara - Database Baru"
                                                    << "alt+k";
    QTest::newRow("Access file: first run, Keluar") << "access"
                                                    << "Kelvara - Database Baru"
                                                    << "alt+k";
    const char *const messages[] = {"junk", "empty", "folder", "link", "foreign", "no view"};
    for (const char *kind : messages)
        QTest::newRow(kind) << kind << "Database Kelvara"
                            << "Return";
    QTest::newRow("locked: not tried again") << "locked"
                                             << "Database Kelvara"
                                             << "Escape";
    QTest::newRow("sign-in cancelled") << "database"
                                       << "Login"
                                       << "Escape";
}

void TestExits::lastWindowEndsTheProgram()
{
    QFETCH(QString, kind);
    QFETCH(QString, window);
    QFETCH(QString, keys);
    QTemporaryDir home;
    const QString place = home.filePath(QStringLiteral("Kelvara/DB PT Mardeko.mdb"));
    QVERIFY(QDir().mkpath(QFileInfo(place).absolutePath()));
    QVERIFY(arrange(kind, place));
    std::unique_ptr<OtherProgramLock> lock;
    if (kind == u"locked") {
        lock = std::make_unique<OtherProgramLock>(place);
        QVERIFY(lock->held());
    }

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(KELVARA_PROGRAM), QStringList());
    QVERIFY(program.waitForStarted());

    const QString id = windowOf(program.processId(), window);
    QVERIFY2(!id.isEmpty(), qPrintable(window));
    xdotool({"windowfocus", "--sync", id});
    xdotool({"key", "--clearmodifiers", keys});
    const bool ended = program.waitForFinished(20000);
    if (!ended)
        program.kill();
    QVERIFY2(ended, "the program went on after its last window closed");
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    if (kind == u"access")
        QVERIFY(!QFileInfo::exists(home.filePath("Kelvara/DB PT Mardeko (Access).mdb")));
}

QTEST_GUILESS_MAIN(TestExits)
#include "test_exits.moc"
