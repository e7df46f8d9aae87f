#pragma once

#include "store/Engine.h"
#include "store/Status.h"

#include <QString>

#include <functional>

namespace store {

// The program's one connection to its database: the file, or the PostgreSQL database that
// several desks share. Every record source, snapshot and command of the data environment
// works through it; nothing is locked between them.
class Database
{
public:
    // The file the next open() uses: the fixed location unless a tool or a test names another.
    // Naming a file means the file, even where a server file lies beside the fixed place.
    static void setPath(const QString &path);
    static QString path();
    // The server file (server.ini) the next open() uses instead of a file; empty goes back
    // to the file.
    static void setServerFile(const QString &file);
    // The server file in use: the one set, else server.ini beside the fixed place unless a
    // file was named; empty when the database is a file.
    static QString serverFile();
    static bool onServer() { return !serverFile().isEmpty(); }
    // How messages name the database: the file's path, or the server as user@host:port/db.
    static QString describe();

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
    // Creates the program's tables and views in the empty database that a server file names
    // and opens it, so that fill() can add the first rows in the same transaction; nothing
    // stays when either fails. Refuses a database that holds any of the program's tables.
    static Status createOnServer(const QString &serverFile, const std::function<Status()> &fill);
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
