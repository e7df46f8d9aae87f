#include "OwnerOnly.h"
#include "TestDatabase.h"

#include "store/Backup.h"
#include "store/Database.h"
#include "store/InUse.h"
#include "store/SchemaVersion.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

#include <atomic>
#include <thread>

using store::Status;
namespace backup = store::backup;

namespace {

constexpr auto OwnerFile = QFile::ReadOwner | QFile::WriteOwner;

// One statement on a file through a connection of its own, as another program runs it.
QVariant otherProgram(const QString &path, const QString &sql)
{
    QVariant value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("o"));
        db.setDatabaseName(path);
        QSqlQuery query(db);
        if (db.open() && query.exec(sql) && query.next())
            value = query.value(0);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("o"));
    return value;
}

int tableCount(const QString &path, const QString &table)
{
    return otherProgram(path, QStringLiteral("SELECT count(*) FROM %1").arg(table)).toInt();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

} // namespace

class TestBackup : public QObject
{
    Q_OBJECT

private slots:
    void init() { store::Database::close(); }
    void copyIsWholeWhileAnotherConnectionWrites();
    void restoreBringsEveryRowBackAndKeepsTheReplacedFile();
    void restoreRefuses_data();
    void restoreRefuses();
    void thinKeepsFourteenDaysAndTwelveMonths();
    void upgradeIsPrecededByACopy();
};

// Another connection commits a department and a rank together, over and over, while copies
// are taken: every copy is a database the program accepts, holding both or neither of each.
void TestBackup::copyIsWholeWhileAnotherConnectionWrites()
{
    if (TestDatabase::onServer())
        QSKIP("a file's backup");
    TestDatabase db;
    QVERIFY(db.fillSample());
    store::Database::close();
    constexpr int Pairs = 150;
    std::atomic<int> written = 0;
    std::thread writer([&] {
        QSqlDatabase other =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("writer"));
        other.setDatabaseName(db.path());
        other.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000"));
        for (int n = 0; other.open() && n < Pairs; ++n) {
            QSqlQuery query(other);
            const QString code = QStringLiteral("W%1").arg(n);
            if (other.transaction() &&
                query.exec(QStringLiteral("INSERT INTO Departemen VALUES ('%1', 'x')").arg(code)) &&
                query.exec(
                    QStringLiteral("INSERT INTO Peringkat VALUES ('%1', 1, 'x')").arg(code)) &&
                other.commit())
                ++written;
        }
        other.close();
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("writer"));
    });
    QStringList copies;
    QList<Status> taken;
    for (int n = 0; n < 4 || (written < Pairs && n < 400); ++n) {
        copies << db.folder() + QStringLiteral("/salinan%1.mdb").arg(n);
        taken << backup::take(db.path(), copies.last());
    }
    writer.join();
    QCOMPARE(written, Pairs);
    for (const Status &status : taken)
        QVERIFY2(status.ok(), qPrintable(status.message()));
    for (const QString &copy : copies) {
        const Status whole = backup::check(copy);
        QVERIFY2(whole.ok(), qPrintable(copy + whole.message()));
        const int departments = tableCount(copy, QStringLiteral("Departemen"));
        QCOMPARE(tableCount(copy, QStringLiteral("Peringkat")) - departments,
                 tableCount(db.path(), QStringLiteral("Peringkat")) -
                     tableCount(db.path(), QStringLiteral("Departemen")));
        QVERIFY(ownerOnly(copy));
    }
}

void TestBackup::restoreBringsEveryRowBackAndKeepsTheReplacedFile()
{
    if (TestDatabase::onServer())
        QSKIP("a file's backup");
    TestDatabase db;
    QVERIFY(db.fillSample());
    const QStringList tables{"Departemen", "Peringkat", "Pegawai", "Periode", "Cuti", "TPassword"};
    QStringList before;
    for (const QString &table : tables)
        before << QString::number(db.count(table));
    store::Database::close();
    QVERIFY(backup::daily(db.path(), QDateTime::currentDateTime()).ok());
    QCOMPARE(backup::list(db.path()).size(), 1);
    const QString copy = backup::list(db.path()).first().path;

    QVERIFY(store::Database::open().ok());
    QVERIFY(db.exec(QStringLiteral("DELETE FROM Cuti")));
    QVERIFY(db.exec(QStringLiteral("UPDATE Peringkat SET UpahPerhari = 1")));
    // The program that changed it has it open: the restore waits for it to close.
    QString kept;
    QCOMPARE(backup::restore(copy, db.path(), &kept).kind(), Status::Kind::Busy);
    const QByteArray changed = TestDatabase::digest(db.path());
    store::Database::close();

    const Status restored = backup::restore(copy, db.path(), &kept);
    QVERIFY2(restored.ok(), qPrintable(restored.message()));
    QCOMPARE(TestDatabase::digest(kept), changed);
    QCOMPARE(backup::list(db.path()).size(), 2);
    QVERIFY(QFile::exists(copy));
    QVERIFY(ownerOnly(db.path()));
    QVERIFY(store::Database::open().ok());
    QStringList after;
    for (const QString &table : tables)
        after << QString::number(db.count(table));
    QCOMPARE(after, before);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Peringkat WHERE UpahPerhari = 1")),
             QVariant(0));
}

void TestBackup::restoreRefuses_data()
{
    QTest::addColumn<QString>("what");
    QTest::newRow("a damaged copy") << "damaged";
    QTest::newRow("a copy that is a symbolic link") << "copy link";
    QTest::newRow("a place that is a symbolic link") << "place link";
    QTest::newRow("a copy of a later version") << "later";
    QTest::newRow("a copy without the program's tables") << "foreign";
    QTest::newRow("while another program restores") << "restoring";
}

// Each leaves the database as it was, byte for byte.
void TestBackup::restoreRefuses()
{
    if (TestDatabase::onServer())
        QSKIP("a file's backup");
    QFETCH(QString, what);
    TestDatabase db;
    QVERIFY(db.fillSample());
    store::Database::close();
    QString copy = db.folder() + QStringLiteral("/salinan.mdb");
    QVERIFY(backup::take(db.path(), copy).ok());
    QString place = db.path();
    std::unique_ptr<store::InUse> other;
    if (what == u"damaged") {
        QFile file(copy);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.seek(file.size() / 2) && file.write(QByteArray(8192, 'x')) == 8192);
    } else if (what == u"copy link") {
        QVERIFY(QFile::link(copy, db.folder() + QStringLiteral("/tautan.mdb")));
        copy = db.folder() + QStringLiteral("/tautan.mdb");
    } else if (what == u"place link") {
        place = db.folder() + QStringLiteral("/tempat.mdb");
        QVERIFY(QFile::link(db.path(), place));
    } else if (what == u"later") {
        otherProgram(copy,
                     QStringLiteral("PRAGMA user_version = %1").arg(store::schema::version() + 1));
    } else if (what == u"foreign") {
        otherProgram(copy, QStringLiteral("DROP VIEW QupahSisaCuti"));
    } else {
        other = std::make_unique<store::InUse>(db.path(), store::InUse::Kind::Alone);
    }
    const QByteArray bytes = TestDatabase::digest(db.path());
    QString kept;
    QVERIFY(!backup::restore(copy, place, &kept).ok());
    QCOMPARE(TestDatabase::digest(db.path()), bytes);
    QVERIFY(kept.isEmpty());
    QCOMPARE(backup::list(db.path()).size(), 0);
}

// Copies of every day since October 2025, two on some days: the last 14 days stay whole, and
// of the twelve months before, the first copy of each.
void TestBackup::thinKeepsFourteenDaysAndTwelveMonths()
{
    QTemporaryDir dir;
    const QString database = dir.filePath(QStringLiteral("DB PT Mardeko.mdb"));
    QVERIFY(QDir().mkpath(backup::folder(database)));
    const QDate today(2026, 12, 11);
    for (QDate day(2025, 10, 1); day <= today; day = day.addDays(1)) {
        QVERIFY(writeBytes(backup::nextPath(database, QDateTime(day, QTime(8, 0))), "x"));
        if (day.day() % 5 == 1)
            QVERIFY(writeBytes(backup::nextPath(database, QDateTime(day, QTime(9, 30))), "x"));
    }
    QVERIFY(writeBytes(backup::folder(database) + QStringLiteral("/catatan.txt"), "x"));
    backup::thin(database);
    QStringList kept;
    for (const backup::Copy &copy : backup::list(database))
        kept << QFileInfo(copy.path).fileName().mid(14);
    QStringList expected;
    for (QDate day = today; day > today.addDays(-14); day = day.addDays(-1)) {
        if (day.day() % 5 == 1)
            expected << day.toString(Qt::ISODate) + QStringLiteral(" 09.30.00.mdb");
        expected << day.toString(Qt::ISODate) + QStringLiteral(".mdb");
    }
    for (int month = 11; month >= 1; --month)
        expected << QDate(2026, month, 1).toString(Qt::ISODate) + QStringLiteral(".mdb");
    QCOMPARE(kept, expected);
    QVERIFY(QFile::exists(backup::folder(database) + QStringLiteral("/catatan.txt")));
}

// A database made before versions were kept is copied as it was before it is upgraded.
void TestBackup::upgradeIsPrecededByACopy()
{
    TestDatabase db;
    const QString path = db.folder() + QStringLiteral("/lama.mdb");
    QVERIFY(QFile::copy(QStringLiteral(KELVARA_FIXTURES "/unversioned.mdb"), path));
    QVERIFY(QFile::setPermissions(path, OwnerFile));
    store::Database::setPath(path);
    QVERIFY(store::Database::open().ok());
    store::Database::close();
    const QList<backup::Copy> copies = backup::list(path);
    QCOMPARE(copies.size(), 1);
    QCOMPARE(otherProgram(copies.first().path, QStringLiteral("PRAGMA user_version")), QVariant(0));
    QCOMPARE(otherProgram(path, QStringLiteral("PRAGMA user_version")),
             QVariant(store::schema::version()));
    QCOMPARE(backup::takeProblem(), QString());
}

QTEST_GUILESS_MAIN(TestBackup)
#include "test_backup.moc"
