#include "CleanState.h"
#include "FormDriver.h"
#include "Keyboard.h"
#include "OtherProgramLock.h"
#include "OwnerOnly.h"
#include "ScriptedDialogs.h"
#include "TestDatabase.h"

#include "platform/WindowRegistry.h"
#include "shell/Fmenu.h"
#include "shell/Startup.h"
#include "shell/frmFirstRun.h"
#include "shell/frmLogin.h"
#include "store/Backup.h"
#include "store/Database.h"
#include "store/Passwords.h"
#include "store/Users.h"

#include <QCryptographicHash>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QtTest>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

using platform::WindowRegistry;

namespace {

const QString AccessFolder = QStringLiteral(KELVARA_FIXTURES "/access");

// The start after the splash, with the database's place inside the test's folder.
class Place
{
public:
    Place() : m_path(m_db.folder() + QStringLiteral("/Kelvara/DB PT Mardeko.mdb"))
    {
        store::Database::close();
        store::Database::setPath(m_path);
    }
    QString path() const { return m_path; }
    QString folder() const { return m_db.folder() + QStringLiteral("/Kelvara"); }
    TestDatabase &db() { return m_db; }

private:
    TestDatabase m_db;
    QString m_path;
};

frmFirstRun *firstRun()
{
    frmFirstRun *window = WindowRegistry::find<frmFirstRun>();
    return window && window->isVisible() ? window : nullptr;
}

QStringList column(const QString &sql)
{
    QStringList values;
    const auto query = store::Database::connection().query(sql, store::Status::Operation::Read);
    if (query->run().ok()) {
        while (query->next())
            values << query->value(0).toString();
    }
    return values;
}

// Signs in through the sign-in window as a person would.
bool signIn(const QString &user, const QString &password)
{
    frmLogin *login = WindowRegistry::find<frmLogin>();
    if (login != shownWindow<frmLogin>())
        return false;
    FormDriver form(login);
    typeText(form.find("txtUserName"), user);
    typeText(form.find("txtPassword"), password);
    QTest::keyClick(form.find("txtPassword"), Qt::Key_Return);
    return shownWindow<Fmenu>();
}

// Answers Yes to "try again" once the other program has let the file go.
class ReleasingDialogs : public ScriptedDialogs
{
public:
    explicit ReleasingDialogs(OtherProgramLock &lock) : m_lock(lock)
    {
        expect(QStringLiteral("Database sedang dipakai program lain"), platform::Answer::Yes);
    }
    platform::Answer message(const QString &text, const QString &title, platform::Icon icon,
                             platform::Buttons buttons) override
    {
        m_lock.release();
        return ScriptedDialogs::message(text, title, icon, buttons);
    }

private:
    OtherProgramLock &m_lock;
};

} // namespace

class TestFirstRun : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        startClean();
#ifndef Q_OS_WIN
        umask(022);
#endif
    }
    void cleanup()
    {
        startClean();
    }
    void newDatabaseWithFirstUserSignsIn();
    void newUserIsChecked_data();
    void newUserIsChecked();
    void bringsAChosenAccessFileAcross();
    void refusedRowsAreShownAndCanBeLeftOut();
    void bringsTheAccessFileAtThePlaceAcross();
    void lockedDatabaseIsTriedAgain();
    void whatIsNeitherIsLeftAlone_data();
    void whatIsNeitherIsLeftAlone();
    void damagedDatabaseIsOfferedItsBackups();
    void signInBacksUpTheDay_data();
    void signInBacksUpTheDay();
};

void TestFirstRun::newDatabaseWithFirstUserSignsIn()
{
    Place place;
    ScriptedDialogs dialogs;
    shell::showFirstWindow();
    FormDriver form(firstRun());
    QVERIFY(form.find("cmdNew")->isVisible());
    QVERIFY(form.click("cmdNew"));
    typeText(form.find("txtUserName"), QStringLiteral("Ümit O'Brien"));
    typeText(form.find("txtPassword"), QStringLiteral("rahasia ü"));
    typeText(form.find("txtPassword2"), QStringLiteral("rahasia ü"));
    QCOMPARE(form.find<QLineEdit>("txtPassword2")->displayText(), QStringLiteral("*********"));
    QVERIFY(form.click("cmdCreate"));
    QCOMPARE(dialogs.count(), 0);
    QVERIFY(!firstRun());

    VERIFY_OWNER_ONLY(place.path());
    VERIFY_OWNER_ONLY(place.folder());
    const QStringList stored = column(QStringLiteral("SELECT Password FROM TPassword"));
    QCOMPARE(stored.size(), 1);
    QVERIFY(stored.first().startsWith(QStringLiteral("$argon2id$v=19$")));
    QVERIFY(signIn(QStringLiteral("üMIT o'brien"), QStringLiteral("rahasia ü")));
}

void TestFirstRun::newUserIsChecked_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("repeated");
    QTest::addColumn<QString>("message");
    QTest::newRow("no name") << "  "
                             << "a"
                             << "a"
                             << "Nama pengguna tidak boleh kosong.";
    QTest::newRow("no password") << "ani"
                                 << ""
                                 << ""
                                 << "Password tidak boleh kosong.";
    QTest::newRow("passwords differ") << "ani"
                                      << "rahasia"
                                      << "Rahasia"
                                      << "Kedua password tidak sama. Ketik lagi keduanya.";
}

void TestFirstRun::newUserIsChecked()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, repeated);
    QFETCH(QString, message);
    Place place;
    ScriptedDialogs dialogs;
    shell::showFirstWindow();
    FormDriver form(firstRun());
    QVERIFY(form.click("cmdNew"));
    typeText(form.find("txtUserName"), user);
    typeText(form.find("txtPassword"), password);
    typeText(form.find("txtPassword2"), repeated);
    dialogs.expect(message);
    QTest::keyClick(form.find("txtPassword2"), Qt::Key_Return);
    QCOMPARE(dialogs.count(), 1);
    QCOMPARE(dialogs.last().text, message);
    QVERIFY(firstRun());
    QVERIFY(!QFileInfo::exists(place.path()));
}

void TestFirstRun::bringsAChosenAccessFileAcross()
{
    Place place;
    ScriptedDialogs dialogs;
    dialogs.choose(AccessFolder + QStringLiteral("/sample.mdb"));
    shell::showFirstWindow();
    FormDriver form(firstRun());
    QVERIFY(form.click("cmdImport"));
    const QString report = form.find<QPlainTextEdit>("txtReport")->toPlainText();
    QVERIFY2(report.contains(QStringLiteral("Pegawai: 6 baris dibaca, 6 ditulis")),
             qPrintable(report));
    QCOMPARE(form.find<QProgressBar>("ProgressBar1")->value(),
             form.find<QProgressBar>("ProgressBar1")->maximum());
    VERIFY_OWNER_ONLY(place.path());
    VERIFY_OWNER_ONLY(place.folder());
    // The passwords read from Access are stored as hashes only.
    for (const QString &stored : column(QStringLiteral("SELECT Password FROM TPassword")))
        QVERIFY2(store::passwords::isHash(stored), qPrintable(stored));
    QVERIFY(form.click("cmdSignIn"));
    QVERIFY(!firstRun());
    QVERIFY(signIn(QStringLiteral("keuangan"), QStringLiteral("uang'2020")));
    QCOMPARE(dialogs.count(), 1); // the file chooser
}

void TestFirstRun::refusedRowsAreShownAndCanBeLeftOut()
{
    Place place;
    ScriptedDialogs dialogs;
    dialogs.choose(AccessFolder + QStringLiteral("/broken.mdb"));
    shell::showFirstWindow();
    FormDriver form(firstRun());
    QVERIFY(form.click("cmdImport"));
    auto *report = form.find<QPlainTextEdit>("txtReport");
    QCOMPARE(report->toPlainText().count(QStringLiteral("Ditolak: ")), 4);
    QVERIFY(report->toPlainText().contains(QStringLiteral("Tidak ada yang dipindahkan")));
    QVERIFY(!QFileInfo::exists(place.path()));
    QVERIFY(!form.find("cmdSignIn")->isVisible());

    QVERIFY(form.click("cmdSkipBad"));
    const QString csv = place.folder() + QStringLiteral("/DB PT Mardeko - ditolak.csv");
    QVERIFY2(report->toPlainText().contains(QStringLiteral("4 baris ditolak")),
             qPrintable(report->toPlainText()));
    VERIFY_OWNER_ONLY(place.path());
    VERIFY_OWNER_ONLY(csv);
    QCOMPARE(column(QStringLiteral("SELECT count(*) FROM Pegawai")), QStringList{"6"});
    // Nothing else is left beside the database.
    QCOMPARE(QDir(place.folder()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

void TestFirstRun::bringsTheAccessFileAtThePlaceAcross()
{
    Place place;
    QVERIFY(QDir().mkpath(place.folder()));
    QVERIFY(QFile::copy(AccessFolder + QStringLiteral("/sample.mdb"), place.path()));
    const QByteArray access = TestDatabase::digest(place.path());
    ScriptedDialogs dialogs;
    shell::showFirstWindow();
    FormDriver form(firstRun());
    // There is a file at the place: nothing is offered that would make a new one over it.
    QVERIFY(!form.find("cmdNew")->isVisible());
    QVERIFY(form.click("cmdImport"));
    QCOMPARE(TestDatabase::digest(place.folder() + QStringLiteral("/DB PT Mardeko (Access).mdb")),
             access);
    VERIFY_OWNER_ONLY(place.path());
    QVERIFY(form.click("cmdSignIn"));
    QVERIFY(signIn(QStringLiteral("admin"), QStringLiteral("Rahasia#1")));
    QCOMPARE(dialogs.count(), 0);
}

void TestFirstRun::lockedDatabaseIsTriedAgain()
{
    Place place;
    QVERIFY(store::Database::create(place.path()).ok());
    OtherProgramLock lock(place.path());
    QVERIFY(lock.held());
    ReleasingDialogs dialogs(lock);
    shell::showFirstWindow();
    QCOMPARE(dialogs.count(), 1);
    QVERIFY(dialogs.last().text.contains(QStringLiteral("sedang dipakai program lain")));
    QCOMPARE(dialogs.last().buttons, platform::Buttons::YesNo);
    QVERIFY(shownWindow<frmLogin>());
    QVERIFY(!firstRun());
}

void TestFirstRun::whatIsNeitherIsLeftAlone_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("said");
    QTest::newRow("random bytes") << "junk"
                                  << "file is not a database";
    QTest::newRow("empty file") << "empty"
                                << "no such table";
    QTest::newRow("folder") << "folder"
                            << "sebuah folder";
    QTest::newRow("link to nothing") << "link"
                                     << "tautan simbolik";
}

void TestFirstRun::whatIsNeitherIsLeftAlone()
{
    QFETCH(QString, kind);
    QFETCH(QString, said);
    Place place;
    QVERIFY(QDir().mkpath(place.folder()));
    if (kind == u"folder") {
        QVERIFY(QDir().mkpath(place.path()));
    } else if (kind == u"link") {
        QVERIFY(QFile::link(place.folder() + QStringLiteral("/gone.mdb"), place.path()));
    } else {
        QFile file(place.path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(kind == u"junk" ? QByteArray(4096, '\x5a') : QByteArray());
    }
    const QByteArray before = TestDatabase::digest(place.path());
    ScriptedDialogs dialogs;
    dialogs.expect(kind == u"folder" || kind == u"link"
                       ? QStringLiteral("Di tempat database ada ")
                       : QStringLiteral("Database tidak dapat dibuka:"));
    shell::showFirstWindow();
    QCOMPARE(dialogs.count(), 1);
    QVERIFY2(dialogs.last().text.contains(said), qPrintable(dialogs.last().text));
    QVERIFY(dialogs.last().text.contains(place.path()));
    QVERIFY(!firstRun());
    QVERIFY(!WindowRegistry::find<frmLogin>());
    QCOMPARE(TestDatabase::digest(place.path()), before);
    QVERIFY(!QFileInfo::exists(place.folder() + QStringLiteral("/gone.mdb")));
}

// A database at the place with user ani and one department, and yesterday's copy of it.
bool databaseWithCopy(const QString &path)
{
    const bool made =
        store::Database::create(path).ok() && store::Database::open().ok() &&
        store::users::add(QStringLiteral("ani"), QStringLiteral("rahasia")).ok() &&
        store::Database::connection()
            .execute(QStringLiteral("INSERT INTO Departemen VALUES ('SDM', 'Personalia')"))
            .ok();
    store::Database::close();
    return made && store::backup::daily(path, QDateTime::currentDateTime().addDays(-1)).ok();
}

void TestFirstRun::damagedDatabaseIsOfferedItsBackups()
{
    Place place;
    QVERIFY(databaseWithCopy(place.path()));
    QFile file(place.path());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray(8192, '\x5a'));
    file.close();
    const QByteArray damaged = TestDatabase::digest(place.path());

    ScriptedDialogs dialogs;
    shell::showFirstWindow();
    FormDriver form(firstRun());
    QVERIFY(form.find("cmdRestore")->isVisible());
    QVERIFY(!form.find("cmdNew")->isVisible());
    QVERIFY(
        form.find<QLabel>("lblIntro")->text().contains(QStringLiteral("file is not a database")));
    QCOMPARE(form.find<QListWidget>("lstCadangan")->count(), 1);
    dialogs.expect(QStringLiteral("Database dipulihkan dari cadangan"));
    QVERIFY(form.click("cmdRestore"));
    QVERIFY(!firstRun());
    QVERIFY(signIn(QStringLiteral("ani"), QStringLiteral("rahasia")));
    QCOMPARE(column(QStringLiteral("SELECT Keterangan FROM Departemen")),
             QStringList{QStringLiteral("Personalia")});
    const QStringList aside = QDir(place.folder()).entryList({QStringLiteral("*(rusak *")});
    QCOMPARE(aside.size(), 1);
    QVERIFY(dialogs.last().text.contains(aside.first()));
    QCOMPARE(TestDatabase::digest(place.folder() + u'/' + aside.first()), damaged);
}

void TestFirstRun::signInBacksUpTheDay_data()
{
    QTest::addColumn<bool>("blocked");
    QTest::newRow("copied") << false;
    QTest::newRow("the folder cannot be made") << true;
}

// The day's copy is taken at the sign-in; a copy that cannot be made is said once, and the
// main window opens all the same.
void TestFirstRun::signInBacksUpTheDay()
{
    QFETCH(bool, blocked);
    Place place;
    QVERIFY(store::Database::create(place.path()).ok());
    QVERIFY(store::Database::open().ok());
    QVERIFY(store::users::add(QStringLiteral("ani"), QStringLiteral("rahasia")).ok());
    const QString folder = store::backup::folder(place.path());
    if (blocked)
        QVERIFY(QFile(folder).open(QIODevice::WriteOnly));
    ScriptedDialogs dialogs;
    if (blocked)
        dialogs.expect(QStringLiteral("Cadangan harian database tidak dapat dibuat"));
    shell::showFirstWindow();
    QVERIFY(signIn(QStringLiteral("ani"), QStringLiteral("rahasia")));
    QCOMPARE(dialogs.count(), blocked ? 1 : 0);
    const QList<store::backup::Copy> copies = store::backup::list(place.path());
    QCOMPARE(copies.size(), blocked ? 0 : 1);
    if (!blocked) {
        QCOMPARE(copies.first().date, QDate::currentDate());
        QVERIFY(ownerOnly(copies.first().path));
        QVERIFY(ownerOnly(folder));
    }
}

QTEST_MAIN(TestFirstRun)
#include "test_firstrun.moc"
