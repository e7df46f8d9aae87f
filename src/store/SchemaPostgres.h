#pragma once

#include "store/Status.h"

#include <QStringList>

namespace store {
class Connection;
}

namespace store::schema::postgres {

// The column that keeps a table's rows in entry order where the engine has no row id. It
// follows the given columns and is not one of the table's columns as the program sees them;
// Cuti keeps its own IdCuti instead.
inline constexpr QLatin1String RowIdColumn("rowid");

// Creates the collation, every table, index and view on an empty database, in one
// transaction; on a failure nothing is left behind.
Status create(Connection &db);

// The statement that makes the leave view, or replaces an earlier one with the same rows.
QString leaveView();

// Removes the program's views, tables, version and collation again, in one transaction: for a
// database that create() has just filled.
Status remove(Connection &db);

// The program's tables, views and version table that the connected database holds, under their own
// names.
Status presentNames(Connection &db, QStringList *names);

// True when every table and view that the program names is present.
Status verify(Connection &db);

} // namespace store::schema::postgres
