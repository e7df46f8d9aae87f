#include "TestServer.h"

#include "store/PostgresEngine.h"

#include <QFile>
#include <QRandomGenerator>
#include <QtTest>

namespace {

// The fixture's own database, from which test databases are made and dropped.
store::Connection *admin()
{
    static std::unique_ptr<store::Connection> connection;
    if (!connection) {
        store::Status status;
        connection = TestServer::connect(TestServer::fixture(), &status);
        if (!status.ok())
            qWarning() << "cannot reach the test server:" << status.message();
    }
    return connection.get();
}

bool run(store::Connection &db, const QString &sql)
{
    const store::Status status = db.execute(sql);
    if (!status.ok())
        qWarning() << sql << status.engineText();
    return status.ok();
}

} // namespace

store::ServerSettings TestServer::fixture()
{
    const store::ServerSettings settings =
        store::ServerSettings::read(qEnvironmentVariable("KELVARA_TEST_SERVER"));
    if (!settings.ok())
        qWarning() << "no test server:" << settings.error();
    return settings;
}

std::unique_ptr<store::Connection> TestServer::connect(const store::ServerSettings &settings,
                                                       store::Status *status)
{
    if (!settings.ok()) {
        *status = store::Status::failure(store::Status::Kind::ServerSettings, settings.error());
        return nullptr;
    }
    return store::PostgresConnection::open(settings.parameters(), settings.describe(), status);
}

TestServer::TestServer()
{
    store::Connection *server = admin();
    if (!server)
        return;
    const store::ServerSettings settings = fixture();
    const QString database =
        QStringLiteral("kelvara_test_%1")
            .arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
    if (!run(*server, QStringLiteral("CREATE DATABASE %1").arg(database)))
        return;
    m_database = database;
    m_serverFile = m_dir.filePath(QStringLiteral("server.ini"));
    QFile file(m_serverFile);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(QStringLiteral("[server]\nhost = %1\nport = %2\ndatabase = %3\nuser = %4\n")
                   .arg(settings.host())
                   .arg(settings.port())
                   .arg(m_database, settings.user())
                   .toUtf8());
    file.close();
    store::Status status;
    m_connection = connect(store::ServerSettings::read(m_serverFile), &status);
    m_valid = status.ok();
    if (!m_valid)
        qWarning() << "cannot open the test database:" << status.message();
}

TestServer::~TestServer()
{
    m_connection.reset();
    if (!m_database.isEmpty() && admin())
        run(*admin(), QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_database));
}

bool TestServer::exec(const QString &sql)
{
    return m_connection && run(*m_connection, sql);
}

QVariant TestServer::scalar(const QString &sql)
{
    if (!m_connection)
        return {};
    const std::unique_ptr<store::Query> query =
        m_connection->query(sql, store::Status::Operation::Read);
    if (const store::Status status = query->run(); !status.ok() || !query->next()) {
        qWarning() << sql << status.engineText();
        return {};
    }
    return query->value(0);
}

QStringList TestServer::sampleStatements()
{
    return {
        R"(INSERT INTO "Departemen" VALUES ('D01','Sumber Daya Manusia'),('D02','Personalia'),
           ('D03','Sistem Informasi'),('D04','Produksi'),('D05','Gudang'))",
        R"(INSERT INTO "Peringkat" VALUES ('P1',150000,'Kepala Bagian'),
           ('P2',100000,'Karyawan Staf'),('P3',80000,'Satpam'),('P4',70000.5,'Cleaning Service'))",
        R"(INSERT INTO "Pegawai" VALUES ('19001','Budi','Jl. Merdeka 1','Bandung','1980-05-17',
           2005,'P1','Kepala Bagian','D01'),('19002','Susi','Jl. Asia 2','Jakarta',NULL,2010,
           'P2','Karyawan Staf','D02'),('20003','Bunga O''Neil Çelik','Jl. Dago 3','Bogor',
           '1990-12-01',2015,'P3','Satpam','D04'))",
        R"(INSERT INTO "Periode" VALUES ('K2025','2025-01-01','2025-12-31'),
           ('K2026','2026-01-01','2026-12-31'))",
        R"(INSERT INTO "Cuti" ("Nip", "KartuCuti", "Hakcuti", "SisaCuti", "Penggantian Cuti")
           VALUES ('20003','K2026',18,10.5,7.5),('19001','K2025',18,13,5),
           ('19002','K2025',18,17.9,0.1))",
        R"(INSERT INTO "TPassword" VALUES ('admin','admin'))",
    };
}
