#include "store/SchemaPostgres.h"

#include "store/Engine.h"
#include "store/History.h"
#include "store/Schema.h"
#include "store/SchemaVersion.h"

namespace store::schema::postgres {

namespace {

// One row per leave record, in entry order, with what the grid and the reports print.
//
// Every code is looked for by its exact spelling first: a plain comparison of bytes, which
// the server hashes cheaply. Hashing a text under the case-insensitive collation costs it far
// more (it computes the text's collation key), and a join of the leave records on it took most
// of the time of reading the view. Codes are unique under that collation and a text equals
// itself under it, so a row found by its exact spelling is the one row that the collation
// finds; only a code stored in another letter case (a leave record typed "ab12" for the
// employee "AB12") is looked up under the collation, one row at a time. The employee and the
// leave card must exist, as in a plain join.
const char LeaveView[] = R"(CREATE OR REPLACE VIEW "QupahSisaCuti" AS
SELECT e."Nip" AS "Nip",
       e."Nama" AS "Nama",
       e."KodeDepartemen" AS "KodeDepartemen",
       CASE WHEN d.rowid IS NOT NULL THEN d."Keterangan"
            ELSE (SELECT x."Keterangan" FROM "Departemen" AS x
                  WHERE x."Kodedepartemen" = e."KodeDepartemen") END AS "Keterangan",
       e."KodePeringkat" AS "KodePeringkat",
       e."Jabatan" AS "Jabatan",
       e."TahunMasuk" AS "TahunMasuk",
       e."PeriodeAwal" AS "PeriodeAwal",
       e."PeriodeAkhir" AS "PeriodeAkhir",
       e."Hakcuti" AS "Hakcuti",
       e."SisaCuti" AS "SisaCuti",
       r."UpahPerhari" AS "UpahPerhari",
       e."SisaCuti" * r."UpahPerhari" AS "Total Uang Cuti"
FROM (
    SELECT c."IdCuti", c."Hakcuti", c."SisaCuti",
           CASE WHEN p.rowid IS NOT NULL THEN p."Nip" ELSE (SELECT x."Nip"
                FROM "Pegawai" AS x WHERE x."Nip" = c."Nip") END AS "Nip",
           CASE WHEN p.rowid IS NOT NULL THEN p."Nama" ELSE (SELECT x."Nama"
                FROM "Pegawai" AS x WHERE x."Nip" = c."Nip") END AS "Nama",
           CASE WHEN p.rowid IS NOT NULL THEN p."KodeDepartemen" ELSE (SELECT x."KodeDepartemen"
                FROM "Pegawai" AS x WHERE x."Nip" = c."Nip") END AS "KodeDepartemen",
           CASE WHEN p.rowid IS NOT NULL THEN p."KodePeringkat" ELSE (SELECT x."KodePeringkat"
                FROM "Pegawai" AS x WHERE x."Nip" = c."Nip") END AS "KodePeringkat",
           CASE WHEN p.rowid IS NOT NULL THEN p."Jabatan" ELSE (SELECT x."Jabatan"
                FROM "Pegawai" AS x WHERE x."Nip" = c."Nip") END AS "Jabatan",
           CASE WHEN p.rowid IS NOT NULL THEN p."TahunMasuk" ELSE (SELECT x."TahunMasuk"
                FROM "Pegawai" AS x WHERE x."Nip" = c."Nip") END AS "TahunMasuk",
           CASE WHEN k.rowid IS NOT NULL THEN k."PeriodeAwal" ELSE (SELECT x."PeriodeAwal"
                FROM "Periode" AS x WHERE x."Kartucuti" = c."KartuCuti") END AS "PeriodeAwal",
           CASE WHEN k.rowid IS NOT NULL THEN k."Periodeahir" ELSE (SELECT x."Periodeahir"
                FROM "Periode" AS x WHERE x."Kartucuti" = c."KartuCuti") END AS "PeriodeAkhir"
    FROM "Cuti" AS c
    LEFT JOIN "Pegawai" AS p ON p."Nip" COLLATE "C" = c."Nip" COLLATE "C"
    LEFT JOIN "Periode" AS k ON k."Kartucuti" COLLATE "C" = c."KartuCuti" COLLATE "C"
    WHERE (p.rowid IS NOT NULL OR EXISTS (SELECT FROM "Pegawai" AS x WHERE x."Nip" = c."Nip"))
      AND (k.rowid IS NOT NULL
           OR EXISTS (SELECT FROM "Periode" AS x WHERE x."Kartucuti" = c."KartuCuti"))
) AS e
LEFT JOIN "Departemen" AS d ON d."Kodedepartemen" COLLATE "C" = e."KodeDepartemen" COLLATE "C"
LEFT JOIN "Peringkat" AS q ON q."KodePeringkat" COLLATE "C" = e."KodePeringkat" COLLATE "C"
CROSS JOIN LATERAL (
    SELECT CASE WHEN q.rowid IS NOT NULL THEN q."UpahPerhari"
                ELSE (SELECT x."UpahPerhari" FROM "Peringkat" AS x
                      WHERE x."KodePeringkat" = e."KodePeringkat") END AS "UpahPerhari"
) AS r
ORDER BY e."IdCuti")";

// The same tables, columns, order and rules as the file's schema. Names are quoted so that
// the server keeps their spelling and every result delivers it; resolve() finds them in any
// letter case. Codes compare without regard to letter case through an ICU collation; it is
// nondeterministic, so the emptiness check compares under "C", where no invisible character
// equals the empty text. Numbers must be finite: the server takes 'Infinity' and 'NaN' as
// doubles. Dates are the server's own type, limited to the years that an ISO date can write.
// Named checks let the store tell an empty code from a bad date or a bad number. Rows keep
// their entry order in an identity column after the given columns.
const char *const Statements[] = {
    R"(CREATE COLLATION kelvara_nocase (provider = icu, locale = 'und-u-ks-level2',
                                   deterministic = false))",
    R"(CREATE TABLE "Departemen" (
    "Kodedepartemen" text COLLATE kelvara_nocase NOT NULL PRIMARY KEY
        CONSTRAINT nonempty_kodedepartemen CHECK (trim("Kodedepartemen") COLLATE "C" <> ''),
    "Keterangan" text,
    rowid bigint GENERATED ALWAYS AS IDENTITY UNIQUE
))",
    R"(CREATE TABLE "Peringkat" (
    "KodePeringkat" text COLLATE kelvara_nocase NOT NULL PRIMARY KEY
        CONSTRAINT nonempty_kodeperingkat CHECK (trim("KodePeringkat") COLLATE "C" <> ''),
    "UpahPerhari" double precision
        CONSTRAINT finite_upahperhari CHECK (abs("UpahPerhari") < 'Infinity'),
    "Jabatan" text,
    rowid bigint GENERATED ALWAYS AS IDENTITY UNIQUE
))",
    R"(CREATE TABLE "Pegawai" (
    "Nip" text COLLATE kelvara_nocase NOT NULL PRIMARY KEY
        CONSTRAINT nonempty_nip CHECK (trim("Nip") COLLATE "C" <> ''),
    "Nama" text,
    "Alamat" text,
    "TempatLahir" text,
    "Tgllahir" date CONSTRAINT date_tgllahir CHECK ("Tgllahir" BETWEEN '0001-01-01' AND '9999-12-31'),
    "TahunMasuk" bigint,
    "KodePeringkat" text COLLATE kelvara_nocase
        REFERENCES "Peringkat" ("KodePeringkat") ON UPDATE CASCADE ON DELETE RESTRICT,
    "Jabatan" text,
    "KodeDepartemen" text COLLATE kelvara_nocase
        REFERENCES "Departemen" ("Kodedepartemen") ON UPDATE CASCADE ON DELETE RESTRICT,
    rowid bigint GENERATED ALWAYS AS IDENTITY UNIQUE
))",
    R"(CREATE TABLE "Periode" (
    "Kartucuti" text COLLATE kelvara_nocase NOT NULL PRIMARY KEY
        CONSTRAINT nonempty_kartucuti CHECK (trim("Kartucuti") COLLATE "C" <> ''),
    "PeriodeAwal" date
        CONSTRAINT date_periodeawal CHECK ("PeriodeAwal" BETWEEN '0001-01-01' AND '9999-12-31'),
    "Periodeahir" date
        CONSTRAINT date_periodeahir CHECK ("Periodeahir" BETWEEN '0001-01-01' AND '9999-12-31'),
    rowid bigint GENERATED ALWAYS AS IDENTITY UNIQUE
))",
    // IdCuti may be given, as the file's schema allows; a writer that gives it moves the
    // identity past it.
    R"(CREATE TABLE "Cuti" (
    "Nip" text COLLATE kelvara_nocase NOT NULL
        REFERENCES "Pegawai" ("Nip") ON UPDATE CASCADE ON DELETE RESTRICT,
    "KartuCuti" text COLLATE kelvara_nocase NOT NULL
        REFERENCES "Periode" ("Kartucuti") ON UPDATE CASCADE ON DELETE RESTRICT,
    "Hakcuti" double precision CONSTRAINT finite_hakcuti CHECK (abs("Hakcuti") < 'Infinity'),
    "SisaCuti" double precision CONSTRAINT finite_sisacuti CHECK (abs("SisaCuti") < 'Infinity'),
    "Penggantian Cuti" double precision
        CONSTRAINT finite_penggantian CHECK (abs("Penggantian Cuti") < 'Infinity'),
    "IdCuti" bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
    CONSTRAINT unique_cuti UNIQUE ("Nip", "KartuCuti")
))",
    R"(CREATE TABLE "TPassword" (
    "Nama" text COLLATE kelvara_nocase NOT NULL PRIMARY KEY
        CONSTRAINT nonempty_nama CHECK (trim("Nama") COLLATE "C" <> ''),
    "Password" text,
    rowid bigint GENERATED ALWAYS AS IDENTITY UNIQUE
))",
    // The references are checked on every delete of a parent row: index the child columns.
    R"(CREATE INDEX "Pegawai_KodePeringkat" ON "Pegawai" ("KodePeringkat"))",
    R"(CREATE INDEX "Pegawai_KodeDepartemen" ON "Pegawai" ("KodeDepartemen"))",
    R"(CREATE INDEX "Cuti_KartuCuti" ON "Cuti" ("KartuCuti"))",
    LeaveView,
};

// The program's tables and views in the connected database's current schema.
const char RelationsSql[] = R"(SELECT c.relname
FROM pg_class AS c JOIN pg_namespace AS n ON n.oid = c.relnamespace
WHERE n.nspname = current_schema() AND c.relkind IN ('r', 'p', 'v'))";

} // namespace

Status create(Connection &db)
{
    QStringList statements;
    for (const char *statement : Statements)
        statements << QString::fromUtf8(statement);
    statements << departmentViews(QStringLiteral("\"")) << history::serverStatements()
               << versionStatements(Engine::Server);
    return db.executeAll(statements);
}

QString leaveView()
{
    return QString::fromUtf8(LeaveView);
}

Status remove(Connection &db)
{
    QStringList statements;
    for (const QString &view : viewNames())
        statements << QStringLiteral("DROP VIEW IF EXISTS \"%1\" CASCADE").arg(view);
    for (const QString &table : tableNames())
        statements << QStringLiteral("DROP TABLE IF EXISTS \"%1\" CASCADE").arg(table);
    statements << history::serverRemoval()
               << QStringLiteral("DROP TABLE IF EXISTS \"%1\"").arg(versionTable())
               << QStringLiteral("DROP COLLATION IF EXISTS kelvara_nocase");
    return db.executeAll(statements);
}

Status presentNames(Connection &db, QStringList *names)
{
    const std::unique_ptr<Query> query =
        db.query(QString::fromLatin1(RelationsSql), Status::Operation::Read);
    if (Status status = query->run(); !status.ok())
        return status;
    const QStringList ours =
        tableNames() + viewNames() + QStringList{versionTable(), history::table()};
    names->clear();
    while (query->next()) {
        const QString name = query->value(0).toString();
        if (ours.contains(name, Qt::CaseInsensitive))
            *names << name;
    }
    return query->status();
}

Status verify(Connection &db)
{
    QStringList present;
    if (Status status = presentNames(db, &present); !status.ok())
        return status;
    for (const QString &name : tableNames() + viewNames()) {
        if (!present.contains(name, Qt::CaseInsensitive))
            return Status::failure(Status::Kind::Unreadable,
                                   QStringLiteral("no such table or query: %1").arg(name));
    }
    return Status::success();
}

} // namespace store::schema::postgres
