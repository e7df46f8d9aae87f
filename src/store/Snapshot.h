#pragma once

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
    int totalRowCount() const { return m_rowCount; }

    // Shows only rows whose column begins with the prefix; rows without a value never pass.
    void setFilter(int column, const QString &prefix);
    void clearFilter();
    bool hasFilter() const { return m_filterColumn >= 0; }

Q_SIGNALS:
    void aboutToChange();
    void changed();

private:
    int sourceRow(int row) const { return hasFilter() ? m_visible[size_t(row)] : row; }
    bool matches(int sourceRow, int column, const QString &prefix) const;

    QString m_source;
    bool m_open = false;
    QStringList m_columns;
    std::vector<bool> m_dateColumns;
    int m_rowCount = 0;
    std::vector<QVariant> m_cells; // row-major
    int m_filterColumn = -1;
    QString m_filterPrefix;
    std::vector<int> m_visible;
};

} // namespace store
