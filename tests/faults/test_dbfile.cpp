#include "CleanState.h"
#include "FormDriver.h"
#include "ScriptedDialogs.h"
#include "TestDatabase.h"

#include "masters/Fdepartemen.h"
#include "platform/WindowRegistry.h"
#include "shell/Fmenu.h"
#include "shell/frmLogin.h"
#include "store/Database.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

using platform::WindowRegistry;

namespace {

const QString SampleCodes = QStringLiteral("D01,D02,D03,D04,D05");

enum class Fault { ReadOnly, ReadOnlyFile, Busy, DiskFull, FolderRemoved, FileRemoved };

// Makes a file read-only for this user, or writable again. Root writes whatever a file's mode
// says, so for root the file is made immutable instead.
bool setWritable(const QString &path, bool writable)
{
#ifdef Q_OS_UNIX
    if (::geteuid() == 0)
        return QProcess::execute(QStringLiteral("chattr"),
                                 {writable ? QStringLiteral("-i") : QStringLiteral("+i"), path}) ==
               0;
#endif
    return QFile::setPermissions(path, writable ? QFile::ReadOwner | QFile::WriteOwner
                                                : QFile::ReadOwner);
}

// The department codes in entry order, read on a connection of its own, so that only what
// reached the file counts.
QString codesOnDisk(const QString &path)
{
    const QString name = QStringLiteral("faults-reader");
    QString codes;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("PRAGMA integrity_check")) && query.next() &&
                query.value(0).toString() == QStringLiteral("ok") &&
                query.exec(
                    QStringLiteral("SELECT group_concat(Kodedepartemen, ',') FROM "
                                   "(SELECT Kodedepartemen FROM Departemen ORDER BY rowid)")) &&
                query.next())
                codes = query.value(0).toString();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return codes;
}

QString codesSeenByProgram(TestDatabase &db)
{
    if (db.scalar(QStringLiteral("PRAGMA integrity_check")).toString() != QStringLiteral("ok"))
        return QStringLiteral("integrity check failed");
    return db
        .scalar(QStringLiteral("SELECT group_concat(Kodedepartemen, ',') FROM "
                               "(SELECT Kodedepartemen FROM Departemen ORDER BY rowid)"))
        .toString();
}

// Another program that holds the write lock until it lets go.
class LockHolder
{
public:
    explicit LockHolder(const QString &path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), Name);
        db.setDatabaseName(path);
        m_held = db.open() && QSqlQuery(db).exec(QStringLiteral("BEGIN IMMEDIATE")) &&
                 QSqlQuery(db).exec(
                     QStringLiteral("INSERT INTO Departemen VALUES ('D08', 'Program lain')"));
    }
    ~LockHolder()
    {
        QSqlDatabase::database(Name, false).close();
        QSqlDatabase::removeDatabase(Name);
    }
    bool held() const { return m_held; }
    bool release() { return QSqlQuery(QSqlDatabase::database(Name, false)).exec("COMMIT"); }

private:
    static inline const QString Name = QStringLiteral("faults-other-program");
    bool m_held = false;
};

} // namespace

class TestDatabaseFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { startClean(); }
    void cleanup() { startClean(); }
    void foreignFileIsRefusedAtSignIn_data()
    {
        QTest::addColumn<QByteArray>("content");
        QByteArray noise(8192, '\0');
        QRandomGenerator random(4711);
        random.fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
        QTest::newRow("random bytes") << noise;
        QTest::newRow("PNG picture")
            << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10\x08\x06\0\0\0", 29)
                   .append(QByteArray(4000, '\x11'));
        QTest::newRow("ZIP archive")
            << QByteArray("PK\x03\x04\x14\0\0\0\x08\0", 10).append(QByteArray(4000, '\x22'));
    }

    // The sign-in is where the file is first opened: it says the file cannot be read, names
    // it, and leaves it as it was.
    void foreignFileIsRefusedAtSignIn()
    {
        QFETCH(QByteArray, content);
        TestDatabase db;
        store::Database::close();
        QFile file(db.path());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(content), content.size());
        file.close();
        const QByteArray before = TestDatabase::digest(db.path());

        ScriptedDialogs dialogs;
        dialogs.expect(QStringLiteral("Database tidak dapat dibuka:\n") + db.path());
        QPointer<frmLogin> login = WindowRegistry::show<frmLogin>();
        QVERIFY(!login->isReady());
        QCOMPARE(dialogs.count(), 1);
        QCOMPARE(dialogs.last().text,
                 QStringLiteral("Database tidak dapat dibuka:\n%1\n\nFile database tidak dapat "
                                "dibaca.\n\nfile is not a database\n\nFile itu tidak diubah. Bila "
                                "database baru harus dibuat di tempat ini, pindahkan dulu file "
                                "itu.")
                     .arg(db.path()));
        QCOMPARE(dialogs.last().title, QStringLiteral("Login"));
        QCOMPARE(dialogs.last().icon, platform::Icon::Information);
        QCOMPARE(dialogs.last().buttons, platform::Buttons::Ok);
        QTRY_VERIFY(login.isNull());
        QVERIFY(!store::Database::isOpen());
        QCOMPARE(TestDatabase::digest(db.path()), before);
    }

    // A database the program may only read: signing in and browsing work as usual.
    void readOnlyDatabaseSignsInAndBrowses()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        QVERIFY(db.exec(QStringLiteral("PRAGMA query_only = ON")));
        const QByteArray before = TestDatabase::digest(db.path());
        ScriptedDialogs dialogs;

        frmLogin *login = WindowRegistry::show<frmLogin>();
        QVERIFY(login->isReady());
        QTest::keyClicks(login->findChild<QLineEdit *>(QStringLiteral("txtUserName")), "admin");
        QTest::keyClicks(login->findChild<QLineEdit *>(QStringLiteral("txtPassword")), "admin");
        QTest::mouseClick(login->findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
        QVERIFY(WindowRegistry::find<Fmenu>());

        FormDriver form(WindowRegistry::show<Fdepartemen>());
        QVERIFY(form.navigate(QStringLiteral("Last")));
        QVERIFY(form.navigate(QStringLiteral("Previous")));
        QCOMPARE(form.caption(), QStringLiteral("Record :4"));
        QCOMPARE(form.text("txtKodedepartemen"), QStringLiteral("D04"));
        QCOMPARE(dialogs.count(), 0);
        QCOMPARE(TestDatabase::digest(db.path()), before);
    }

    void refusedSaveLeavesDataIntact_data()
    {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<QString>("explanation");
        QTest::addColumn<QString>("engineText");
        QTest::newRow("read-only")
            << Fault::ReadOnly << "Database hanya dapat dibaca; perubahan tidak dapat disimpan."
            << "attempt to write a readonly database";
        QTest::newRow("file read-only since sign-in")
            << Fault::ReadOnlyFile << "Database hanya dapat dibaca; perubahan tidak dapat disimpan."
            << "attempt to write a readonly database";
        QTest::newRow("locked by another program")
            << Fault::Busy << "Database sedang dipakai program lain. Silakan coba lagi."
            << "database is locked";
        QTest::newRow("disk full") << Fault::DiskFull << "Disk penuh; data tidak dapat disimpan."
                                   << "database or disk is full";
        QTest::newRow("folder removed")
            << Fault::FolderRemoved
            << "File database sudah dihapus atau dipindahkan dari foldernya; perubahan tidak "
               "dapat disimpan."
            << "database file was deleted or moved: %1";
        QTest::newRow("file removed")
            << Fault::FileRemoved
            << "File database sudah dihapus atau dipindahkan dari foldernya; perubahan tidak "
               "dapat disimpan."
            << "database file was deleted or moved: %1";
    }

    // A save the engine refuses is explained, keeps the new record pending and changes
    // nothing stored; once the cause is gone the same record saves.
    void refusedSaveLeavesDataIntact()
    {
        QFETCH(Fault, fault);
        QFETCH(QString, explanation);
        QFETCH(QString, engineText);
        TestDatabase db;
        QVERIFY(db.fillSample());
        const auto writable = qScopeGuard([&] { setWritable(db.path(), true); });
        if (fault == Fault::ReadOnlyFile) {
            QVERIFY(setWritable(db.path(), false));
            store::Database::close();
            QVERIFY(store::Database::open().ok());
        }
        ScriptedDialogs dialogs;
        FormDriver form(WindowRegistry::show<Fdepartemen>());
        QVERIFY(form.click("cmdTambah"));
        QVERIFY(form.type("txtKodedepartemen", QStringLiteral("D09")));
        // Long enough to need pages of its own, which a full disk cannot give.
        const QString text =
            fault == Fault::DiskFull ? QString(6000, u'k') : QStringLiteral("Baru");
        QVERIFY(form.type("txtKeterangan", text));

        std::unique_ptr<LockHolder> other;
        switch (fault) {
        case Fault::ReadOnly:
            QVERIFY(db.exec(QStringLiteral("PRAGMA query_only = ON")));
            break;
        case Fault::ReadOnlyFile:
            break; // read-only since the database was opened
        case Fault::Busy:
            other = std::make_unique<LockHolder>(db.path());
            QVERIFY(other->held());
            break;
        case Fault::DiskFull:
            QVERIFY(db.exec(QStringLiteral("PRAGMA max_page_count = 1")));
            break;
        case Fault::FolderRemoved:
            QVERIFY(QDir(db.folder()).removeRecursively());
            break;
        case Fault::FileRemoved:
            QVERIFY(QFile::remove(db.path()));
            break;
        }

        dialogs.expect(explanation);
        QVERIFY(form.click("cmdSimpan"));
        QCOMPARE(dialogs.count(), 1);
        QCOMPARE(dialogs.last().text, explanation + "\n\n" + engineText.arg(db.path()));
        QCOMPARE(dialogs.last().title, QStringLiteral("Kelvara"));
        QCOMPARE(dialogs.last().icon, platform::Icon::Information);
        QCOMPARE(dialogs.last().buttons, platform::Buttons::Ok);
        QVERIFY(form.inEditMode());
        QCOMPARE(form.text("txtKodedepartemen"), QStringLiteral("D09"));
        QCOMPARE(codesSeenByProgram(db), SampleCodes);

        if (fault == Fault::FolderRemoved || fault == Fault::FileRemoved) {
            // Nothing can be saved any more, but the window goes on showing what was read.
            QVERIFY(form.click("Command1"));
            QVERIFY(form.inViewMode());
            QVERIFY(form.navigate(QStringLiteral("Last")));
            QCOMPARE(form.text("txtKodedepartemen"), QStringLiteral("D05"));
            return;
        }
        QString expected = SampleCodes;
        switch (fault) {
        case Fault::ReadOnly:
            QCOMPARE(codesOnDisk(db.path()), SampleCodes);
            QVERIFY(db.exec(QStringLiteral("PRAGMA query_only = OFF")));
            break;
        case Fault::ReadOnlyFile:
            QCOMPARE(codesOnDisk(db.path()), SampleCodes);
            QVERIFY(setWritable(db.path(), true));
            break;
        case Fault::Busy:
            QVERIFY(other->release());
            expected += QStringLiteral(",D08");
            break;
        case Fault::DiskFull:
            QCOMPARE(codesOnDisk(db.path()), SampleCodes);
            QVERIFY(db.exec(QStringLiteral("PRAGMA max_page_count = 1000000")));
            break;
        default:
            break;
        }
        dialogs.expect(QStringLiteral("Data sudah Disimpan!"));
        QVERIFY(form.click("cmdSimpan"));
        QCOMPARE(dialogs.last().text, QStringLiteral("Data sudah Disimpan!"));
        QVERIFY(form.inViewMode());
        expected += QStringLiteral(",D09");
        QCOMPARE(codesOnDisk(db.path()), expected);
        QCOMPARE(db.scalar(QStringLiteral("SELECT Keterangan FROM Departemen WHERE "
                                          "Kodedepartemen = 'D09'"))
                     .toString(),
                 text);
    }
};

QTEST_MAIN(TestDatabaseFile)
#include "test_dbfile.moc"
