#pragma once

#include "store/Status.h"

#include <QStringList>

class QSqlDatabase;
class QSqlError;

namespace store::schema::postgres {

// The column that keeps a table's rows in entry order where the engine has no row id. It
// follows the given columns and is not one of the table's columns as the program sees them;
// Cuti keeps its own IdCuti instead.
inline constexpr QLatin1String RowIdColumn("rowid");

// Creates the collation, every table, index and view on an empty database, in one
// transaction; on a failure nothing is left behind.
Status create(QSqlDatabase &db);

// The program's tables and views that the connected database holds, under their own names.
Status presentNames(QSqlDatabase &db, QStringList *names);

// True when every table and view that the program names is present.
Status verify(QSqlDatabase &db);

// A table or view named without regard to letter case, as the program names them: its own
// name, its columns in order (without the entry-order column) and the column that orders
// its rows (empty for a view). Fails with Kind::Unreadable when there is no such relation.
struct Relation
{
    QString name;
    QStringList columns;
    QString rowIdColumn;
};
Status resolve(QSqlDatabase &db, const QString &anyCase, Relation *relation);

// How the store reads a failure of the server: by its SQLSTATE and the constraint name
// that the message quotes in any language, never by English wording.
Status statusFromError(const QSqlError &error, Status::Operation operation);

} // namespace store::schema::postgres
