#include "OwnerOnly.h"
#include "TestDatabase.h"

#include "DemoData.h"
#include "store/Database.h"
#include "store/Passwords.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace {

struct Run
{
    int exitCode = -1;
    QString output;
};

// Runs kelvara-initdb with arguments and what is typed on its standard input.
Run initdb(const QStringList &arguments, const QByteArray &typed = {})
{
    QProcess process;
    process.setProgram(QStringLiteral(KELVARA_INITDB));
    process.setArguments(arguments);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start();
    process.write(typed);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAll())};
}

// Runs one query on a database file of its own and returns the first column of each row.
QStringList column(const QString &path, const QString &sql)
{
    const QString name = QStringLiteral("inspect");
    QStringList values;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(sql)) {
                while (query.next())
                    values << query.value(0).toString();
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return values;
}

} // namespace

class TestInitDb : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
#ifndef Q_OS_WIN
        umask(022);
#endif
    }
    void demoDataIsConsistent();
    void demoDataIsWrittenWhollyOrNotAtAll();
    void createsEmptyDatabaseWithFirstUser();
    void asksForUserOnTheTerminal();
    void refusesWhatCannotSignIn_data();
    void refusesWhatCannotSignIn();
    void demoCreatesFolderAndData();
    void neverTouchesAnExistingFile();
};

void TestInitDb::demoDataIsConsistent()
{
    TestDatabase db;
    const store::Status filled = fillDemo();
    QVERIFY2(filled.ok(), qPrintable(filled.message()));
    QCOMPARE(db.count(QStringLiteral("Departemen")), 5);
    QCOMPARE(db.count(QStringLiteral("Peringkat")), 4);
    QVERIFY(db.count(QStringLiteral("Pegawai")) >= 18);
    QCOMPARE(db.count(QStringLiteral("Periode")), 2);
    QVERIFY(db.count(QStringLiteral("Cuti")) >= 10);

    const auto number = [&](const char *sql) {
        return db.scalar(QString::fromUtf8(sql)).toInt();
    };
    // Every leave record: 18 days, and what is left is what was not taken.
    QCOMPARE(number("SELECT count(*) FROM Cuti WHERE Hakcuti <> 18 "
                    "OR SisaCuti <> 18 - \"Penggantian Cuti\" OR \"Penggantian Cuti\" > 18"),
             0);
    // Every leave record reaches the payment query, with a wage and an amount.
    QCOMPARE(number("SELECT count(*) FROM QupahSisaCuti WHERE \"Total Uang Cuti\" IS NOT NULL"),
             db.count(QStringLiteral("Cuti")));
    // Each of the four report departments has leave to pay; one department has no report.
    for (const char *view : {"QlapSDM", "QlapPersonalia", "QlapProduksi", "QlapSI"})
        QVERIFY2(db.count(QString::fromUtf8(view)) > 0, view);
    QCOMPARE(number("SELECT count(*) FROM Departemen WHERE Keterangan NOT IN ('Sumber Daya "
                    "Manusia', 'Personalia', 'Sistem Informasi', 'Produksi')"),
             1);
    QCOMPARE(number("SELECT count(*) FROM Peringkat WHERE Jabatan IN ('Kepala Bagian', "
                    "'Karyawan Staf', 'Satpam', 'Cleaning Service') AND UpahPerhari > 0"),
             4);
    // An employee's title is the title of the employee's rank.
    QCOMPARE(number("SELECT count(*) FROM Pegawai p JOIN Peringkat r "
                    "ON r.KodePeringkat = p.KodePeringkat WHERE p.Jabatan <> r.Jabatan"),
             0);
    // Material for the filters and the empty date picker.
    QVERIFY(number("SELECT count(*) FROM Pegawai WHERE Nama LIKE 'Bu%'") >= 2);
    QVERIFY(number("SELECT count(*) FROM Pegawai WHERE Nip LIKE '19%'") >= 2);
    QVERIFY(number("SELECT count(*) FROM Pegawai WHERE Tgllahir IS NULL") >= 1);
    QVERIFY(store::passwords::matches(
        db.scalar(QStringLiteral("SELECT Password FROM TPassword WHERE Nama = 'admin'")).toString(),
        QStringLiteral("admin")));
}

void TestInitDb::demoDataIsWrittenWhollyOrNotAtAll()
{
    TestDatabase db;
    // A leave card that the demo data also has makes the fill fail after the departments.
    QVERIFY(db.exec(QStringLiteral("INSERT INTO Periode VALUES ('K2024', NULL, NULL)")));
    QVERIFY(!fillDemo().ok());
    QCOMPARE(db.count(QStringLiteral("Departemen")), 0);
    QCOMPARE(db.count(QStringLiteral("Pegawai")), 0);
    QCOMPARE(db.count(QStringLiteral("TPassword")), 0);
}

// The user's name and the password's hash, as "name/verified".
QStringList users(const QString &path, const QString &password)
{
    QStringList checked;
    for (const QString &row :
         column(path, QStringLiteral("SELECT Nama || '/' || Password FROM TPassword"))) {
        const QString name = row.section(u'/', 0, 0);
        const QString stored = row.section(u'/', 1);
        checked << name + (store::passwords::isHash(stored) &&
                                   store::passwords::matches(stored, password)
                               ? QStringLiteral("/verified")
                               : QStringLiteral("/") + stored);
    }
    return checked;
}

void TestInitDb::createsEmptyDatabaseWithFirstUser()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kelvara/baru.mdb"));
    const Run run = initdb(
        {QStringLiteral("--user"), QStringLiteral("Ani"), QStringLiteral("--password-stdin"), path},
        "p'w d\n");
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.output.contains(path));
    QCOMPARE(users(path, QStringLiteral("p'w d")), QStringList{QStringLiteral("Ani/verified")});
    QCOMPARE(column(path, QStringLiteral("SELECT count(*) FROM Pegawai")), QStringList{"0"});
    QCOMPARE(column(path, QStringLiteral("SELECT count(*) FROM QupahSisaCuti")), QStringList{"0"});
    VERIFY_OWNER_ONLY(path);
    VERIFY_OWNER_ONLY(dir.filePath(QStringLiteral("Kelvara")));
}

void TestInitDb::asksForUserOnTheTerminal()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("baru.mdb"));
    const Run run = initdb({path}, "Budi\nrahasia\nrahasia\n");
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.output.contains(QStringLiteral("Nama pengguna")));
    QVERIFY(run.output.contains(QStringLiteral("Ulangi password")));
    QCOMPARE(users(path, QStringLiteral("rahasia")), QStringList{QStringLiteral("Budi/verified")});
}

void TestInitDb::refusesWhatCannotSignIn_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("typed");
    QTest::newRow("empty name") << QStringList() << QByteArray("\n");
    QTest::newRow("no input") << QStringList() << QByteArray();
    QTest::newRow("user and no terminal") << QStringList{"--user", "admin"} << QByteArray();
    QTest::newRow("empty password")
        << QStringList{"--user", "admin", "--password-stdin"} << QByteArray("\n");
    QTest::newRow("passwords differ")
        << QStringList{"--user", "admin"} << QByteArray("rahasia\nRahasia\n");
    // A password on the command line shows in every process list.
    QTest::newRow("password option")
        << QStringList{"--user", "admin", "--password", "x"} << QByteArray("x\nx\n");
}

void TestInitDb::refusesWhatCannotSignIn()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, typed);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("baru.mdb"));
    QVERIFY(initdb(arguments << path, typed).exitCode != 0);
    QVERIFY(!QFileInfo::exists(path));
}

void TestInitDb::demoCreatesFolderAndData()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kelvara/DB PT Mardeko.mdb"));
    const Run run = initdb({QStringLiteral("--demo"), path});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.output.contains(QStringLiteral("admin")));
    QCOMPARE(column(path, QStringLiteral("SELECT count(*) FROM Departemen")), QStringList{"5"});
    QCOMPARE(users(path, QStringLiteral("admin")), QStringList{QStringLiteral("admin/verified")});
}

void TestInitDb::neverTouchesAnExistingFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ada.mdb"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("bukan database");
    file.close();
    const Run demo = initdb({QStringLiteral("--demo"), path});
    QVERIFY(demo.exitCode != 0);
    QVERIFY(demo.output.contains(path));
    const Run user = initdb(
        {QStringLiteral("--user"), QStringLiteral("a"), QStringLiteral("--password-stdin"), path},
        "b\n");
    QVERIFY(user.exitCode != 0);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("bukan database"));
    // A link that points nowhere is not followed to create its target.
    const QString link = dir.filePath(QStringLiteral("link.mdb"));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("gone.mdb")), link));
    QVERIFY(initdb({QStringLiteral("--demo"), link}).exitCode != 0);
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("gone.mdb"))));
}

QTEST_MAIN(TestInitDb)
#include "test_initdb.moc"
