#include "TestDatabase.h"
#include "TestServer.h"

#include "store/Database.h"
#include "store/History.h"
#include "store/Recordset.h"
#include "store/Schema.h"
#include "store/SchemaPostgres.h"
#include "store/SchemaVersion.h"

#include <QtTest>

namespace pg = store::schema::postgres;
using store::Status;

namespace {

QStringList fieldNames(const store::Query &query)
{
    QStringList names;
    for (int i = 0; i < query.columnCount(); ++i)
        names << query.columnName(i);
    return names;
}

// Keeps a case from leaving its changes, or an aborted transaction, to the next one.
struct RolledBack
{
    store::Connection &db;
    bool begun = db.begin().ok();
    ~RolledBack() { (void)db.rollback(); }
};

bool fill(TestServer &server)
{
    for (const QString &sql : TestServer::sampleStatements()) {
        if (!server.exec(sql))
            return false;
    }
    return true;
}

} // namespace

// The schema on the server: the file's tables, columns, rules and views, checked against the
// file's own schema wherever both engines can answer the same question.
class TestPostgresSchema : public QObject
{
    Q_OBJECT

    TestServer m_shared;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_shared.isValid());
        const Status created = pg::create(m_shared.connection());
        QVERIFY2(created.ok(), qPrintable(created.message()));
        QVERIFY(fill(m_shared));
    }

    void tablesMatchTheFileSchema()
    {
        TestDatabase file;
        QVERIFY(file.isValid());
        store::Connection &db = m_shared.connection();
        QVERIFY(pg::verify(db).ok());
        for (const QString &table : store::schema::tableNames()) {
            store::Recordset rs(table);
            QVERIFY(rs.open().ok());
            store::Relation relation;
            QVERIFY(db.describe(table, &relation).ok());
            QCOMPARE(relation.name, table);
            QCOMPARE(relation.columns, rs.columnNames());
            QCOMPARE(relation.rowKey,
                     table == u"Cuti" ? QStringLiteral("\"IdCuti\"") : QStringLiteral("\"rowid\""));
        }
    }

    void createLeavesNothingWhenItFails()
    {
        TestServer server;
        QVERIFY(server.isValid());
        QVERIFY(server.exec(QStringLiteral("CREATE TABLE \"Periode\" (x int)")));
        store::Connection &db = server.connection();
        QVERIFY(!pg::create(db).ok());
        QStringList present;
        QVERIFY(pg::presentNames(db, &present).ok());
        QCOMPARE(present, QStringList{QStringLiteral("Periode")});
        QCOMPARE(pg::verify(db).kind(), Status::Kind::Unreadable);
    }

    void rulesHoldAsOnTheFile_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("operation");
        using K = Status::Kind;
        const int write = int(Status::Operation::Write);
        const auto row = [&](const char *name, const char *sql, K kind, int operation) {
            QTest::newRow(name) << QString::fromUtf8(sql) << int(kind) << operation;
        };
        row("duplicate code", R"(INSERT INTO "Departemen" VALUES ('D01','x'))", K::Duplicate,
            write);
        row("duplicate in other case", R"(INSERT INTO "Departemen" VALUES ('d01','x'))",
            K::Duplicate, write);
        row("new code", R"(INSERT INTO "Departemen" VALUES ('D06','Keuangan'))", K::None, write);
        row("blank code", R"(INSERT INTO "Departemen" VALUES ('  ','x'))", K::Empty, write);
        row("no code", R"(INSERT INTO "Peringkat" VALUES (NULL,1,'x'))", K::Empty, write);
        row("no user name", R"(INSERT INTO "TPassword" VALUES ('','x'))", K::Empty, write);
        row("wage not a number", R"(INSERT INTO "Peringkat" VALUES ('P9','abc','x'))",
            K::NotANumber, write);
        row("wage infinite", R"(INSERT INTO "Peringkat" VALUES ('P9','Infinity','x'))",
            K::NotANumber, write);
        row("wage beyond a double", R"(UPDATE "Peringkat" SET "UpahPerhari" = '1e309')",
            K::NotANumber, write);
        row("days not a number", R"(UPDATE "Cuti" SET "SisaCuti" = 'NaN')", K::NotANumber, write);
        row("fractional days", R"(UPDATE "Cuti" SET "SisaCuti" = 10.3)", K::None, write);
        row("impossible date", R"(UPDATE "Pegawai" SET "Tgllahir" = '2024-02-30')", K::NotADate,
            write);
        row("five-digit year", R"(UPDATE "Periode" SET "Periodeahir" = '10000-01-01')", K::NotADate,
            write);
        row("leap day", R"(UPDATE "Periode" SET "PeriodeAwal" = '2024-02-29')", K::None, write);
        row("missing department",
            R"(UPDATE "Pegawai" SET "KodeDepartemen" = 'D99' WHERE "Nip" = '19001')",
            K::MissingReference, write);
        row("rank in other case",
            R"(UPDATE "Pegawai" SET "KodePeringkat" = 'p2' WHERE "Nip" = '19001')", K::None, write);
        row("leave for missing employee",
            R"(INSERT INTO "Cuti" ("Nip", "KartuCuti") VALUES ('88888888','K2025'))",
            K::MissingReference, write);
        row("second record for the same card",
            R"(INSERT INTO "Cuti" ("Nip", "KartuCuti") VALUES ('19001','k2025'))", K::Duplicate,
            write);
        row("department still in use", R"(DELETE FROM "Departemen" WHERE "Kodedepartemen"='D01')",
            K::InUse, int(Status::Operation::Delete));
        row("unused department", R"(DELETE FROM "Departemen" WHERE "Kodedepartemen"='D05')",
            K::None, int(Status::Operation::Delete));
    }
    void rulesHoldAsOnTheFile()
    {
        QFETCH(QString, sql);
        QFETCH(int, kind);
        QFETCH(int, operation);
        const auto op = Status::Operation(operation);

        TestDatabase file;
        QVERIFY(file.isValid());
        for (const QString &statement : TestServer::sampleStatements())
            QVERIFY(file.exec(statement));
        const Status fileStatus = store::Database::connection().execute(sql, {}, op);

        const RolledBack transaction{m_shared.connection()};
        QVERIFY(transaction.begun);
        const Status serverStatus = transaction.db.execute(sql, {}, op);

        QCOMPARE(int(serverStatus.kind()), kind);
        QCOMPARE(int(fileStatus.kind()), kind);
        QVERIFY(serverStatus.ok() || !serverStatus.engineText().isEmpty());
    }

    void renamedCodeCascades()
    {
        const RolledBack transaction{m_shared.connection()};
        QVERIFY(transaction.begun);
        QVERIFY(m_shared.exec(
            R"(UPDATE "Departemen" SET "Kodedepartemen" = 'SDM' WHERE "Kodedepartemen" = 'D01')"));
        QVERIFY(m_shared.exec(
            R"(UPDATE "Periode" SET "Kartucuti" = 'KARTU-2025' WHERE "Kartucuti" = 'K2025')"));
        QCOMPARE(m_shared.scalar(R"(SELECT "KodeDepartemen" FROM "Pegawai" WHERE "Nip" = '19001')")
                     .toString(),
                 QStringLiteral("SDM"));
        QCOMPARE(m_shared.scalar(R"(SELECT count(*) FROM "Cuti" WHERE "KartuCuti" = 'kartu-2025')")
                     .toInt(),
                 2);
    }

    void viewsDeliverTheFileColumnsAndTotals()
    {
        TestDatabase file;
        QVERIFY(file.isValid());
        const auto onFile = store::Database::connection().query(
            QStringLiteral("SELECT * FROM QupahSisaCuti"), Status::Operation::Read);
        QVERIFY(onFile->run().ok());
        QStringList expected;
        for (int i = 0; i < onFile->columnCount(); ++i)
            expected << onFile->columnName(i);
        QCOMPARE(expected.last(), QStringLiteral("Total Uang Cuti"));

        store::Connection &db = m_shared.connection();
        const struct
        {
            const char *view;
            QStringList nips;
        } views[] = {{"QupahSisaCuti", {"20003", "19001", "19002"}},
                     {"QlapSDM", {"19001"}},
                     {"QlapPersonalia", {"19002"}},
                     {"QlapProduksi", {"20003"}},
                     {"QlapSI", {}}};
        for (const auto &v : views) {
            const auto query = db.query(QStringLiteral("SELECT * FROM \"%1\"").arg(v.view),
                                        Status::Operation::Read);
            QVERIFY(query->run().ok());
            QCOMPARE(fieldNames(*query), expected);
            const auto at = [&](const char *column) {
                return query->value(int(expected.indexOf(QLatin1String(column))));
            };
            QStringList nips;
            while (query->next()) {
                nips << at("Nip").toString();
                QCOMPARE(at("Total Uang Cuti").toDouble(),
                         at("SisaCuti").toDouble() * at("UpahPerhari").toDouble());
            }
            QCOMPARE(nips, v.nips);
        }
        QCOMPARE(
            m_shared
                .scalar(R"(SELECT "Total Uang Cuti" FROM "QupahSisaCuti" WHERE "Nip" = '20003')")
                .toDouble(),
            840000.0);
        QCOMPARE(m_shared.scalar(R"(SELECT "PeriodeAkhir" FROM "QlapSDM")").toDate(),
                 QDate(2025, 12, 31));
    }

    // A leave record may name its employee and card in another letter case, and an employee
    // his department and rank: the view finds them all the same, and keeps a record whose
    // employee has neither department nor rank.
    void viewsFindCodesInAnotherCase()
    {
        const RolledBack transaction{m_shared.connection()};
        QVERIFY(transaction.begun);
        QVERIFY(m_shared.exec(R"(INSERT INTO "Pegawai" ("Nip", "Nama", "KodePeringkat",
            "KodeDepartemen") VALUES ('AB12x', 'Ani', 'p2', 'd01'), ('AB13', 'Tono', NULL, NULL))"));
        QVERIFY(m_shared.exec(R"(INSERT INTO "Cuti" ("Nip", "KartuCuti", "Hakcuti", "SisaCuti")
            VALUES ('ab12X', 'k2026', 18, 4.5), ('AB13', 'K2025', 18, 2))"));
        const auto query = m_shared.connection().query(
            QStringLiteral(R"(SELECT "Nip", "Nama", "Keterangan", "UpahPerhari", "PeriodeAkhir",
                "Total Uang Cuti" FROM "QupahSisaCuti")"),
            Status::Operation::Read);
        QVERIFY(query->run().ok());
        QStringList rows;
        while (query->next()) {
            QStringList row;
            for (int c = 0; c < query->columnCount(); ++c)
                row << QString::fromUtf8(query->text(c));
            rows << row.join(u'|');
        }
        QCOMPARE(rows.mid(3), (QStringList{"AB12x|Ani|Sumber Daya Manusia|100000|2026-12-31|450000",
                                           "AB13|Tono|||2025-12-31|"}));
        QCOMPARE(m_shared.scalar(R"(SELECT count(*) FROM "QlapSDM" WHERE "Nip" = 'AB12X')").toInt(),
                 1);
    }

    // A database made before the schema had a version (and before the leave view found codes
    // by their spelling first) upgrades when a desk opens it, with the same rows; one of a
    // later version is refused and left as it is.
    void versionsOnOpen_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<Status::Kind>("kind");
        QTest::newRow("made before versions") << 0 << Status::Kind::None;
        QTest::newRow("a later version")
            << store::schema::version() + 1 << Status::Kind::Unreadable;
    }

    void versionsOnOpen()
    {
        QFETCH(int, stored);
        QFETCH(Status::Kind, kind);
        TestServer server;
        QVERIFY(server.isValid());
        QVERIFY(pg::create(server.connection()).ok());
        QVERIFY(fill(server));
        if (stored == 0) {
            QVERIFY(server.exec(QStringLiteral(R"(DROP TABLE "SkemaVersi")")));
            for (const QString &sql : store::history::serverRemoval())
                QVERIFY(server.exec(sql));
            QVERIFY(server.exec(QStringLiteral(R"(CREATE OR REPLACE VIEW "QupahSisaCuti" AS
SELECT p."Nip", p."Nama", p."KodeDepartemen", d."Keterangan", p."KodePeringkat", p."Jabatan",
       p."TahunMasuk", k."PeriodeAwal", k."Periodeahir" AS "PeriodeAkhir", c."Hakcuti",
       c."SisaCuti", r."UpahPerhari", c."SisaCuti" * r."UpahPerhari" AS "Total Uang Cuti"
FROM "Cuti" AS c
JOIN "Pegawai" AS p ON p."Nip" = c."Nip"
JOIN "Periode" AS k ON k."Kartucuti" = c."KartuCuti"
LEFT JOIN "Departemen" AS d ON d."Kodedepartemen" = p."KodeDepartemen"
LEFT JOIN "Peringkat" AS r ON r."KodePeringkat" = p."KodePeringkat"
ORDER BY c."IdCuti")")));
        } else {
            QVERIFY(
                server.exec(QStringLiteral(R"(UPDATE "SkemaVersi" SET "Versi" = %1)").arg(stored)));
        }
        const QString rows = QStringLiteral(R"(SELECT string_agg(concat_ws('|', q.*), ';')
            FROM "QupahSisaCuti" AS q)");
        const QString before = server.scalar(rows).toString();
        const QString definition =
            QStringLiteral(R"(SELECT pg_get_viewdef('"QupahSisaCuti"'::regclass))");
        const QString viewBefore = server.scalar(definition).toString();

        store::Database::setServerFile(server.serverFile());
        const Status opened = store::Database::open();
        store::Database::setServerFile(QString());
        QVERIFY2(opened.kind() == kind, qPrintable(opened.message()));
        if (!opened.ok())
            QVERIFY(opened.message().contains(QStringLiteral("versi program yang lebih baru")));
        int version = -1;
        QVERIFY(store::schema::storedVersion(server.connection(), store::schema::Engine::Server,
                                             &version)
                    .ok());
        QCOMPARE(server.scalar(rows).toString(), before);
        if (kind != Status::Kind::None) {
            QCOMPARE(version, stored);
            QCOMPARE(server.scalar(definition).toString(), viewBefore);
            return;
        }
        QCOMPARE(version, store::schema::version());
        QVERIFY(server.scalar(definition).toString().contains(QLatin1String("COLLATE \"C\"")));
    }

    void namesResolveInAnyCase_data()
    {
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("rowId");
        QTest::newRow("table in lower case") << "departemen"
                                             << "Departemen"
                                             << "\"rowid\"";
        QTest::newRow("table in upper case") << "TPASSWORD"
                                             << "TPassword"
                                             << "\"rowid\"";
        QTest::newRow("leave records") << "cuti"
                                       << "Cuti"
                                       << "\"IdCuti\"";
        QTest::newRow("view") << "qupahsisacuti"
                              << "QupahSisaCuti"
                              << "";
        QTest::newRow("department view") << "QLAPsdm"
                                         << "QlapSDM"
                                         << "";
        QTest::newRow("no such name") << "Departemen2"
                                      << ""
                                      << "";
    }
    void namesResolveInAnyCase()
    {
        QFETCH(QString, asked);
        QFETCH(QString, name);
        QFETCH(QString, rowId);
        store::Relation relation;
        const Status status = m_shared.connection().describe(asked, &relation);
        QCOMPARE(relation.name, name);
        QCOMPARE(relation.rowKey, rowId);
        QCOMPARE(status.kind(), name.isEmpty() ? Status::Kind::Unreadable : Status::Kind::None);
        QCOMPARE(relation.columns.isEmpty(), name.isEmpty());
    }

    // A desk on a server that speaks TLS on 127.0.0.1 with a certificate for "localhost":
    // sslmode reaches the client library, and a refused certificate names the server and
    // libpq's reason at the start.
    void encryptedConnections_data()
    {
        QTest::addColumn<QString>("sslMode");
        QTest::addColumn<bool>("withAuthority");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("disable") << "disable" << false << QString();
        QTest::newRow("require") << "require" << false << QString();
        QTest::newRow("verify-full, authority known") << "verify-full" << true << QString();
        QTest::newRow("verify-full, authority unknown")
            << "verify-full" << false << "root certificate file";
        QTest::newRow("verify-ca, authority unknown")
            << "verify-ca" << false << "root certificate file";
    }
    void encryptedConnections()
    {
        QFETCH(QString, sslMode);
        QFETCH(bool, withAuthority);
        QFETCH(QString, refusal);
        const store::ServerSettings shared = TestServer::fixture();
        QTemporaryDir dir;
        const QString file = dir.filePath("server.ini");
        QFile ini(file);
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[server]\nhost = localhost\nport = %1\ndatabase = %2\nuser = "
                                 "%3\nsslmode = %4\n")
                      .arg(shared.port())
                      .arg(m_shared.databaseName(), shared.user(), sslMode)
                      .toUtf8());
        ini.close();
        const QString authority =
            withAuthority
                ? QFileInfo(qEnvironmentVariable("KELVARA_TEST_SERVER")).dir().filePath("root.crt")
                : dir.filePath("no-root.crt");
        const QByteArray saved = qgetenv("PGSSLROOTCERT");
        qputenv("PGSSLROOTCERT", QFile::encodeName(authority));
        store::Database::setServerFile(file);
        const Status opened = store::Database::open();
        QVariant encrypted;
        if (opened.ok()) {
            const auto ssl = store::Database::connection().query(
                QStringLiteral("SELECT ssl::int FROM pg_stat_ssl WHERE pid = pg_backend_pid()"),
                Status::Operation::Read);
            if (ssl->run().ok() && ssl->next())
                encrypted = ssl->value(0);
        }
        store::Database::setServerFile(QString());
        qputenv("PGSSLROOTCERT", saved);

        if (refusal.isEmpty()) {
            QVERIFY2(opened.ok(), qPrintable(opened.message()));
            QCOMPARE(encrypted.toInt(), sslMode == u"disable" ? 0 : 1);
            return;
        }
        QCOMPARE(opened.kind(), Status::Kind::NotConnected);
        const QString message = opened.message();
        QVERIFY2(message.contains(QStringLiteral("kelvara@localhost:%1/").arg(shared.port())) &&
                     message.contains(refusal) && !message.contains(u"Isian tetap ada"),
                 qPrintable(message));
    }

    void passwordComesOnlyFromThePasswordFile()
    {
        const store::ServerSettings settings = store::ServerSettings::read(m_shared.serverFile());
        QVERIFY(settings.ok());
        const QByteArray saved = qgetenv("PGPASSFILE");
        qputenv("PGPASSFILE", QFile::encodeName(QDir::tempPath() + "/no-such-pgpass"));
        Status status;
        const bool opened = TestServer::connect(settings, &status) != nullptr;
        qputenv("PGPASSFILE", saved);
        QVERIFY(!opened);
        // The desk is told which server refused it and why, in libpq's words.
        QCOMPARE(status.kind(), Status::Kind::NotConnected);
        QVERIFY2(status.engineText().startsWith(settings.describe()),
                 qPrintable(status.engineText()));
        QVERIFY2(status.engineText().contains(u"password"), qPrintable(status.engineText()));
    }
};

QTEST_GUILESS_MAIN(TestPostgresSchema)
#include "test_postgres_schema.moc"
