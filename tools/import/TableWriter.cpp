#include "TableWriter.h"

#include "store/Database.h"

#include <QSqlError>
#include <QStringList>

namespace accessimport {

namespace {

// Names come from the fixed table descriptions, never from the source: quoting keeps
// "Penggantian Cuti" with its blank one identifier.
QString quoted(const QString &name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

} // namespace

TableWriter::TableWriter(const TargetTable &table)
    : m_table(table), m_query(store::Database::connection())
{
}

store::Status TableWriter::prepare(const QList<int> &columns)
{
    QStringList names;
    QStringList marks;
    for (int column : columns) {
        names << quoted(m_table.columns.at(column).name);
        marks << QStringLiteral("?");
    }
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(quoted(m_table.name), names.join(QStringLiteral(", ")),
                                 marks.join(QStringLiteral(", ")));
    if (!m_query.prepare(sql))
        return store::Status::fromSql(m_query.lastError(), store::Status::Operation::Write);
    return store::Status::success();
}

store::Status TableWriter::write(const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        m_query.bindValue(i, values.at(i));
    if (!m_query.exec())
        return store::Status::fromSql(m_query.lastError(), store::Status::Operation::Write);
    return store::Status::success();
}

} // namespace accessimport
