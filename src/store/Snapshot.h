#pragma once

#include "store/Engine.h"
#include "store/Status.h"

#include <QObject>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace store {

// A read-only copy of the rows of a table or view, taken when it opens. A filter narrows the
// rows to those whose column begins with a text, compared without regard to letter case and
// character by character (no wildcards), in memory. Views on it are told before and after
// the rows change.
class Snapshot : public QObject
{
    Q_OBJECT

public:
    explicit Snapshot(QString source, QObject *parent = nullptr);
    // Reads only these columns of the source, in this order (all of them when empty). A list
    // that shows one column of a large table need not hold the others.
    Snapshot(QString source, QStringList columns, QObject *parent = nullptr);

    // A condition that the engine applies as it reads: a column at least a value, or equal to
    // it without regard to letter case. Values travel as bound parameters.
    struct Condition
    {
        enum class Test { AtLeast, EqualsIgnoringCase };
        QString column;
        Test test = Test::AtLeast;
        QVariant value;
    };
    // Keeps only the rows that meet every condition from the next refresh on.
    void setConditions(std::vector<Condition> conditions) { m_conditions = std::move(conditions); }

    QString source() const { return m_source; }
    bool isOpen() const { return m_open; }

    // Reads every row of the source again and removes the filter.
    Status refresh();

    const QStringList &columnNames() const { return m_columns; }
    int columnCount() const { return int(m_columns.size()); }
    // Position of a column, matched without regard to letter case; -1 when unknown.
    int columnIndex(QStringView column) const;
    bool isDateColumn(int column) const;

    // Rows that pass the filter (all rows without one).
    int rowCount() const;
    QVariant value(int row, int column) const;
    // The text a grid or a list shows for a cell.
    QString text(int row, int column) const;

    // Shows only rows whose column begins with the prefix; rows without a value never pass.
    void setFilter(int column, const QString &prefix);
    void clearFilter();
    bool hasFilter() const { return m_filterColumn >= 0; }

Q_SIGNALS:
    void aboutToChange();
    void changed();

private:
    // A stored value: the engine's type and the number, or where its text or bytes lie. A
    // QVariant per cell took twice the memory and an allocation per distinct text.
    struct Cell
    {
        union {
            qint64 integer;
            double real;
            struct
            {
                quint32 offset;
                quint32 length;
            } text; // in m_texts; a blob's offset is its place in m_blobs
        };
        ValueType type;
    };

    int sourceRow(int row) const { return hasFilter() ? m_visible[size_t(row)] : row; }
    // Rows are kept in blocks of a fixed size: a growing snapshot never moves the cells it
    // already holds, which for a large one cost as much as reading them.
    static constexpr int RowsPerBlock = 4096;
    const Cell &cellAt(int sourceRow, int column) const
    {
        return m_blocks[size_t(sourceRow / RowsPerBlock)]
                       [size_t(sourceRow % RowsPerBlock) * size_t(columnCount()) + size_t(column)];
    }
    QStringView textOf(const Cell &cell) const;
    QVariant valueOf(const Cell &cell) const;
    bool matches(int sourceRow, int column, const QString &prefix) const;

    QString m_source;
    QStringList m_wantedColumns;
    std::vector<Condition> m_conditions;
    bool m_open = false;
    QStringList m_columns;
    std::vector<bool> m_dateColumns;
    int m_rowCount = 0;
    std::vector<std::vector<Cell>> m_blocks; // row-major within a block
    // Every text of every cell, one after another; a text that repeats is kept once.
    std::vector<char16_t> m_texts;
    std::vector<QByteArray> m_blobs;
    int m_filterColumn = -1;
    QString m_filterPrefix;
    std::vector<int> m_visible;
};

} // namespace store
