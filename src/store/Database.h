#pragma once

#include "store/Status.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

struct sqlite3;

namespace store {

// The program's one connection to its database file. Every record source, snapshot and
// command of the data environment works through it; nothing is locked between them.
class Database
{
public:
    // The file the next open() uses: the fixed location unless a tool or a test names another.
    static void setPath(const QString &path);
    static QString path();

    // Opens the file if it is not open yet. Never creates it: a missing file, a folder or a
    // link to nothing in its place, a file that is not a database and a database without the
    // program's tables are reported as failures.
    static Status open();
    static bool isOpen();
    // The open connection; valid after open() succeeded.
    static QSqlDatabase connection();
    // The engine's own handle, for bulk reads that bypass the driver's per-value overhead.
    static sqlite3 *handle();
    // The most bytes the engine takes in one value of the open database; 0 when none is open.
    static qint64 longestValue();
    // Closes the connection; every record source on it must be gone.
    static void close();

    // Creates a new database file with the program's tables and views, readable by its owner
    // only (0600), and the missing folders (0700). Refuses a file that already exists and a
    // symbolic link in its place.
    static Status create(const QString &path);
    // Fails with Kind::Gone when the open file was deleted, renamed or its folder removed.
    // The engine keeps writing to such a file without complaint, and every save would then
    // report success while the data goes nowhere.
    static Status requireFileInPlace();
    // Whether writing to the file would write over the database at path() or one of the
    // engine's side files of it: the same file by any name (links, relative paths).
    static bool isDatabaseFile(const QString &file);
};

// Runs a write in one transaction on the open connection: commits when the body succeeds,
// rolls back and returns the failure otherwise.
template <typename Body> Status inTransaction(Body &&body)
{
    QSqlDatabase db = Database::connection();
    if (Status inPlace = Database::requireFileInPlace(); !inPlace.ok())
        return inPlace;
    if (!db.transaction())
        return Status::fromSql(db.lastError(), Status::Operation::Write);
    Status status = body();
    if (!status.ok()) {
        db.rollback();
        return status;
    }
    if (!db.commit()) {
        status = Status::fromSql(db.lastError(), Status::Operation::Write);
        db.rollback();
    }
    return status;
}

} // namespace store
