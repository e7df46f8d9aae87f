#pragma once

#include "import/Source.h"

#include <QHash>

// A source whose tables are lists of rows, for checking the import without Access files.
class MemorySource : public accessimport::Source
{
public:
    struct Table
    {
        QList<accessimport::SourceColumn> columns;
        QList<accessimport::Row> rows;
    };

    // Adds a table whose columns all hold text.
    Table &add(const QString &name, const QStringList &columns)
    {
        Table &table = m_tables[name];
        m_order << name;
        for (const QString &column : columns)
            table.columns.append({column, accessimport::SourceKind::Text});
        return table;
    }
    void remove(const QString &name)
    {
        m_tables.remove(name);
        m_order.removeAll(name);
    }
    Table &table(const QString &name) { return m_tables[name]; }

    QStringList tableNames() const override { return m_order; }
    std::unique_ptr<accessimport::SourceTable> openTable(const QString &name) override
    {
        return std::make_unique<Reader>(m_tables.value(name));
    }

private:
    class Reader : public accessimport::SourceTable
    {
    public:
        explicit Reader(Table table) : m_table(std::move(table)) {}
        QList<accessimport::SourceColumn> columns() const override { return m_table.columns; }
        qint64 rowCount() const override { return m_table.rows.size(); }
        bool next(accessimport::Row &row) override
        {
            if (m_next >= m_table.rows.size())
                return false;
            row = m_table.rows.at(m_next++);
            return true;
        }

    private:
        Table m_table;
        qsizetype m_next = 0;
    };

    QHash<QString, Table> m_tables;
    QStringList m_order;
};
