#include "Target.h"

#include "store/Schema.h"
#include "store/SqliteEngine.h"
#include "store/Values.h"

#include <QVariant>

namespace accessimport {

int TargetTable::columnIndex(const QString &column) const
{
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].name.compare(column, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

namespace {

// Runs a query of the schema's own description; every row as its values.
QList<QVariantList> rows(store::Connection &db, const QString &sql, const QString &table)
{
    const std::unique_ptr<store::Query> query = db.query(sql, store::Status::Operation::Read);
    QList<QVariantList> result;
    if (!query->run({table}).ok())
        return result;
    while (query->next()) {
        QVariantList values;
        for (int i = 0; i < query->columnCount(); ++i)
            values << query->value(i);
        result << values;
    }
    return result;
}

TargetKind kindOf(const QString &type, const QString &column)
{
    if (type.compare(u"REAL", Qt::CaseInsensitive) == 0)
        return TargetKind::Real;
    if (type.compare(u"INTEGER", Qt::CaseInsensitive) == 0)
        return TargetKind::Integer;
    return store::isDateColumn(column) ? TargetKind::Date : TargetKind::Text;
}

QStringList indexColumns(store::Connection &db, const QString &index)
{
    QStringList columns;
    for (const QVariantList &row :
         rows(db, QStringLiteral("SELECT name FROM pragma_index_info(?) ORDER BY seqno"), index))
        columns << row.at(0).toString();
    return columns;
}

// A table as the freshly created schema describes it: its columns with their types, the
// NOT NULL ones required, an INTEGER primary key filled in by the engine, the references,
// then the unique sets (the table's own constraints first, its primary key last).
TargetTable describe(store::Connection &db, const QString &name)
{
    TargetTable table{name, {}, {}, {}};
    QStringList primaryKey;
    for (const QVariantList &row :
         rows(db,
              QStringLiteral("SELECT name, type, \"notnull\", pk FROM pragma_table_info(?) "
                             "ORDER BY cid"),
              name)) {
        TargetColumn column;
        column.name = row.at(0).toString();
        column.kind = kindOf(row.at(1).toString(), column.name);
        column.required = row.at(2).toBool();
        if (row.at(3).toInt() > 0) {
            primaryKey << column.name;
            column.optional = column.kind == TargetKind::Integer;
        }
        table.columns << column;
    }
    for (const QVariantList &row :
         rows(db, QStringLiteral("SELECT \"from\", \"table\" FROM pragma_foreign_key_list(?)"),
              name))
        table.columns[table.columnIndex(row.at(0).toString())].refersTo = row.at(1).toString();
    for (const QVariantList &row :
         rows(db, QStringLiteral("SELECT name FROM pragma_index_list(?) WHERE origin = 'u'"), name))
        table.unique << indexColumns(db, row.at(0).toString());
    table.unique << primaryKey;
    // The engine's row number is no key other rows can name.
    if (primaryKey.size() == 1 && !table.columns[table.columnIndex(primaryKey[0])].optional)
        table.key = primaryKey[0];
    return table;
}

QList<TargetTable> build()
{
    QList<TargetTable> tables;
    store::Status status;
    const std::unique_ptr<store::SqliteConnection> db = store::SqliteConnection::open(
        QStringLiteral(":memory:"), store::SqliteConnection::Mode::Create, &status);
    if (status.ok() && store::schema::create(*db).ok()) {
        for (const QString &name : store::schema::tableNames())
            tables << describe(*db, name);
    }
    // Without the description every import would copy nothing and report it done.
    if (tables.size() != store::schema::tableNames().size())
        qFatal("The program's tables cannot be described");
    return tables;
}

} // namespace

const QList<TargetTable> &targetTables()
{
    static const QList<TargetTable> tables = build();
    return tables;
}

} // namespace accessimport
