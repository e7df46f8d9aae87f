#include "store/Schema.h"

#include "store/Departments.h"
#include "store/Engine.h"
#include "store/History.h"
#include "store/SchemaVersion.h"

namespace store::schema {

namespace {

// Code columns compare without regard to letter case, as the searches and the sign-in do;
// they must hold a non-blank value. Dates are ISO text that the engine can read back as the
// same day. The engine turns a number text too large for a double ("1e309") into infinity
// rather than refuse it: numbers must be finite, so that a number box refuses such a text
// as it refuses any other text that is no number. (NaN never gets in: the engine stores a
// NaN as no value and refuses the text "NaN".) Named checks let Status tell an empty code
// from a bad date or a bad number.
const char *const Statements[] = {
    R"(CREATE TABLE Departemen (
    Kodedepartemen TEXT NOT NULL PRIMARY KEY COLLATE NOCASE
        CONSTRAINT nonempty_kodedepartemen CHECK (trim(Kodedepartemen) <> ''),
    Keterangan TEXT
) STRICT)",
    R"(CREATE TABLE Peringkat (
    KodePeringkat TEXT NOT NULL PRIMARY KEY COLLATE NOCASE
        CONSTRAINT nonempty_kodeperingkat CHECK (trim(KodePeringkat) <> ''),
    UpahPerhari REAL CONSTRAINT finite_upahperhari CHECK (abs(UpahPerhari) <= 1.7976931348623157e308),
    Jabatan TEXT
) STRICT)",
    R"(CREATE TABLE Pegawai (
    Nip TEXT NOT NULL PRIMARY KEY COLLATE NOCASE
        CONSTRAINT nonempty_nip CHECK (trim(Nip) <> ''),
    Nama TEXT,
    Alamat TEXT,
    TempatLahir TEXT,
    Tgllahir TEXT CONSTRAINT date_tgllahir CHECK (Tgllahir IS NULL OR date(Tgllahir, '+0 days') IS Tgllahir),
    TahunMasuk INTEGER,
    KodePeringkat TEXT COLLATE NOCASE
        REFERENCES Peringkat (KodePeringkat) ON UPDATE CASCADE ON DELETE RESTRICT,
    Jabatan TEXT,
    KodeDepartemen TEXT COLLATE NOCASE
        REFERENCES Departemen (Kodedepartemen) ON UPDATE CASCADE ON DELETE RESTRICT
) STRICT)",
    R"(CREATE TABLE Periode (
    Kartucuti TEXT NOT NULL PRIMARY KEY COLLATE NOCASE
        CONSTRAINT nonempty_kartucuti CHECK (trim(Kartucuti) <> ''),
    PeriodeAwal TEXT
        CONSTRAINT date_periodeawal CHECK (PeriodeAwal IS NULL OR date(PeriodeAwal, '+0 days') IS PeriodeAwal),
    Periodeahir TEXT
        CONSTRAINT date_periodeahir CHECK (Periodeahir IS NULL OR date(Periodeahir, '+0 days') IS Periodeahir)
) STRICT)",
    R"(CREATE TABLE Cuti (
    Nip TEXT NOT NULL COLLATE NOCASE
        REFERENCES Pegawai (Nip) ON UPDATE CASCADE ON DELETE RESTRICT,
    KartuCuti TEXT NOT NULL COLLATE NOCASE
        REFERENCES Periode (Kartucuti) ON UPDATE CASCADE ON DELETE RESTRICT,
    Hakcuti REAL CONSTRAINT finite_hakcuti CHECK (abs(Hakcuti) <= 1.7976931348623157e308),
    SisaCuti REAL CONSTRAINT finite_sisacuti CHECK (abs(SisaCuti) <= 1.7976931348623157e308),
    "Penggantian Cuti" REAL
        CONSTRAINT finite_penggantian CHECK (abs("Penggantian Cuti") <= 1.7976931348623157e308),
    IdCuti INTEGER PRIMARY KEY,
    CONSTRAINT unique_cuti UNIQUE (Nip, KartuCuti)
) STRICT)",
    R"(CREATE TABLE TPassword (
    Nama TEXT NOT NULL PRIMARY KEY COLLATE NOCASE
        CONSTRAINT nonempty_nama CHECK (trim(Nama) <> ''),
    Password TEXT
) STRICT)",
    // The references are checked on every delete of a parent row: index the child columns.
    "CREATE INDEX Pegawai_KodePeringkat ON Pegawai (KodePeringkat)",
    "CREATE INDEX Pegawai_KodeDepartemen ON Pegawai (KodeDepartemen)",
    "CREATE INDEX Cuti_KartuCuti ON Cuti (KartuCuti)",
    // One row per leave record, in entry order, with what the grid and the reports print.
    R"(CREATE VIEW QupahSisaCuti AS
SELECT p.Nip AS Nip,
       p.Nama AS Nama,
       p.KodeDepartemen AS KodeDepartemen,
       d.Keterangan AS Keterangan,
       p.KodePeringkat AS KodePeringkat,
       p.Jabatan AS Jabatan,
       p.TahunMasuk AS TahunMasuk,
       k.PeriodeAwal AS PeriodeAwal,
       k.Periodeahir AS PeriodeAkhir,
       c.Hakcuti AS Hakcuti,
       c.SisaCuti AS SisaCuti,
       r.UpahPerhari AS UpahPerhari,
       c.SisaCuti * r.UpahPerhari AS "Total Uang Cuti"
FROM Cuti AS c
JOIN Pegawai AS p ON p.Nip = c.Nip
JOIN Periode AS k ON k.Kartucuti = c.KartuCuti
LEFT JOIN Departemen AS d ON d.Kodedepartemen = p.KodeDepartemen
LEFT JOIN Peringkat AS r ON r.KodePeringkat = p.KodePeringkat
ORDER BY c.IdCuti)",
};

} // namespace

QStringList tableNames()
{
    return {QStringLiteral("Departemen"), QStringLiteral("Peringkat"), QStringLiteral("Pegawai"),
            QStringLiteral("Periode"),    QStringLiteral("Cuti"),      QStringLiteral("TPassword")};
}

QStringList viewNames()
{
    QStringList names{QStringLiteral("QupahSisaCuti")};
    for (const DepartmentReport &row : DepartmentReports)
        names << QLatin1String(row.view);
    return names;
}

QStringList departmentViews(const QString &quote)
{
    QStringList statements;
    for (const DepartmentReport &row : DepartmentReports)
        statements << QStringLiteral("CREATE VIEW %2%1%2 AS SELECT * FROM %2QupahSisaCuti%2 "
                                     "WHERE %2Keterangan%2 = '%3'")
                          .arg(QLatin1String(row.view), quote, QLatin1String(row.department));
    return statements;
}

Status create(Connection &db)
{
    QStringList statements;
    for (const char *statement : Statements)
        statements << QString::fromUtf8(statement);
    statements << departmentViews(QString()) << history::fileStatements()
               << versionStatements(Engine::File);
    return db.executeAll(statements);
}

Status verify(Connection &db)
{
    const std::unique_ptr<Query> query =
        db.query(QStringLiteral("SELECT type, name FROM sqlite_master"), Status::Operation::Read);
    Status status = query->run();
    QStringList present;
    while (query->next())
        present << query->value(1).toString().toLower();
    if (status.ok())
        status = query->status();
    if (!status.ok())
        return status;
    for (const QString &name : tableNames() + viewNames()) {
        if (!present.contains(name.toLower()))
            return Status::failure(Status::Kind::Unreadable,
                                   QStringLiteral("no such table or query: %1").arg(name));
    }
    return Status::success();
}

} // namespace store::schema
