#include "Csv.h"
#include "ProgramRun.h"
#include "TestDatabase.h"

#include "store/Database.h"
#include "store/Recordset.h"

#include <QFile>
#include <QSqlQuery>
#include <QtTest>

namespace {

const QString AccessFolder = QStringLiteral(KELVARA_FIXTURES "/access");
const QString ImportTool = QStringLiteral(IMPORT_TOOL);

using Run = ProgramRun;

Run import(const QString &source, const QString &database, bool skipBad = false)
{
    QStringList args{source, QStringLiteral("--db"), database};
    if (skipBad)
        args << QStringLiteral("--skip-bad");
    return runProgram(ImportTool, args);
}

QString sample()
{
    return AccessFolder + QStringLiteral("/sample.mdb");
}

QString broken()
{
    return AccessFolder + QStringLiteral("/broken.mdb");
}

QString target(const TestDatabase &db)
{
    return db.folder() + QStringLiteral("/imported.mdb");
}

bool openImported(const QString &path)
{
    store::Database::setPath(path);
    return store::Database::open().ok();
}

// What mdbtools' own exporter reads from the source, dates as ISO.
QList<CsvRecord> exported(const QString &file, const QString &table)
{
    const Run r =
        runProgram(QStringLiteral("mdb-export"), {"-D", "%Y-%m-%d", "-T", "%Y-%m-%d", file, table});
    return r.exitCode == 0 ? parseCsv(r.out.toUtf8()) : QList<CsvRecord>();
}

// Empty when the stored value is what the exporter shows: Null as no value, numbers by
// their value (the exporter writes currency with four places), other values as text.
QString mismatch(const CsvField &expected, const QVariant &stored)
{
    const bool same = [&] {
        if (expected.text.isEmpty() && !expected.quoted)
            return stored.isNull();
        if (stored.typeId() == QMetaType::Double) {
            bool ok = false;
            return expected.text.toDouble(&ok) == stored.toDouble() && ok;
        }
        return !stored.isNull() && stored.toString() == expected.text;
    }();
    return same
               ? QString()
               : QStringLiteral("expected '%1', stored '%2'").arg(expected.text, stored.toString());
}

QStringList compareTable(const QString &table)
{
    const QList<CsvRecord> records = exported(sample(), table);
    if (records.isEmpty())
        return {table + QStringLiteral(": mdb-export gave nothing")};
    QStringList columns;
    for (const CsvField &field : records.first())
        columns << QLatin1Char('"') + field.text + QLatin1Char('"');
    QSqlQuery query(store::Database::connection());
    query.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                   .arg(columns.join(QStringLiteral(", ")), table));
    QStringList problems;
    qsizetype row = 1;
    for (; row < records.size() && query.next(); ++row) {
        for (qsizetype col = 0; col < columns.size(); ++col) {
            const QString problem = mismatch(records[row].value(col), query.value(int(col)));
            if (!problem.isEmpty())
                problems << QStringLiteral("%1 row %2 %3: %4")
                                .arg(table)
                                .arg(row)
                                .arg(columns[col], problem);
        }
    }
    if (row != records.size() || query.next())
        problems << table + QStringLiteral(": row counts differ");
    return problems;
}

} // namespace

class TestImportAccess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyTableMatchesTheAccessFile()
    {
        TestDatabase db;
        const Run r = import(sample(), target(db));
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QVERIFY(r.out.contains("Pegawai: 6 baris dibaca, 6 ditulis"));
        QVERIFY(r.out.contains("Cuti: 6 baris dibaca, 6 ditulis"));
        QVERIFY(openImported(target(db)));
        QStringList problems;
        for (const char *table :
             {"Departemen", "Peringkat", "Pegawai", "Periode", "Cuti", "TPassword"})
            problems << compareTable(QString::fromLatin1(table));
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    }

    // The values that break careless importers, checked one by one.
    void awkwardValuesSurvive()
    {
        TestDatabase db;
        QCOMPARE(import(sample(), target(db)).exitCode, 0);
        QVERIFY(openImported(target(db)));
        QCOMPARE(db.scalar("SELECT UpahPerhari FROM Peringkat WHERE Jabatan = 'Satpam'"),
                 QVariant(95000.5));
        QCOMPARE(db.scalar("SELECT Nama FROM Pegawai WHERE Nip = '19900003'"),
                 QVariant("Agus O'Connor"));
        QCOMPARE(db.scalar("SELECT Alamat FROM Pegawai WHERE Nip = '19900004'"),
                 QVariant("Jl. Riau \"Blok B\""));
        QCOMPARE(db.scalar("SELECT Nama FROM Pegawai WHERE Nip = '20010005'"),
                 QVariant("Rina Müller-Wijaya"));
        QCOMPARE(db.scalar("SELECT typeof(Alamat) || ' ' || typeof(Tgllahir) FROM Pegawai "
                           "WHERE Nip = '20010006'"),
                 QVariant("null null"));
        QCOMPARE(db.scalar("SELECT Tgllahir FROM Pegawai WHERE Nip = '19870001'"),
                 QVariant("1960-01-10"));
        QCOMPARE(db.scalar("SELECT SisaCuti || ' ' || \"Penggantian Cuti\" FROM Cuti "
                           "WHERE Nip = '19900003'"),
                 QVariant("15.5 2.5"));
        QCOMPARE(db.scalar("SELECT \"Total Uang Cuti\" FROM QupahSisaCuti WHERE Nip = "
                           "'19900003'"),
                 QVariant(15.5 * 150000));
    }

    void importedUserSignsIn()
    {
        TestDatabase db;
        QCOMPARE(import(sample(), target(db)).exitCode, 0);
        QVERIFY(openImported(target(db)));
        store::Recordset users(QStringLiteral("TPassword"));
        QVERIFY(users.open().ok());
        QVERIFY(users.findFirst(QStringLiteral("Nama"), QStringLiteral("KEUANGAN")).ok());
        QVERIFY(!users.noMatch());
        QCOMPARE(users.value(1).toString(), QString("uang'2020"));
        QVERIFY(users.value(1).toString() != QString("Uang'2020"));
        QVERIFY(users.findFirst(QStringLiteral("Nama"), QStringLiteral("admin")).ok());
        QCOMPARE(users.value(1).toString(), QString("Rahasia#1"));
    }

    void brokenRowsKeepEverythingOut()
    {
        TestDatabase db;
        const Run r = import(broken(), target(db));
        QCOMPARE(r.exitCode, 1);
        for (const char *where : {"Departemen baris 6: Kodedepartemen \"D02\" sudah ada",
                                  "Peringkat baris 5: KodePeringkat tidak boleh kosong",
                                  "Pegawai baris 7: KodeDepartemen \"D99\" tidak ada",
                                  "Cuti baris 7: Nip \"88888888\" tidak ada"})
            QVERIFY2(r.err.contains(QString::fromUtf8(where)), where);
        QCOMPARE(r.err.count("Ditolak: "), 4);
        QVERIFY(r.err.contains("Tidak ada yang ditulis"));
        QVERIFY(!QFile::exists(target(db)));
        QVERIFY(!QFile::exists(db.folder() + "/imported - ditolak.csv"));
    }

    void skipBadImportsTheRestAndListsTheRefused()
    {
        TestDatabase db;
        const Run r = import(broken(), target(db), true);
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        const QString csv = db.folder() + "/imported - ditolak.csv";
        QVERIFY(r.out.contains(csv));
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<CsvRecord> records = parseCsv(file.readAll());
        QStringList refused;
        for (const CsvRecord &record : records.mid(1))
            refused << record.value(0).text + ' ' + record.value(1).text + ' ' +
                           record.value(record.size() - 1).text;
        QCOMPARE(refused,
                 QStringList({"Departemen 6 Keterangan=Personalia (duplikat)",
                              "Peringkat 5 Jabatan=Tanpa Kode", "Pegawai 7 KodeDepartemen=D99",
                              "Cuti 7 Penggantian Cuti=8"}));
        QVERIFY(openImported(target(db)));
        QCOMPARE(db.count("Departemen"), 5);
        QCOMPARE(db.count("Peringkat"), 4);
        QCOMPARE(db.count("Pegawai"), 6);
        QCOMPARE(db.count("Cuti"), 6);
        QCOMPARE(db.scalar("SELECT Keterangan FROM Departemen WHERE Kodedepartemen = 'D02'"),
                 QVariant("Personalia"));
    }

    void aTextFileIsNoSource()
    {
        TestDatabase db;
        const QString text = db.folder() + "/catatan.mdb";
        QFile file(text);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Nip,Nama\n19870001,Budi\n");
        file.close();
        const Run r = import(text, target(db));
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains("bukan file database Access"), qPrintable(r.err));
        QVERIFY(!QFile::exists(target(db)));
    }

    void anExistingDatabaseIsNotOverwritten()
    {
        TestDatabase db;
        const Run r = import(sample(), db.path());
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains("sudah ada"), qPrintable(r.err));
        QCOMPARE(db.count("Pegawai"), 0);
    }
};

QTEST_GUILESS_MAIN(TestImportAccess)
#include "test_import_access.moc"
