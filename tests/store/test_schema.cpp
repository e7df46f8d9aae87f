#include "OwnerOnly.h"
#include "TestDatabase.h"

#include "store/Database.h"
#include "store/Recordset.h"
#include "store/Schema.h"
#include "store/SchemaVersion.h"
#include "store/Snapshot.h"
#include "store/Values.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

using store::Status;

namespace {

// Runs a statement and returns how the store reads its failure.
Status attempt(const QString &sql, Status::Operation operation = Status::Operation::Write)
{
    return store::Database::connection().execute(sql, {}, operation);
}

// The rows a statement gives, read beside the program: values by "|", rows by lines.
QString rawQuery(const QString &path, const QString &sql)
{
    QStringList rows;
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "raw");
        raw.setDatabaseName(path);
        raw.open();
        QSqlQuery query(raw);
        query.exec(sql);
        while (query.next()) {
            QStringList values;
            for (int i = 0; i < query.record().count(); ++i)
                values << query.value(i).toString();
            rows << values.join(u'|');
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    return rows.join(u'\n');
}

QString rowsOf(const QString &path)
{
    QString rows;
    for (const QString &table : store::schema::tableNames())
        rows += table + u'\n' + rawQuery(path, QStringLiteral("SELECT * FROM ") + table) + u'\n';
    return rows;
}

} // namespace

class TestSchema : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bindingPositionsHold()
    {
        TestDatabase db;
        QVERIFY(db.isValid());
        const struct
        {
            const char *table;
            int position;
            const char *column;
        } bindings[] = {{"Departemen", 1, "Keterangan"},  {"Peringkat", 2, "Jabatan"},
                        {"Pegawai", 1, "Nama"},           {"TPassword", 1, "Password"},
                        {"Pegawai", 8, "KodeDepartemen"}, {"Cuti", 4, "Penggantian Cuti"}};
        for (const auto &b : bindings) {
            store::Recordset rs(QString::fromUtf8(b.table));
            QVERIFY(rs.open().ok());
            QCOMPARE(rs.columnNames().value(b.position), QString::fromUtf8(b.column));
        }
    }

    void viewsDeliverTheirColumnsAndTotals()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        store::Snapshot all(QStringLiteral("QupahSisaCuti"));
        QVERIFY(all.refresh().ok());
        QCOMPARE(all.columnNames(),
                 QStringList({"Nip", "Nama", "KodeDepartemen", "Keterangan", "KodePeringkat",
                              "Jabatan", "TahunMasuk", "PeriodeAwal", "PeriodeAkhir", "Hakcuti",
                              "SisaCuti", "UpahPerhari", "Total Uang Cuti"}));
        QCOMPARE(all.rowCount(), 3);
        const int total = all.columnIndex(u"Total Uang Cuti");
        for (int row = 0; row < all.rowCount(); ++row) {
            const double expected = all.value(row, all.columnIndex(u"SisaCuti")).toDouble() *
                                    all.value(row, all.columnIndex(u"UpahPerhari")).toDouble();
            QCOMPARE(all.value(row, total).toDouble(), expected);
        }
        // Entry order, and the period end delivered under the query's own name.
        QCOMPARE(all.value(0, 0).toString(), QStringLiteral("19001"));
        QCOMPARE(all.value(2, all.columnIndex(u"PeriodeAkhir")).toString(),
                 QStringLiteral("2026-12-31"));

        const struct
        {
            const char *view;
            int rows;
        } departments[] = {
            {"QlapSDM", 1}, {"QlapPersonalia", 1}, {"QlapProduksi", 1}, {"QlapSI", 0}};
        for (const auto &d : departments) {
            store::Snapshot view(QString::fromUtf8(d.view));
            QVERIFY(view.refresh().ok());
            QCOMPARE(view.columnNames(), all.columnNames());
            QCOMPARE(view.rowCount(), d.rows);
        }
    }

    void rulesRefuseBadRows_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("operation");
        using K = Status::Kind;
        using O = Status::Operation;
        QTest::newRow("duplicate code")
            << "INSERT INTO Departemen VALUES ('D01','x')" << int(K::Duplicate) << int(O::Write);
        QTest::newRow("duplicate in other case")
            << "INSERT INTO Departemen VALUES ('d01','x')" << int(K::Duplicate) << int(O::Write);
        QTest::newRow("empty code")
            << "INSERT INTO Departemen VALUES ('  ','x')" << int(K::Empty) << int(O::Write);
        QTest::newRow("null code")
            << "INSERT INTO Peringkat VALUES (NULL,1,'x')" << int(K::Empty) << int(O::Write);
        QTest::newRow("wage not a number") << "INSERT INTO Peringkat VALUES ('P9','abc','x')"
                                           << int(K::NotANumber) << int(O::Write);
        QTest::newRow("wage beyond every double") << "INSERT INTO Peringkat VALUES ('P9',1e309,'x')"
                                                  << int(K::NotANumber) << int(O::Write);
        QTest::newRow("year not a number")
            << "UPDATE Pegawai SET TahunMasuk = 'dua' WHERE Nip = '19001'" << int(K::NotANumber)
            << int(O::Write);
        QTest::newRow("impossible date")
            << "UPDATE Pegawai SET Tgllahir = '2024-02-30' WHERE Nip = '19001'" << int(K::NotADate)
            << int(O::Write);
        QTest::newRow("missing department")
            << "UPDATE Pegawai SET KodeDepartemen = 'D99' WHERE Nip = '19001'"
            << int(K::MissingReference) << int(O::Write);
        QTest::newRow("leave for missing employee")
            << "INSERT INTO Cuti (Nip, KartuCuti) VALUES ('88888888','K2025')"
            << int(K::MissingReference) << int(O::Write);
        QTest::newRow("second record for the same card")
            << "INSERT INTO Cuti (Nip, KartuCuti) VALUES ('19001','K2025')" << int(K::Duplicate)
            << int(O::Write);
        QTest::newRow("department still in use")
            << "DELETE FROM Departemen WHERE Kodedepartemen='D01'" << int(K::InUse)
            << int(O::Delete);
    }
    void rulesRefuseBadRows()
    {
        QFETCH(QString, sql);
        QFETCH(int, kind);
        QFETCH(int, operation);
        TestDatabase db;
        QVERIFY(db.fillSample());
        const Status status = attempt(sql, Status::Operation(operation));
        QCOMPARE(int(status.kind()), kind);
        QVERIFY(status.message().contains(status.engineText()));
        QVERIFY(!status.explanation().isEmpty());
    }

    // The columns the program shows and reads as dates are exactly those the schema holds
    // to be dates, in the tables and in the views that show them.
    void dateColumnsAreTheSchemasDates()
    {
        TestDatabase db;
        const auto query = store::Database::connection().query(
            QStringLiteral(
                "SELECT m.type, p.name, instr(m.sql, 'date(' || p.name || ',') > 0 FROM "
                "sqlite_master AS m, pragma_table_info(m.name) AS p WHERE m.name IN ('Pegawai', "
                "'Periode', 'Cuti', 'QupahSisaCuti')"),
            Status::Operation::Read);
        QVERIFY(query->run().ok());
        int dates = 0;
        while (query->next()) {
            const QString column = query->value(1).toString();
            if (query->value(0).toString() == QStringLiteral("table"))
                QCOMPARE(store::isDateColumn(column), query->value(2).toBool());
            dates += store::isDateColumn(column);
        }
        // Tgllahir, PeriodeAwal and Periodeahir, then PeriodeAwal and PeriodeAkhir of the view.
        QCOMPARE(dates, 5);
    }

    void renamedCodeCascades()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        QVERIFY(
            db.exec("UPDATE Departemen SET Kodedepartemen = 'SDM' WHERE Kodedepartemen = 'D01'"));
        QCOMPARE(db.scalar("SELECT KodeDepartemen FROM Pegawai WHERE Nip = '19001'").toString(),
                 QStringLiteral("SDM"));
    }

    void openRefusesWhatIsNotOurs()
    {
        TestDatabase db;
        store::Database::close();
        // A missing file is reported and never created.
        const QString missing = db.folder() + QStringLiteral("/none.mdb");
        store::Database::setPath(missing);
        QCOMPARE(store::Database::open().kind(), Status::Kind::Missing);
        QVERIFY(!QFile::exists(missing));
        // Random bytes.
        const QString junk = db.folder() + QStringLiteral("/junk.mdb");
        QFile file(junk);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, '\x5a'));
        file.close();
        store::Database::setPath(junk);
        QCOMPARE(store::Database::open().kind(), Status::Kind::Unreadable);
        QVERIFY(!store::Database::isOpen());
        // A database of another program.
        const QString other = db.folder() + QStringLiteral("/other.mdb");
        {
            QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "other");
            raw.setDatabaseName(other);
            QVERIFY(raw.open());
            QSqlQuery(raw).exec(QStringLiteral("CREATE TABLE t (x)"));
            raw.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
        store::Database::setPath(other);
        const Status status = store::Database::open();
        QCOMPARE(status.kind(), Status::Kind::Unreadable);
        QVERIFY(status.engineText().contains(QStringLiteral("Departemen")));
        // A folder in the file's place is no missing file.
        store::Database::setPath(db.folder());
        QCOMPARE(store::Database::open().kind(), Status::Kind::Unreadable);
        // A link that points nowhere is not followed: the engine would create its target.
        const QString link = db.folder() + QStringLiteral("/link.mdb");
        const QString target = db.folder() + QStringLiteral("/target.mdb");
        QVERIFY(QFile::link(target, link));
        store::Database::setPath(link);
        QCOMPARE(store::Database::open().kind(), Status::Kind::Unreadable);
        QVERIFY(!store::Database::create(link).ok());
        QVERIFY(!QFileInfo::exists(target));
    }

    // Only the owner may read the database and its new folders, whatever the umask says.
    void createMakesPrivateFileAndFolders_data()
    {
        QTest::addColumn<int>("mask");
        QTest::newRow("022") << 022;
        QTest::newRow("077") << 077;
        QTest::newRow("277") << 0277;
        QTest::newRow("000") << 0;
    }

    void createMakesPrivateFileAndFolders()
    {
        QFETCH(int, mask);
        TestDatabase db;
        const QString path = db.folder() + QStringLiteral("/a/b/DB PT Mardeko.mdb");
#ifdef Q_OS_WIN
        Q_UNUSED(mask);
        const Status created = store::Database::create(path);
#else
        const mode_t previous = umask(mode_t(mask));
        const Status created = store::Database::create(path);
        umask(previous);
#endif
        QVERIFY2(created.ok(), qPrintable(created.message()));
        VERIFY_OWNER_ONLY(path);
        for (const char *folder : {"/a", "/a/b"})
            VERIFY_OWNER_ONLY(db.folder() + QLatin1String(folder));
    }

    // A database made before the schema had a version upgrades on opening with every row as it
    // was; one of a later version is refused and left as it is, byte for byte.
    void versionsOnOpen_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<Status::Kind>("kind");
        QTest::newRow("made before versions") << 0 << Status::Kind::None;
        QTest::newRow("this version") << store::schema::version() << Status::Kind::None;
        QTest::newRow("a later version")
            << store::schema::version() + 1 << Status::Kind::Unreadable;
    }

    void versionsOnOpen()
    {
        QFETCH(int, stored);
        QFETCH(Status::Kind, kind);
        TestDatabase db;
        const QString path = db.folder() + QStringLiteral("/lama.mdb");
        QVERIFY(QFile::copy(QStringLiteral(KELVARA_FIXTURES "/unversioned.mdb"), path));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        QCOMPARE(rawQuery(path, QStringLiteral("PRAGMA user_version = %1").arg(stored)), QString());
        const QString rows = rowsOf(path);
        QVERIFY(rows.contains(QStringLiteral("Sumber Daya Manusia")));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        file.close();

        store::Database::setPath(path);
        const Status opened = store::Database::open();
        store::Database::close();
        QVERIFY2(opened.kind() == kind, qPrintable(opened.message()));
        if (!opened.ok())
            QVERIFY(opened.message().contains(QStringLiteral("versi program yang lebih baru")));
        QCOMPARE(rowsOf(path), rows);
        const bool ok = kind == Status::Kind::None;
        QCOMPARE(rawQuery(path, QStringLiteral("PRAGMA user_version")).toInt(),
                 ok ? store::schema::version() : stored);
        // The upgrade brings the history, empty.
        if (ok && stored == 0)
            QCOMPARE(rawQuery(path, QStringLiteral("SELECT count(*) FROM Riwayat")),
                     QStringLiteral("0"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        if (!ok)
            QCOMPARE(file.readAll(), bytes);
    }

    void createRefusesExistingFile()
    {
        TestDatabase db;
        QVERIFY(!store::Database::create(db.path()).ok());
        QVERIFY(db.count(QStringLiteral("Departemen")) == 0);
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "test_schema.moc"
