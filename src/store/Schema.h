#pragma once

#include "store/Status.h"

#include <QStringList>

namespace store {
class Connection;
}

namespace store::schema {

// The six tables, in the order in which they are created.
QStringList tableNames();
// The five stored queries, kept as views.
QStringList viewNames();
// The views of the departments' leave records, with names quoted by the given character.
QStringList departmentViews(const QString &quote);

// Creates every table, index and view on an empty database, in one transaction.
Status create(Connection &db);

// True when the open database holds every table and view that the program names.
Status verify(Connection &db);

} // namespace store::schema
