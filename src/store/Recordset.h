#pragma once

#include "store/Engine.h"
#include "store/Status.h"

#include <QHash>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

namespace store {

// An updatable view of one table in entry order, with a current record or none. Only the
// row keys are held in memory; values are read when a record becomes current, so a table of
// any size opens at once. Searches compare a column with a value without regard to letter
// case; the value is always a bound parameter, never criterion text.
class Recordset
{
public:
    enum class EditMode { None, Adding, Editing };

    explicit Recordset(QString table);

    QString table() const { return m_table; }
    bool isOpen() const { return m_open; }

    // Reads the columns and the row keys; the first record becomes current.
    Status open();
    // Reads the rows again; the first record becomes current. Drops a pending edit.
    Status refresh() { return open(); }

    int recordCount() const { return int(m_keys.size()); }
    // 0-based position of the current record; -1 when there is none.
    int absolutePosition() const { return m_current; }
    bool hasCurrent() const { return m_current >= 0; }

    Status moveFirst();
    Status moveLast();
    Status moveNext();
    Status movePrevious();

    // Makes the first record whose column equals the value current; on no match the current
    // record stays and noMatch() is true.
    Status findFirst(const QString &column, const QVariant &value);
    bool noMatch() const { return m_noMatch; }

    const QStringList &columnNames() const { return m_columns; }
    // Position of a column, matched without regard to letter case; -1 when unknown.
    int columnIndex(const QString &column) const;
    // Reads the current record unless it is read already. A failed read is not kept: the
    // values are empty until a later read succeeds.
    Status readCurrent() const;
    // Values of the current record; no value when there is none or it cannot be read.
    QVariant value(int position) const;
    QVariant value(const QString &column) const;

    EditMode editMode() const { return m_editMode; }
    Status addNew();
    Status edit();
    // Sets a field of the pending record (after addNew() or edit()).
    Status setValue(const QString &column, const QVariant &value);
    // Stores the pending record in one transaction. On failure nothing is written and the
    // record stays pending, so the caller may correct it and try again.
    Status update();
    void cancelUpdate();
    // Removes the current record; afterwards there is no current record.
    Status remove();

    // Update (of an edited record) and remove() act only on the row as this record source
    // read it. When another record source changed or deleted it since, or the engine gave
    // its row id to a new row, they fail with Kind::RecordGone and write nothing.

private:
    Status requireCurrent() const;
    Status loadColumns();
    Status loadKeys();
    Status insertPending(qint64 *inserted);
    Status rewritePending();
    QVariantList rowAsRead() const;
    QString sameRowCondition() const;
    void prepareRowRead();
    qint64 currentKey() const { return m_current >= 0 ? m_keys[size_t(m_current)] : -1; }
    void setCurrent(int position);
    QString quotedTable() const;

    QString m_table;
    QString m_name;   // the table's own spelling in the database
    QString m_rowKey; // what names a row's key in entry order
    bool m_open = false;
    QStringList m_columns;
    QHash<QString, int> m_columnByLowerName;
    std::vector<qint64> m_keys;
    int m_current = -1;
    bool m_noMatch = false;

    EditMode m_editMode = EditMode::None;
    QVariantList m_pending;
    QVariantList m_original; // the edited record as it was read
    std::vector<bool> m_pendingSet;

    mutable qint64 m_cachedKey = -1;
    mutable QVariantList m_cachedRow;
    std::unique_ptr<Query> m_rowQuery;
};

} // namespace store
