#include "TestDatabase.h"

#include "CleanState.h"

#include "store/Database.h"

#include <QtTest>

TestDatabase::TestDatabase()
{
    startClean();
    m_path = m_dir.filePath(QStringLiteral("DB PT Mardeko.mdb"));
    const store::Status created = store::Database::create(m_path);
    if (!created.ok()) {
        qWarning() << "cannot create test database:" << created.message();
        return;
    }
    store::Database::setPath(m_path);
    const store::Status opened = store::Database::open();
    if (!opened.ok()) {
        qWarning() << "cannot open test database:" << opened.message();
        return;
    }
    m_valid = true;
}

TestDatabase::~TestDatabase()
{
    startClean();
}

bool TestDatabase::exec(const QString &sql, const QVariantList &values)
{
    const store::Status status = store::Database::connection().execute(sql, values);
    if (!status.ok()) {
        qWarning() << sql << status.engineText();
        return false;
    }
    return true;
}

QVariant TestDatabase::scalar(const QString &sql, const QVariantList &values)
{
    const std::unique_ptr<store::Query> query =
        store::Database::connection().query(sql, store::Status::Operation::Read);
    if (const store::Status status = query->run(values); !status.ok()) {
        qWarning() << sql << status.engineText();
        return {};
    }
    return query->next() ? query->value(0) : QVariant();
}

int TestDatabase::count(const QString &table)
{
    return scalar(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)).toInt();
}

bool TestDatabase::fillSample()
{
    const char *const rows[] = {
        "INSERT INTO Departemen VALUES ('D01','Sumber Daya Manusia'),('D02','Personalia'),"
        "('D03','Sistem Informasi'),('D04','Produksi'),('D05','Gudang')",
        "INSERT INTO Peringkat VALUES ('P1',150000,'Kepala Bagian'),('P2',100000,'Karyawan Staf'),"
        "('P3',80000,'Satpam'),('P4',70000.5,'Cleaning Service')",
        "INSERT INTO Pegawai VALUES ('19001','Budi','Jl. Merdeka 1','Bandung','1980-05-17',2005,"
        "'P1','Kepala Bagian','D01'),('19002','Susi','Jl. Asia 2','Jakarta',NULL,2010,'P2',"
        "'Karyawan Staf','D02'),('20003','Bunga','Jl. Dago 3','Bogor','1990-12-01',2015,'P3',"
        "'Satpam','D04')",
        "INSERT INTO Periode VALUES ('K2025','2025-01-01','2025-12-31'),"
        "('K2026','2026-01-01','2026-12-31')",
        "INSERT INTO Cuti (Nip, KartuCuti, Hakcuti, SisaCuti, \"Penggantian Cuti\") VALUES "
        "('19001','K2025',18,13,5),('19002','K2025',18,18,0),('20003','K2026',18,10.5,7.5)",
        "INSERT INTO TPassword VALUES ('admin','admin')",
    };
    for (const char *sql : rows) {
        if (!exec(QString::fromUtf8(sql)))
            return false;
    }
    return true;
}
