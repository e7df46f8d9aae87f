#include "store/SchemaVersion.h"

#include "store/Engine.h"
#include "store/History.h"
#include "store/Schema.h"
#include "store/SchemaPostgres.h"

#include <vector>

namespace store::schema {

namespace {

// What takes a database from the version before to the next one, on each engine. The
// version a step reaches is its place in the list, counted from 1; a new step goes last.
struct Step
{
    QStringList file;
    QStringList server;
};

const std::vector<Step> &steps()
{
    static const std::vector<Step> list = {
        // 1: the server's leave view finds codes by their exact spelling first, with the same
        // rows. The file's tables and views were already those of version 1.
        {{}, {postgres::leaveView()}},
        // 2: every change of the recorded tables leaves its rows in the history.
        {history::fileStatements(), history::serverStatements()},
    };
    return list;
}

// The server keeps its version in a table of one row; a file in its header.
const char ServerTable[] = "SkemaVersi";

QString createVersionTable()
{
    return QStringLiteral(R"(CREATE TABLE "%1" (
    "Versi" integer NOT NULL,
    "Satu" boolean NOT NULL DEFAULT true PRIMARY KEY CHECK ("Satu")
))")
        .arg(QLatin1String(ServerTable));
}

QStringList recordVersion(Engine engine, int from)
{
    if (engine == Engine::File)
        return {QStringLiteral("PRAGMA user_version = %1").arg(version())};
    QStringList statements;
    if (from == 0)
        statements << createVersionTable()
                   << QStringLiteral(R"(INSERT INTO "%1" ("Versi") VALUES (0))")
                          .arg(QLatin1String(ServerTable));
    statements << QStringLiteral(R"(UPDATE "%1" SET "Versi" = %2)")
                      .arg(QLatin1String(ServerTable))
                      .arg(version());
    return statements;
}

Status readInteger(Connection &db, const QString &sql, int *value)
{
    const std::unique_ptr<Query> query = db.query(sql, Status::Operation::Read);
    if (Status status = query->run(); !status.ok())
        return status;
    *value = query->next() ? int(query->integer(0)) : 0;
    return query->status();
}

// Several desks may open an old database at once: the first upgrades it while the others
// wait, and then find it upgraded.
Status beginAlone(Connection &db, Engine engine)
{
    if (engine == Engine::File)
        return db.execute(QStringLiteral("BEGIN IMMEDIATE"));
    Status status = db.begin();
    if (status.ok())
        status = db.execute(QStringLiteral("SELECT pg_advisory_xact_lock(8152320251211)"), {},
                            Status::Operation::Read);
    return status;
}

// A database of a later version may hold what this program would misread or break.
Status tooNew(int found)
{
    return Status::failure(
        Status::Kind::Unreadable,
        QStringLiteral("Database ini dibuat oleh versi program yang lebih baru (versi skema %1; "
                       "program ini sampai versi %2). Pakailah program versi itu atau yang "
                       "lebih baru; database tidak diubah.")
            .arg(found)
            .arg(version()));
}

// The upgrade's own failures say so; the engine's busy and unreachable ones keep their
// kind, which tells the person to try again.
Status notUpgraded(const Status &status)
{
    switch (status.kind()) {
    case Status::Kind::Busy:
    case Status::Kind::Unreachable:
    case Status::Kind::NotConnected:
    case Status::Kind::Gone:
        return status;
    default:
        return Status::failure(Status::Kind::Unreadable,
                               QStringLiteral("Database ini dibuat oleh versi program yang lebih "
                                              "lama dan tidak dapat diperbarui; database tidak "
                                              "diubah. %1")
                                   .arg(status.engineText()));
    }
}

Status verifyTables(Connection &db, Engine engine)
{
    return engine == Engine::File ? verify(db) : postgres::verify(db);
}

// Another desk may have upgraded the database, or a later program opened it, since its
// version was first read.
Status runSteps(Connection &db, Engine engine, bool *newer)
{
    int from = 0;
    Status status = storedVersion(db, engine, &from);
    if (!status.ok() || from == version())
        return status;
    *newer = from > version();
    if (*newer)
        return tooNew(from);
    for (int step = from; step < version() && status.ok(); ++step) {
        const Step &next = steps()[size_t(step)];
        for (const QString &sql : engine == Engine::File ? next.file : next.server) {
            if (status = db.execute(sql); !status.ok())
                break;
        }
    }
    for (const QString &sql : recordVersion(engine, from)) {
        if (status.ok())
            status = db.execute(sql);
    }
    return status;
}

} // namespace

QString versionTable()
{
    return QLatin1String(ServerTable);
}

int version()
{
    return int(steps().size());
}

QStringList versionStatements(Engine engine)
{
    return recordVersion(engine, 0);
}

Status storedVersion(Connection &db, Engine engine, int *version)
{
    if (engine == Engine::File)
        return readInteger(db, QStringLiteral("PRAGMA user_version"), version);
    int present = 0;
    Status status = readInteger(db,
                                QStringLiteral(R"(SELECT count(*) FROM pg_class AS c
JOIN pg_namespace AS n ON n.oid = c.relnamespace
WHERE n.nspname = current_schema() AND c.relname = '%1')")
                                    .arg(QLatin1String(ServerTable)),
                                &present);
    *version = 0;
    if (status.ok() && present > 0)
        status = readInteger(
            db, QStringLiteral(R"(SELECT "Versi" FROM "%1")").arg(QLatin1String(ServerTable)),
            version);
    return status;
}

Status prepare(Connection &db, Engine engine)
{
    int found = 0;
    if (Status status = storedVersion(db, engine, &found); !status.ok())
        return status;
    if (found > version())
        return tooNew(found);
    if (found == version())
        return verifyTables(db, engine);
    if (Status status = beginAlone(db, engine); !status.ok())
        return notUpgraded(status);
    bool newer = false;
    Status status = runSteps(db, engine, &newer);
    if (!status.ok() && !newer)
        status = notUpgraded(status);
    // What is not the program's database after the steps was not one before them either.
    if (status.ok())
        status = verifyTables(db, engine);
    if (status.ok())
        status = db.commit();
    if (!status.ok())
        (void)db.rollback();
    return status;
}

} // namespace store::schema
