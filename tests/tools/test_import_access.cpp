#include "Csv.h"
#include "ProgramRun.h"
#include "TestDatabase.h"

#include "store/Database.h"
#include "store/Passwords.h"
#include "store/Recordset.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

#include <csignal>

#ifndef Q_OS_WIN
#include <sys/resource.h>
#endif

namespace {

const QString AccessFolder = QStringLiteral(KELVARA_FIXTURES "/access");
const QString ImportTool = QStringLiteral(IMPORT_TOOL);
const QString ImportChild = QStringLiteral(IMPORT_CHILD);
// A page of the Access files, and the first byte of a page that defines a table.
constexpr qsizetype PageSize = 4096;
constexpr char TableDefinition = 0x02;

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

// Pegawai.Alamat of memo.mdb is a memo; make-memo.py, beside it, wrote these two notes.
QString longNote()
{
    QString note;
    for (int i = 1; i <= 4600; ++i)
        note += QStringLiteral("Catatan %1: Jl. Merdeka No. %2, Bandung; Müller-Wijaya 漢字 😊\r\n")
                    .arg(i, 5, 10, QLatin1Char('0'))
                    .arg(i);
    return note;
}

QString pageNote()
{
    QString note;
    for (int i = 1; i <= 60; ++i)
        note += QStringLiteral("Baris %1: Ğüzel ✓ 𝄞 — “kutip”\n").arg(i);
    return note;
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
    const auto query =
        store::Database::connection().query(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                                                .arg(columns.join(QStringLiteral(", ")), table),
                                            store::Status::Operation::Read);
    (void)query->run();
    QStringList problems;
    qsizetype row = 1;
    for (; row < records.size() && query->next(); ++row) {
        for (qsizetype col = 0; col < columns.size(); ++col) {
            // Passwords are stored as hashes; importedUserSignsIn checks them.
            if (columns[col].compare(QStringLiteral("\"Password\""), Qt::CaseInsensitive) == 0)
                continue;
            const QString problem = mismatch(records[row].value(col), query->value(int(col)));
            if (!problem.isEmpty())
                problems << QStringLiteral("%1 row %2 %3: %4")
                                .arg(table)
                                .arg(row)
                                .arg(columns[col], problem);
        }
    }
    if (row != records.size() || query->next())
        problems << table + QStringLiteral(": row counts differ");
    return problems;
}

QByteArray sampleBytes()
{
    QFile file(sample());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Every file in the folder, hidden ones included, but the source.
QStringList leftIn(const QString &folder, const QString &source)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    names.removeAll(source);
    return names;
}

// Runs the tool with its address space bounded, so that an unbounded allocation fails the
// run instead of eating the machine's memory.
Run importBounded(const QString &source, const QString &database)
{
    QProcess process;
#ifndef Q_OS_WIN
    // On Windows such a bound needs a job object around the child; the tool runs unbounded.
    process.setChildProcessModifier([] {
        constexpr rlim_t Bound = rlim_t(1) << 30;
        const rlimit limit{Bound, Bound};
        setrlimit(RLIMIT_AS, &limit);
    });
#endif
    process.start(ImportTool, {source, QStringLiteral("--db"), database});
    Run r;
    if (!process.waitForFinished(60000))
        return r;
    r.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    r.err = QString::fromUtf8(process.readAllStandardError());
    return r;
}

// The offsets of the pages that define tables: the page that a damaged header hurts most.
QList<qsizetype> tableDefinitionPages(const QByteArray &file)
{
    QList<qsizetype> pages;
    for (qsizetype at = 0; at + PageSize <= file.size(); at += PageSize) {
        if (file.at(at) == TableDefinition)
            pages << at;
    }
    return pages;
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
        // Only the passwords' hashes are kept.
        QVERIFY(store::passwords::isHash(users.value(1).toString()));
        QVERIFY(store::passwords::matches(users.value(1).toString(), "uang'2020"));
        QVERIFY(!store::passwords::matches(users.value(1).toString(), "Uang'2020"));
        QVERIFY(users.findFirst(QStringLiteral("Nama"), QStringLiteral("admin")).ok());
        QVERIFY(store::passwords::matches(users.value(1).toString(), "Rahasia#1"));
        const auto others =
            QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
        QCOMPARE(QFile::permissions(target(db)) & others, QFile::Permissions());
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
        QVERIFY2(r.out.contains("Departemen: 6 baris dibaca\n"), qPrintable(r.out));
        QVERIFY(!r.out.contains("ditulis"));
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
        QVERIFY(!records.isEmpty());
        // Pegawai's nine values are the widest: a header field over every field.
        QCOMPARE(records.first().size(), 3 + 9);
        QCOMPARE(records.first().last().text, QString("Nilai 9"));
        QStringList refused;
        for (const CsvRecord &record : records.mid(1)) {
            QCOMPARE(record.size(), records.first().size());
            qsizetype last = record.size() - 1;
            while (record.value(last).text.isEmpty())
                --last;
            refused << record.value(0).text + ' ' + record.value(1).text + ' ' +
                           record.value(last).text;
        }
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

    // Damaged copies of the sample: each is refused with the damage named, also with
    // --skip-bad, and leaves nothing beside the source.
    void damagedCopiesAreRefused_data()
    {
        QTest::addColumn<qsizetype>("size");
        QTest::addColumn<qsizetype>("offset");
        QTest::addColumn<char>("byte");
        QTest::addColumn<QString>("said");
        const char none = 0;
        QTest::newRow("cut inside a page")
            << qsizetype(180000) << qsizetype(-1) << none << "File Access terpotong";
        QTest::newRow("cut in the rows")
            << qsizetype(150000) << qsizetype(-1) << none << "berukuran 150000 byte";
        QTest::newRow("cut at a page") << qsizetype(36 * PageSize) << qsizetype(-1) << none
                                       << "Departemen di file Access rusak: kepala tabel "
                                          "menghitung 5 baris, yang dapat dibaca 0 baris";
        QTest::newRow("last page lost") << qsizetype(47 * PageSize) << qsizetype(-1) << none
                                        << "TPassword di file Access rusak: kepala tabel "
                                           "menghitung 2 baris, yang dapat dibaca 0 baris";
        QTest::newRow("index count") << qsizetype(-1) << qsizetype(131124) << char(0xCD)
                                     << "Tabel Cuti di file Access rusak";
        QTest::newRow("column count") << qsizetype(-1) << qsizetype(131118) << char(0xE4)
                                      << "Tabel Cuti di file Access rusak: kepalanya menyebut "
                                         "58373 kolom";
        QTest::newRow("row count") << qsizetype(-1) << qsizetype(131072 + 18) << char(0x7F)
                                   << "Tabel Cuti di file Access rusak: kepalanya menyebut";
        // The column definitions of Pegawai (page 28) and Periode (page 30).
        const QString column = QStringLiteral("di file Access rusak: definisi kolom %1 tidak "
                                              "mungkin: panjangnya ditandai %2");
        QTest::newRow("text marked fixed") << qsizetype(-1) << qsizetype(114688 + 238 + 15)
                                           << char(0x03) << column.arg("Jabatan", "tetap");
        QTest::newRow("date marked variable") << qsizetype(-1) << qsizetype(114688 + 163 + 15)
                                              << char(0x02) << column.arg("Tgllahir", "berubah");
        QTest::newRow("text longer than Jet's") << qsizetype(-1) << qsizetype(114688 + 88 + 24)
                                                << char(0x10) << "kolom Nama tidak mungkin";
        QTest::newRow("date outside the row") << qsizetype(-1) << qsizetype(122880 + 113 + 22)
                                              << char(0x7F) << "letaknya (byte 32520) di luar";
        QTest::newRow("text read from no slot")
            << qsizetype(-1) << qsizetype(114688 + 238 + 7) << char(0x09)
            << "Tabel Pegawai di file Access rusak: kolom Jabatan terbaca kosong di setiap baris";
    }
    void damagedCopiesAreRefused()
    {
        QFETCH(qsizetype, size);
        QFETCH(qsizetype, offset);
        QFETCH(char, byte);
        QFETCH(QString, said);
        QTemporaryDir folder;
        QByteArray bytes = sampleBytes();
        if (size >= 0)
            bytes.truncate(size);
        if (offset >= 0)
            bytes[offset] = byte;
        const QString source = folder.filePath("rusak.mdb");
        QVERIFY(writeFile(source, bytes));
        for (bool skipBad : {false, true}) {
            const Run r = import(source, folder.filePath("baru.mdb"), skipBad);
            QCOMPARE(r.exitCode, 1);
            QVERIFY2(r.err.contains(said), qPrintable(r.err));
            QVERIFY(!r.out.contains("ditulis"));
            QCOMPARE(leftIn(folder.path(), "rusak.mdb"), QStringList());
        }
    }

    // Seeded random damage to the pages that define tables: the tool ends, within a bounded
    // address space, either with every counted row written or with nothing left.
    void randomDamageNeverCrashes()
    {
        QTemporaryDir folder;
        const QByteArray clean = sampleBytes();
        const QList<qsizetype> pages = tableDefinitionPages(clean);
        QVERIFY(pages.size() >= 6);
        QRandomGenerator random(16);
        const QString source = folder.filePath("rusak.mdb");
        const QString into = folder.filePath("baru.mdb");
        for (int run = 0; run < 40; ++run) {
            QByteArray bytes = clean;
            const qsizetype page = pages.at(random.bounded(int(pages.size())));
            for (int n = 1 + random.bounded(3); n > 0; --n)
                bytes[page + random.bounded(int(PageSize))] = char(random.bounded(256));
            QVERIFY(writeFile(source, bytes));
            const Run r = importBounded(source, into);
            QVERIFY2(r.exitCode == 0 || r.exitCode == 1,
                     qPrintable(QStringLiteral("run %1: %2").arg(run).arg(r.err)));
            QCOMPARE(QFile::exists(into), r.exitCode == 0);
            QFile::remove(into);
            QCOMPARE(leftIn(folder.path(), "rusak.mdb"), QStringList());
        }
    }

    // Memos in each place the file keeps them: in a chain of pages, in one page, in the row
    // itself, compressed or not. Each comes across character for character; a chain whose
    // pages are gone is refused by name, never cut.
    void memosComeAcrossWhole()
    {
        TestDatabase db;
        const QString memo = AccessFolder + QStringLiteral("/memo.mdb");
        const Run r = import(memo, target(db));
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QVERIFY(openImported(target(db)));
        QVERIFY(longNote().toUtf8().size() > 256 * 1024);
        QVERIFY(db.scalar("SELECT Alamat FROM Pegawai WHERE Nip = '19870001'") == longNote());
        QVERIFY(db.scalar("SELECT Alamat FROM Pegawai WHERE Nip = '19870002'") == pageNote());
        QCOMPARE(db.scalar("SELECT group_concat(ifnull(Alamat, 'Null'), '|') FROM Pegawai "
                           "WHERE Nip > '1990'"),
                 QVariant("Jl. Dago 7|Jl. Riau \"Blok B\"|Jl. Cihampelas 33|Null"));

        QFile file(memo);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString cut = db.folder() + QStringLiteral("/terpotong.mdb");
        QVERIFY(writeFile(cut, file.read(120 * PageSize)));
        const Run refused = import(cut, db.folder() + QStringLiteral("/lagi.mdb"));
        QCOMPARE(refused.exitCode, 1);
        QVERIFY2(refused.err.contains("Tabel Pegawai di file Access rusak: memo pada kolom Alamat "
                                      "baris 1 tidak dapat dibaca: halaman 120"),
                 qPrintable(refused.err));
        QVERIFY(!QFile::exists(db.folder() + QStringLiteral("/lagi.mdb")));
    }

    // Dates before 1899-12-30 and currency to the last digit come across as Access holds
    // them, or are refused with that value; never rounded, never an invented day.
    void valuesComeAcrossAsAccessHoldsThem_data()
    {
        QTest::addColumn<qsizetype>("offset");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("stored"); // Tgllahir of 19870001, or the refusal said
        const qsizetype birth = 0x28f4c;     // 1960-01-10 of 19870001
        const qsizetype wage = 0x26fd1;      // 250000.0000 of KB
        const auto day = [](double days) {
            return QByteArray(reinterpret_cast<const char *>(&days), sizeof days);
        };
        const qint64 largest = std::numeric_limits<qint64>::max();
        QTest::newRow("before 1899") << birth << day(-36522.25) << "1800-01-01";
        QTest::newRow("first year Access has") << birth << day(-657434) << "0100-01-01";
        QTest::newRow("last day") << birth << day(2958465.99) << "9999-12-31";
        QTest::newRow("after the last day")
            << birth << day(2958466) << "Tgllahir=\"2958466 (tanggal Access";
        QTest::newRow("largest currency")
            << wage << QByteArray(reinterpret_cast<const char *>(&largest), 8)
            << "UpahPerhari 922337203685477.5807 tidak dapat disimpan tepat";
    }
    void valuesComeAcrossAsAccessHoldsThem()
    {
        QFETCH(qsizetype, offset);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, stored);
        TestDatabase db;
        QByteArray file = sampleBytes();
        file.replace(offset, bytes.size(), bytes);
        const QString source = db.folder() + QStringLiteral("/lama.mdb");
        QVERIFY(writeFile(source, file));
        const Run r = import(source, target(db));
        if (r.exitCode != 0) {
            QVERIFY2(r.err.contains(stored), qPrintable(r.err));
            QVERIFY(!QFile::exists(target(db)));
            return;
        }
        QVERIFY(openImported(target(db)));
        QCOMPARE(db.scalar("SELECT Tgllahir FROM Pegawai WHERE Nip = '19870001'"),
                 QVariant(stored));
    }

    void interruptedImportLeavesNothing_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("Ctrl+C") << int(SIGINT);
        QTest::newRow("terminated") << int(SIGTERM);
#ifdef SIGHUP
        QTest::newRow("terminal closed") << int(SIGHUP);
#endif
    }
    void interruptedImportLeavesNothing()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows has no signals to send another program; Ctrl+C reaches only a console's "
              "own programs");
#else
        QFETCH(int, signal);
        QTemporaryDir folder;
        const QString path = folder.filePath("baru.mdb");
        QProcess child;
        child.start(ImportChild, {sample(), path});
        QVERIFY(child.waitForStarted());
        while (!child.readAllStandardOutput().contains("copying"))
            QVERIFY(child.waitForReadyRead(30000));
        // The database is being built beside the target, which is not there yet.
        QCOMPARE(leftIn(folder.path(), {}).size(), 2);
        QVERIFY(!QFile::exists(path));
        ::kill(pid_t(child.processId()), signal);
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        QCOMPARE(leftIn(folder.path(), {}), QStringList());
#endif
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
        // Nor is a link that points nowhere replaced or followed.
        const QString link = target(db);
        QVERIFY(QFile::link(db.folder() + "/gone.mdb", link));
        QCOMPARE(import(sample(), link).exitCode, 1);
        QVERIFY(QFileInfo(link).isSymLink());
        QVERIFY(!QFile::exists(db.folder() + "/gone.mdb"));
    }
};

QTEST_GUILESS_MAIN(TestImportAccess)
#include "test_import_access.moc"
