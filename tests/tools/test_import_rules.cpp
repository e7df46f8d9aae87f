#include "MemorySource.h"
#include "TestDatabase.h"
#include "import/ImportReport.h"
#include "import/Importer.h"
#include "import/RowRules.h"
#include "import/TableWriter.h"
#include "import/Target.h"

#include "store/Database.h"

#include <QFile>
#include <QtTest>

using accessimport::Outcome;
using accessimport::Row;

namespace {

// A source that imports cleanly: two departments, two ranks, two employees, a leave card,
// two leave records and a user.
MemorySource cleanSource()
{
    MemorySource s;
    s.add("Departemen", {"Kodedepartemen", "Keterangan"}).rows = {{"D01", "Personalia"},
                                                                  {"D02", "Produksi"}};
    s.add("Peringkat", {"KodePeringkat", "UpahPerhari", "Jabatan"}).rows = {
        {"KB", "250000.0000", "Kepala Bagian"}, {"SP", "95000.5000", "Satpam"}};
    s.add("Pegawai", {"Nip", "Nama", "Alamat", "TempatLahir", "Tgllahir", "TahunMasuk",
                      "KodePeringkat", "Jabatan", "KodeDepartemen"})
        .rows = {
        {"001", "Budi", "Jl. A", "Bandung", "1960-01-10", "1987", "KB", "Kepala Bagian", "D01"},
        {"002", "Siti", std::nullopt, "Garut", std::nullopt, "1990", "SP", "Satpam", "D02"}};
    s.add("Periode", {"Kartucuti", "PeriodeAwal", "Periodeahir"}).rows = {
        {"K2019", "2019-01-01", "2019-12-31"}};
    s.add("Cuti", {"Nip", "KartuCuti", "Hakcuti", "SisaCuti", "Penggantian Cuti"}).rows = {
        {"001", "K2019", "18", "15.5", "2.5"}, {"002", "K2019", "18", "18", "0"}};
    s.add("TPassword", {"Nama", "Password"}).rows = {{"admin", "Rahasia#1"}};
    return s;
}

QString target(const TestDatabase &db)
{
    return db.folder() + QStringLiteral("/imported.mdb");
}

Outcome import(MemorySource &source, const QString &path, bool skipBad = false)
{
    accessimport::Importer importer(source);
    importer.setSkipBad(skipBad);
    return importer.run(path);
}

// Makes the imported file the program's database, so db.scalar() and db.count() read it.
bool openImported(const QString &path)
{
    store::Database::setPath(path);
    return store::Database::open().ok();
}

QStringList rulesOf(const Outcome &outcome)
{
    QStringList rules;
    for (const accessimport::Refusal &r : outcome.refusals)
        rules << QStringLiteral("%1 %2: %3").arg(r.table).arg(r.row).arg(r.rule);
    return rules;
}

} // namespace

class TestImportRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void namesMatchWithoutRegardToCase()
    {
        TestDatabase db;
        MemorySource source = cleanSource();
        MemorySource renamed;
        for (const QString &name : source.tableNames()) {
            MemorySource::Table table = source.table(name);
            for (auto &column : table.columns)
                column.name = column.name.toUpper();
            renamed.add(name.toLower(), {}) = table;
        }
        renamed.table("departemen").columns.append({"Catatan", accessimport::SourceKind::Text});
        for (Row &row : renamed.table("departemen").rows)
            row << QStringLiteral("lama");

        const Outcome outcome = import(renamed, target(db));
        QVERIFY2(outcome.written, qPrintable(outcome.error));
        QCOMPARE(outcome.ignoredColumns, QStringList{"departemen.Catatan"});
        QVERIFY(openImported(target(db)));
        QCOMPARE(db.count("Departemen"), 2);
        QCOMPARE(db.scalar("SELECT Keterangan FROM Departemen WHERE Kodedepartemen = 'D02'"),
                 QVariant("Produksi"));
    }

    void valuesKeepTheirKindsAndNulls()
    {
        TestDatabase db;
        MemorySource source = cleanSource();
        QVERIFY(import(source, target(db)).written);
        QVERIFY(openImported(target(db)));
        QCOMPARE(db.scalar("SELECT UpahPerhari FROM Peringkat WHERE KodePeringkat = 'SP'"),
                 QVariant(95000.5));
        QCOMPARE(db.scalar("SELECT typeof(TahunMasuk) || typeof(Alamat) || typeof(Tgllahir) "
                           "FROM Pegawai WHERE Nip = '002'"),
                 QVariant("integernullnull"));
        QCOMPARE(db.scalar("SELECT Tgllahir FROM Pegawai WHERE Nip = '001'"),
                 QVariant("1960-01-10"));
        // Leave records get their ids in source order when the source has none.
        QCOMPARE(db.scalar("SELECT group_concat(IdCuti || ':' || SisaCuti, ' ') FROM "
                           "(SELECT * FROM Cuti ORDER BY IdCuti)"),
                 QVariant("1:15.5 2:18.0"));
    }

    void missingTableOrColumnIsNamedAndNothingIsCreated()
    {
        TestDatabase db;
        MemorySource noCards = cleanSource();
        noCards.remove("Periode");
        Outcome outcome = import(noCards, target(db));
        QVERIFY(!outcome.written);
        QVERIFY2(outcome.error.contains("tabel Periode"), qPrintable(outcome.error));
        QVERIFY(!QFile::exists(target(db)));

        MemorySource noAddress = cleanSource();
        noAddress.table("Pegawai").columns[2].name = "Adres";
        outcome = import(noAddress, target(db));
        QVERIFY2(outcome.error.contains("kolom Alamat"), qPrintable(outcome.error));
        QVERIFY(!QFile::exists(target(db)));
    }

    void badRowsAreRefusedWithTheirRule_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<Row>("row");
        QTest::addColumn<QString>("rule");

        QTest::newRow("duplicate code in other case")
            << "Departemen" << Row{"d01", "Lain"} << "Kodedepartemen \"d01\" sudah ada di baris 1";
        QTest::newRow("blank code")
            << "Departemen" << Row{"  ", "Kosong"} << "Kodedepartemen tidak boleh kosong";
        QTest::newRow("wage not a number")
            << "Peringkat" << Row{"XX", "95.000,5", "Staf"} << "UpahPerhari harus berupa angka";
        QTest::newRow("year with a fraction")
            << "Pegawai" << Row{"003", "A", {}, {}, {}, "1990.5", "KB", "", "D01"}
            << "TahunMasuk harus berupa bilangan bulat";
        QTest::newRow("impossible date")
            << "Pegawai" << Row{"003", "A", {}, {}, "1990-02-30", "1990", "KB", "", "D01"}
            << "Tgllahir harus berupa tanggal yang benar (tttt-bb-hh)";
        QTest::newRow("missing rank")
            << "Pegawai" << Row{"003", "A", {}, {}, {}, "1990", "ZZ", "", "D01"}
            << "KodePeringkat \"ZZ\" tidak ada di tabel Peringkat";
        QTest::newRow("missing leave card") << "Cuti" << Row{"001", "K2030", "18", "18", "0"}
                                            << "KartuCuti \"K2030\" tidak ada di tabel Periode";
        QTest::newRow("same employee and card twice")
            << "Cuti" << Row{"001", "k2019", "18", "10", "8"}
            << "Nip + KartuCuti \"001 + k2019\" sudah ada di baris 1";
        QTest::newRow("leave without employee")
            << "Cuti" << Row{{}, "K2019", "18", "10", "8"} << "Nip tidak boleh kosong";
        // Its password is neither shown nor listed: only the name.
        QTest::newRow("user twice")
            << "TPassword" << Row{"ADMIN", "Rahasia#2"} << "Nama \"ADMIN\" sudah ada di baris 1";
    }

    void badRowsAreRefusedWithTheirRule()
    {
        QFETCH(QString, table);
        QFETCH(Row, row);
        QFETCH(QString, rule);
        TestDatabase db;
        MemorySource source = cleanSource();
        source.table(table).rows.append(row);
        const qsizetype position = source.table(table).rows.size();

        const Outcome outcome = import(source, target(db));
        QVERIFY(outcome.error.isEmpty());
        QCOMPARE(rulesOf(outcome),
                 QStringList{QStringLiteral("%1 %2: %3").arg(table).arg(position).arg(rule)});
        const Row shown = table == u"TPassword" ? row.first(1) : row;
        QCOMPARE(outcome.refusals.first().values, shown);
        QVERIFY(!accessimport::describe(outcome.refusals.first()).contains("Rahasia"));
        QVERIFY(!outcome.written);
        QVERIFY(!QFile::exists(target(db)));
    }

    void skipBadKeepsTheRestAndFollowsRefusedParents()
    {
        TestDatabase db;
        MemorySource source = cleanSource();
        // The second D01 is refused, so is the employee of the refused department D03, and
        // then his leave record; an employee without a department is fine.
        source.table("Departemen").rows << Row{"D01", "Lagi"} << Row{{}, "Gudang"};
        source.table("Pegawai").rows << Row{"003", "Ani", {}, {}, {}, "2001", "KB", "", "D03"}
                                     << Row{"004", "Müller", {}, {}, {}, "2001", {}, "", {}};
        source.table("Cuti").rows << Row{"003", "K2019", "18", "18", "0"}
                                  << Row{"004", "K2019", "18", "17", "1"};

        const Outcome outcome = import(source, target(db), true);
        QVERIFY(outcome.written);
        QCOMPARE(outcome.refusals.size(), 4);
        QCOMPARE(outcome.refusals.at(2).rule,
                 QString("KodeDepartemen \"D03\" tidak ada di tabel Departemen"));
        QCOMPARE(outcome.refusals.at(3).rule, QString("Nip \"003\" tidak ada di tabel Pegawai"));
        QCOMPARE(outcome.tallies.at(2).read, 4);
        QCOMPARE(outcome.tallies.at(2).written, 3);
        QVERIFY(openImported(target(db)));
        QCOMPARE(db.count("Departemen"), 2);
        QCOMPARE(db.scalar("SELECT Nama FROM Pegawai WHERE Nip = '004'"), QVariant("Müller"));
        QCOMPARE(db.count("Cuti"), 3);
    }

    // The database compares codes with A to Z folded only; the import must not refuse
    // what the database would take.
    void codesDifferingBeyondAsciiCaseAreDistinct()
    {
        TestDatabase db;
        MemorySource source = cleanSource();
        source.table("Departemen").rows << Row{"DÜ", "Satu"} << Row{"dü", "Dua"};
        const Outcome outcome = import(source, target(db));
        QVERIFY2(outcome.refusals.isEmpty(), qPrintable(rulesOf(outcome).join('\n')));
        QVERIFY(openImported(target(db)));
        QCOMPARE(db.count("Departemen"), 4);
    }

    void existingDatabaseIsLeftAlone()
    {
        TestDatabase db;
        QFile existing(target(db));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("keep me");
        existing.close();
        MemorySource source = cleanSource();
        const Outcome outcome = import(source, target(db));
        QVERIFY(!outcome.written);
        QVERIFY(outcome.error.contains("sudah ada"));
        QVERIFY(existing.open(QIODevice::ReadOnly));
        QCOMPARE(existing.readAll(), QByteArray("keep me"));
    }

    void progressIsReportedEveryNRows()
    {
        TestDatabase db;
        MemorySource source = cleanSource();
        for (int i = 0; i < 5; ++i)
            source.table("TPassword").rows << Row{QStringLiteral("user%1").arg(i), "x"};
        QStringList ticks;
        accessimport::Importer importer(source);
        importer.setProgress(3, [&](const QString &table, qint64 done, qint64 total) {
            ticks << QStringLiteral("%1 %2/%3").arg(table).arg(done).arg(total);
        });
        QVERIFY(importer.run(target(db)).written);
        // Rows read of all the rows the six tables count, as a progress bar needs them.
        QCOMPARE(ticks, QStringList({"Peringkat 3/15", "Pegawai 6/15", "Cuti 9/15",
                                     "TPassword 12/15", "TPassword 15/15"}));
    }

    // A text longer than the database takes, counted as the engine counts it (the larger of
    // its UTF-16 and UTF-8 forms), is refused whole with its length; the console shows the
    // refused row's long text by its beginning.
    void aTextTooLongForTheDatabaseIsRefused()
    {
        const accessimport::TargetTable &pegawai = accessimport::targetTables().at(2);
        const accessimport::RowRules rules(1000);
        QVariantList converted;
        Row row{"003", "Ani", {}, {}, {}, "2001", {}, "", {}};
        row[2] = QString(500, u'ü');
        QCOMPARE(rules.check(pegawai, row, converted), QString());
        QCOMPARE(converted.at(2).toString(), row[2]);
        row[2] = QString(334, u'漢');
        QCOMPARE(rules.check(pegawai, row, converted),
                 QString("Alamat sepanjang 334 karakter (1002 byte) melebihi batas database, 1000 "
                         "byte per nilai; teks tidak dipotong"));
        row[2] = QString(501, u'a');
        const QString rule = rules.check(pegawai, row, converted);
        QVERIFY2(rule.startsWith("Alamat sepanjang 501 karakter (1002 byte)"), qPrintable(rule));

        const QString shown =
            accessimport::describe({"Pegawai", 7, rule, {"Nip", "Alamat"}, {row[0], row[2]}});
        QVERIFY2(shown.startsWith("Pegawai baris 7: Alamat sepanjang 501 karakter"),
                 qPrintable(shown));
        QVERIFY2(
            shown.endsWith(QStringLiteral("Alamat=\"%1…\" (501 karakter)").arg(QString(200, u'a'))),
            qPrintable(shown));
    }

    // What the rule checks miss, the engine refuses; the writer hands its reason back.
    void writerReportsTheEnginesRefusal()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        const accessimport::TargetTable &pegawai = accessimport::targetTables().at(2);
        accessimport::TableWriter writer(pegawai);
        QVERIFY(writer.prepare({0, 1, 8}).ok());
        store::Status status = writer.write({"999", "Tanpa", "D77"});
        QCOMPARE(status.kind(), store::Status::Kind::MissingReference);
        status = writer.write({"19001", "Lagi", "D01"});
        QCOMPARE(status.kind(), store::Status::Kind::Duplicate);
        QVERIFY(writer.write({"999", "Baru", "D01"}).ok());
        QCOMPARE(db.scalar("SELECT Nama FROM Pegawai WHERE Nip = '999'"), QVariant("Baru"));
    }
};

QTEST_GUILESS_MAIN(TestImportRules)
#include "test_import_rules.moc"
