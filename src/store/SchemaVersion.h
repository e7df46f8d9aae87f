#pragma once

#include "store/Status.h"

#include <QStringList>

namespace store {
class Connection;
}

namespace store::schema {

// The two engines a database lives on: a file of its own, or a PostgreSQL server.
enum class Engine { File, Server };

// The version of the tables and views that this program makes and works on. A database made
// before versions were kept counts as version 0.
int version();

// The server's table of one row that holds its version.
QString versionTable();

// The statements that record version() in a database being created, in its transaction.
QStringList versionStatements(Engine engine);

// The database's version; 0 when it records none.
Status storedVersion(Connection &db, Engine engine, int *version);

// Makes an opened database ready for the program: refuses one of a later version, brings one
// of an earlier version up to version() with every step in one transaction (all of them, or
// on a failure none), and refuses one without the program's tables. A refused database is
// left as it was.
Status prepare(Connection &db, Engine engine);

} // namespace store::schema
