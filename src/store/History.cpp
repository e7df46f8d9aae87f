#include "store/History.h"

#include <QCoreApplication>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

namespace store::history {

namespace {

// A table whose changes are recorded: its key, the column that names an employee (for the
// history of one employee) and a column whose values are never copied, only that it changed.
struct Recorded
{
    const char *table;
    const char *key;
    const char *nip;
    const char *secret;
    QStringList columns;
};

const std::vector<Recorded> &recorded()
{
    static const std::vector<Recorded> list = {
        {"Departemen", "Kodedepartemen", "", "", {"Kodedepartemen", "Keterangan"}},
        {"Peringkat", "KodePeringkat", "", "", {"KodePeringkat", "UpahPerhari", "Jabatan"}},
        {"Pegawai",
         "Nip",
         "Nip",
         "",
         {"Nip", "Nama", "Alamat", "TempatLahir", "Tgllahir", "TahunMasuk", "KodePeringkat",
          "Jabatan", "KodeDepartemen"}},
        {"Periode", "Kartucuti", "", "", {"Kartucuti", "PeriodeAwal", "Periodeahir"}},
        {"Cuti",
         "IdCuti",
         "Nip",
         "",
         {"Nip", "KartuCuti", "Hakcuti", "SisaCuti", "Penggantian Cuti", "IdCuti"}},
        {"TPassword", "Nama", "", "Password", {"Nama", "Password"}},
    };
    return list;
}

const char Table[] = "Riwayat";
const char View[] = "QRiwayat";
const char ActorFunction[] = "kelvara_pelaku";
const char Hidden[] = "(disembunyikan)";
const char Refusal[] = "Riwayat perubahan data tidak dapat diubah atau dihapus";

QString &chosenActor()
{
    static QString actor;
    return actor;
}

QString systemUser()
{
#ifdef Q_OS_WIN
    wchar_t name[257];
    DWORD size = 257;
    if (GetUserNameW(name, &size) && size > 0)
        return QString::fromWCharArray(name, int(size) - 1);
#else
    if (const passwd *entry = getpwuid(geteuid()); entry && entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
#endif
    return QStringLiteral("?");
}

enum class Event { Insert, Update, Delete };

// One statement of a file trigger: a row per column whose value the event changed, written
// from the table's last column to its first, so that the history read newest first shows a
// change's columns in the table's order. Values are compared byte for byte, so a code retyped in
// another letter case is recorded too.
QString fileRecord(const Recorded &t, Event event)
{
    const QString side = event == Event::Insert ? QStringLiteral("NEW") : QStringLiteral("OLD");
    const auto oldOf = [&](const QString &c) {
        return event == Event::Insert ? QStringLiteral("NULL")
                                      : QStringLiteral("OLD.\"%1\"").arg(c);
    };
    const auto newOf = [&](const QString &c) {
        return event == Event::Delete ? QStringLiteral("NULL")
                                      : QStringLiteral("NEW.\"%1\"").arg(c);
    };
    const auto shown = [&](const QString &c, const QString &value) {
        return c == QLatin1String(t.secret)
                   ? QStringLiteral("CASE WHEN %1 IS NOT NULL THEN '%2' END")
                         .arg(value, QLatin1String(Hidden))
                   : value;
    };
    QStringList columns;
    for (qsizetype i = 0; i < t.columns.size(); ++i) {
        const QString &c = t.columns[i];
        columns << QStringLiteral("SELECT %1 AS n, '%2' AS k, %3 AS l, %4 AS b, "
                                  "%5 IS NOT %6 COLLATE BINARY AS c")
                       .arg(i)
                       .arg(c, shown(c, oldOf(c)), shown(c, newOf(c)), oldOf(c), newOf(c));
    }
    const QString nip = *t.nip ? QStringLiteral("%1.\"%2\"")
                                     .arg(event == Event::Delete ? side : QStringLiteral("NEW"),
                                          QLatin1String(t.nip))
                               : QStringLiteral("NULL");
    const char *action = event == Event::Insert   ? "Tambah"
                         : event == Event::Update ? "Ubah"
                                                  : "Hapus";
    return QStringLiteral(
               R"(INSERT INTO "%1" ("Waktu", "Pengguna", "Tabel", "Kunci", "Nip", "Aksi", "Kolom", "Lama", "Baru")
SELECT strftime('%Y-%m-%d %H:%M:%S', 'now'), coalesce(%2(), '?'), '%3', CAST(%4."%5" AS TEXT), %6, '%7', k, l, b
FROM (%8) WHERE c ORDER BY n DESC;)")
        .arg(QLatin1String(Table), QLatin1String(ActorFunction), QLatin1String(t.table), side,
             QLatin1String(t.key), nip, QLatin1String(action),
             columns.join(QStringLiteral(" UNION ALL ")));
}

QString fileTrigger(const Recorded &t, Event event)
{
    const char *name = event == Event::Insert   ? "tambah"
                       : event == Event::Update ? "ubah"
                                                : "hapus";
    const char *on = event == Event::Insert   ? "INSERT"
                     : event == Event::Update ? "UPDATE"
                                              : "DELETE";
    return QStringLiteral("CREATE TEMP TRIGGER \"Riwayat_%1_%2\" AFTER %3 ON \"%1\" BEGIN\n%4\nEND")
        .arg(QLatin1String(t.table), QLatin1String(name), QLatin1String(on), fileRecord(t, event));
}

// The server's triggers share one function, told the key, the employee's and the secret
// column by their arguments. Columns come in the table's order; the entry-order column is
// the engine's own and not recorded.
const char ServerFunction[] = R"(CREATE FUNCTION kelvara_riwayat() RETURNS trigger
LANGUAGE plpgsql AS $body$
DECLARE
    lama json := CASE WHEN TG_OP <> 'INSERT' THEN row_to_json(OLD) END;
    baru json := CASE WHEN TG_OP <> 'DELETE' THEN row_to_json(NEW) END;
BEGIN
    INSERT INTO "Riwayat" ("Waktu", "Pengguna", "Tabel", "Kunci", "Nip", "Aksi", "Kolom", "Lama", "Baru")
    SELECT to_char(statement_timestamp() AT TIME ZONE 'UTC', 'YYYY-MM-DD HH24:MI:SS'),
           coalesce(nullif(current_setting('kelvara.pelaku', true), ''), session_user),
           TG_TABLE_NAME, coalesce(lama, baru) ->> TG_ARGV[0],
           CASE WHEN TG_ARGV[1] <> '' THEN coalesce(baru, lama) ->> TG_ARGV[1] END,
           CASE TG_OP WHEN 'INSERT' THEN 'Tambah' WHEN 'UPDATE' THEN 'Ubah' ELSE 'Hapus' END,
           k.kolom,
           CASE WHEN k.kolom = TG_ARGV[2] AND lama ->> k.kolom IS NOT NULL
                THEN '%1' ELSE lama ->> k.kolom END,
           CASE WHEN k.kolom = TG_ARGV[2] AND baru ->> k.kolom IS NOT NULL
                THEN '%1' ELSE baru ->> k.kolom END
    FROM json_object_keys(coalesce(lama, baru)) WITH ORDINALITY AS k(kolom, n)
    WHERE k.kolom <> 'rowid' AND (lama ->> k.kolom) IS DISTINCT FROM (baru ->> k.kolom)
    ORDER BY k.n DESC;
    RETURN NULL;
END
$body$)";

const char ServerRefusal[] = R"(CREATE FUNCTION kelvara_riwayat_tetap() RETURNS trigger
LANGUAGE plpgsql AS $body$
BEGIN
    RAISE EXCEPTION '%1';
END
$body$)";

// The history newest first, as the report shows it.
QString viewStatement(const QString &quote)
{
    QStringList columns;
    for (const char *column :
         {"Waktu", "Pengguna", "Tabel", "Kunci", "Nip", "Aksi", "Kolom", "Lama", "Baru"})
        columns << quote + QLatin1String(column) + quote;
    return QStringLiteral("CREATE VIEW %1%2%1 AS SELECT %3 FROM %1%4%1 ORDER BY %1IdRiwayat%1 DESC")
        .arg(quote, QLatin1String(View), columns.join(QStringLiteral(", ")), QLatin1String(Table));
}

} // namespace

QString table()
{
    return QLatin1String(Table);
}

void setActor(const QString &actor)
{
    chosenActor() = actor;
}

QString actor()
{
    if (!chosenActor().isEmpty())
        return chosenActor();
    static const QString tool =
        QStringLiteral("%1 (%2)").arg(QCoreApplication::applicationName(), systemUser());
    return tool;
}

const char *actorFunction()
{
    return ActorFunction;
}

QString view()
{
    return QLatin1String(View);
}

QStringList fileStatements()
{
    QStringList statements{QStringLiteral(R"(CREATE TABLE "%1" (
    IdRiwayat INTEGER PRIMARY KEY,
    Waktu TEXT NOT NULL,
    Pengguna TEXT NOT NULL,
    Tabel TEXT NOT NULL,
    Kunci TEXT,
    Nip TEXT COLLATE NOCASE,
    Aksi TEXT NOT NULL,
    Kolom TEXT NOT NULL,
    Lama ANY,
    Baru ANY
) STRICT)")
                               .arg(QLatin1String(Table))};
    for (const char *event : {"UPDATE", "DELETE"})
        statements << QStringLiteral("CREATE TRIGGER \"Riwayat_tetap_%1\" BEFORE %1 ON \"%2\" "
                                     "BEGIN SELECT RAISE(ABORT, '%3'); END")
                          .arg(QLatin1String(event), QLatin1String(Table), QLatin1String(Refusal));
    return statements << viewStatement(QString());
}

QStringList fileRecorders()
{
    QStringList statements;
    for (const Recorded &t : recorded()) {
        for (Event event : {Event::Insert, Event::Update, Event::Delete})
            statements << fileTrigger(t, event);
    }
    return statements;
}

QStringList serverStatements()
{
    QStringList statements{
        QStringLiteral(R"(CREATE TABLE "%1" (
    "IdRiwayat" bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
    "Waktu" text NOT NULL,
    "Pengguna" text NOT NULL,
    "Tabel" text NOT NULL,
    "Kunci" text,
    "Nip" text COLLATE kelvara_nocase,
    "Aksi" text NOT NULL,
    "Kolom" text NOT NULL,
    "Lama" text,
    "Baru" text
))")
            .arg(QLatin1String(Table)),
        QString::fromUtf8(ServerFunction).arg(QLatin1String(Hidden)),
        QString::fromUtf8(ServerRefusal).arg(QLatin1String(Refusal)),
        QStringLiteral("CREATE TRIGGER \"Riwayat_tetap\" BEFORE UPDATE OR DELETE OR TRUNCATE ON "
                       "\"%1\" FOR EACH STATEMENT EXECUTE FUNCTION kelvara_riwayat_tetap()")
            .arg(QLatin1String(Table))};
    for (const Recorded &t : recorded())
        statements << QStringLiteral("CREATE TRIGGER \"Riwayat_%1\" AFTER INSERT OR UPDATE OR "
                                     "DELETE ON \"%1\" FOR EACH ROW EXECUTE FUNCTION "
                                     "kelvara_riwayat('%2', '%3', '%4')")
                          .arg(QLatin1String(t.table), QLatin1String(t.key), QLatin1String(t.nip),
                               QLatin1String(t.secret));
    return statements << viewStatement(QStringLiteral("\""));
}

QStringList serverRemoval()
{
    return {QStringLiteral("DROP VIEW IF EXISTS \"%1\"").arg(QLatin1String(View)),
            QStringLiteral("DROP TABLE IF EXISTS \"%1\"").arg(QLatin1String(Table)),
            QStringLiteral("DROP FUNCTION IF EXISTS kelvara_riwayat() CASCADE"),
            QStringLiteral("DROP FUNCTION IF EXISTS kelvara_riwayat_tetap() CASCADE")};
}

} // namespace store::history
