#include "TestServer.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

namespace {

const QString AdminConnection = QStringLiteral("kelvara-test-admin");

// The fixture's own database, from which test databases are made and dropped.
QSqlDatabase admin()
{
    if (QSqlDatabase::contains(AdminConnection))
        return QSqlDatabase::database(AdminConnection);
    const store::ServerSettings settings =
        store::ServerSettings::read(qEnvironmentVariable("KELVARA_TEST_SERVER"));
    if (!settings.ok()) {
        qWarning() << "no test server:" << settings.error();
        return {};
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), AdminConnection);
    settings.apply(db);
    if (!db.open())
        qWarning() << "cannot reach the test server:" << db.lastError().text();
    return db;
}

bool run(QSqlDatabase db, const QString &sql)
{
    QSqlQuery query(db);
    if (query.exec(sql))
        return true;
    qWarning() << sql << query.lastError().text();
    return false;
}

} // namespace

TestServer::TestServer()
{
    QSqlDatabase server = admin();
    if (!server.isOpen())
        return;
    m_database = QStringLiteral("kelvara_test_%1")
                     .arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
    if (!run(server, QStringLiteral("CREATE DATABASE %1").arg(m_database)))
        return;
    m_serverFile = m_dir.filePath(QStringLiteral("server.ini"));
    QFile file(m_serverFile);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(QStringLiteral("[server]\nhost = %1\nport = %2\ndatabase = %3\nuser = %4\n")
                   .arg(server.hostName())
                   .arg(server.port())
                   .arg(m_database, server.userName())
                   .toUtf8());
    file.close();
    const store::ServerSettings settings = store::ServerSettings::read(m_serverFile);
    m_connection = m_database;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_connection);
    settings.apply(db);
    m_valid = settings.ok() && db.open();
    if (!m_valid)
        qWarning() << "cannot open the test database:" << settings.error() << db.lastError().text();
}

TestServer::~TestServer()
{
    if (!m_connection.isEmpty()) {
        QSqlDatabase::database(m_connection, false).close();
        QSqlDatabase::removeDatabase(m_connection);
    }
    if (!m_database.isEmpty())
        run(admin(), QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_database));
}

QSqlDatabase TestServer::connection() const
{
    return QSqlDatabase::database(m_connection, false);
}

bool TestServer::exec(const QString &sql)
{
    return run(connection(), sql);
}

QVariant TestServer::scalar(const QString &sql)
{
    QSqlQuery query(connection());
    if (!query.exec(sql) || !query.next()) {
        qWarning() << sql << query.lastError().text();
        return {};
    }
    return query.value(0);
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
