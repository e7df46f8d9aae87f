#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace accessimport {

// What a column of the program's database stores.
enum class TargetKind { Text, Real, Integer, Date };

struct TargetColumn
{
    QString name;
    TargetKind kind = TargetKind::Text;
    // Must hold a value that is not blank.
    bool required = false;
    // The table whose key this column names, or empty.
    QString refersTo;
    // May be missing from the source; the database fills it in.
    bool optional = false;
};

// A table of the program's database as the import fills it: its columns in their order,
// the column that other tables refer to, and the sets of columns no two rows may share.
struct TargetTable
{
    QString name;
    QList<TargetColumn> columns;
    QString key;
    QList<QStringList> unique;

    int columnIndex(const QString &column) const;
};

// The six tables, described from a freshly created schema, in an order in which every
// referred table comes first.
const QList<TargetTable> &targetTables();

} // namespace accessimport
