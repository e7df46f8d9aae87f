#pragma once

#include "store/Engine.h"
#include "store/Status.h"

#include <QString>

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
    // The open connection. Before open() succeeded, every statement on it fails.
    static Connection &connection();
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
    Connection &db = Database::connection();
    if (Status inPlace = Database::requireFileInPlace(); !inPlace.ok())
        return inPlace;
    if (Status begun = db.begin(); !begun.ok())
        return begun;
    Status status = body();
    if (!status.ok()) {
        (void)db.rollback();
        return status;
    }
    status = db.commit();
    if (!status.ok())
        (void)db.rollback();
    return status;
}

} // namespace store
