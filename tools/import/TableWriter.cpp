#include "TableWriter.h"

#include "store/Database.h"

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

TableWriter::TableWriter(const TargetTable &table) : m_table(table)
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
    m_query = store::Database::connection().query(sql, store::Status::Operation::Write);
    return m_query->status();
}

store::Status TableWriter::write(const QVariantList &values)
{
    return m_query->run(values);
}

} // namespace accessimport
