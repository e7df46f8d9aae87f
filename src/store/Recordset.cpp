#include "store/Recordset.h"

#include "store/Database.h"

#include <algorithm>

namespace store {

namespace {

QString quoted(const QString &identifier)
{
    QString escaped = identifier;
    escaped.replace(u'"', QStringLiteral("\"\""));
    return u'"' + escaped + u'"';
}

// The program's own refusal, not the engine's: its explanation alone says it.
Status noCurrentRecord()
{
    return Status::failure(Status::Kind::NoCurrentRecord, QString());
}

Status recordGone()
{
    return Status::failure(Status::Kind::RecordGone,
                           QStringLiteral("The record was changed or deleted by another user."));
}

} // namespace

Recordset::Recordset(QString table) : m_table(std::move(table))
{
}

QString Recordset::quotedTable() const
{
    return quoted(m_name);
}

Status Recordset::open()
{
    m_open = false;
    m_editMode = EditMode::None;
    m_noMatch = false;
    m_cachedKey = -1;
    Status status = Database::open();
    if (status.ok() && m_columns.isEmpty())
        status = loadColumns();
    if (status.ok())
        prepareRowRead();
    if (status.ok())
        status = loadKeys();
    if (!status.ok()) {
        m_keys.clear();
        m_current = -1;
        return status;
    }
    m_open = true;
    setCurrent(m_keys.empty() ? -1 : 0);
    return status;
}

Status Recordset::loadColumns()
{
    Relation relation;
    if (Status status = Database::connection().describe(m_table, &relation); !status.ok())
        return status;
    if (relation.columns.isEmpty() || relation.rowKey.isEmpty())
        return Status::failure(Status::Kind::Unreadable,
                               QStringLiteral("no such table: %1").arg(m_table));
    m_name = relation.name;
    m_rowKey = relation.rowKey;
    m_columns = relation.columns;
    for (int i = 0; i < m_columns.size(); ++i)
        m_columnByLowerName.insert(m_columns[i].toLower(), i);
    return Status::success();
}

// Prepared on the connection open now, which is a new one after the database was reopened.
void Recordset::prepareRowRead()
{
    m_rowQuery = Database::connection().query(
        QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(quotedTable(), m_rowKey),
        Status::Operation::Read);
}

Status Recordset::loadKeys()
{
    // The keys of a large table come in one quick pass of typed reads.
    m_keys.clear();
    const std::unique_ptr<Query> query = Database::connection().query(
        QStringLiteral("SELECT %2 FROM %1 ORDER BY %2").arg(quotedTable(), m_rowKey),
        Status::Operation::Read);
    const Status status = query->run();
    if (!status.ok())
        return status;
    while (query->next())
        m_keys.push_back(query->integer(0));
    return query->status();
}

void Recordset::setCurrent(int position)
{
    m_current = position;
    m_cachedKey = -1;
}

Status Recordset::requireCurrent() const
{
    return hasCurrent() ? Status::success() : noCurrentRecord();
}

Status Recordset::moveFirst()
{
    if (m_keys.empty())
        return noCurrentRecord();
    setCurrent(0);
    return Status::success();
}

Status Recordset::moveLast()
{
    if (m_keys.empty())
        return noCurrentRecord();
    setCurrent(int(m_keys.size()) - 1);
    return Status::success();
}

Status Recordset::moveNext()
{
    if (m_keys.empty())
        return noCurrentRecord();
    setCurrent(std::min(m_current + 1, int(m_keys.size()) - 1));
    return Status::success();
}

Status Recordset::movePrevious()
{
    if (m_keys.empty())
        return noCurrentRecord();
    setCurrent(std::max(m_current - 1, 0));
    return Status::success();
}

int Recordset::columnIndex(const QString &column) const
{
    return m_columnByLowerName.value(column.toLower(), -1);
}

Status Recordset::findFirst(const QString &column, const QVariant &value)
{
    const int position = columnIndex(column);
    if (position < 0)
        return Status::failure(Status::Kind::Other,
                               QStringLiteral("unknown field: %1").arg(column));
    // The code columns compare without letter case by their declared collation, and their
    // indexes answer this at once; other columns get the same rule explicitly.
    Connection &db = Database::connection();
    const std::unique_ptr<Query> query = db.query(
        QStringLiteral("SELECT %3 FROM %1 WHERE %2 ORDER BY %3 LIMIT 1")
            .arg(quotedTable(), db.equalsIgnoringCase(quoted(m_columns[position])), m_rowKey),
        Status::Operation::Read);
    if (Status status = query->run({value.isNull() ? QVariant(QString()) : value}); !status.ok())
        return status;
    m_noMatch = true;
    if (query->next()) {
        const qint64 key = query->integer(0);
        const auto it = std::lower_bound(m_keys.begin(), m_keys.end(), key);
        if (it != m_keys.end() && *it == key) {
            m_noMatch = false;
            setCurrent(int(it - m_keys.begin()));
        }
    }
    return Status::success();
}

Status Recordset::readCurrent() const
{
    if (!hasCurrent() || m_cachedKey == currentKey())
        return Status::success();
    const qint64 key = currentKey();
    // Not cached on a failure: once the engine can answer again, the record is read afresh.
    if (Status status = m_rowQuery->run({key}); !status.ok())
        return status;
    // A row that another record source deleted reads as an empty record.
    m_cachedRow.clear();
    if (m_rowQuery->next()) {
        for (int i = 0; i < m_columns.size(); ++i)
            m_cachedRow << m_rowQuery->value(i);
    }
    m_rowQuery->finish();
    m_cachedKey = key;
    return Status::success();
}

QVariant Recordset::value(int position) const
{
    if (!hasCurrent() || position < 0 || position >= m_columns.size())
        return {};
    if (!readCurrent().ok())
        return {};
    return position < m_cachedRow.size() ? m_cachedRow[position] : QVariant();
}

QVariant Recordset::value(const QString &column) const
{
    return value(columnIndex(column));
}

Status Recordset::addNew()
{
    if (!m_open)
        return Status::failure(Status::Kind::Other, QStringLiteral("Object is closed."));
    m_editMode = EditMode::Adding;
    m_pending = QVariantList(m_columns.size());
    m_pendingSet.assign(size_t(m_columns.size()), false);
    return Status::success();
}

Status Recordset::edit()
{
    Status status = requireCurrent();
    if (status.ok())
        status = readCurrent();
    if (!status.ok())
        return status;
    m_editMode = EditMode::Editing;
    m_pending.clear();
    for (int i = 0; i < m_columns.size(); ++i)
        m_pending << value(i);
    m_original = m_pending;
    m_pendingSet.assign(size_t(m_columns.size()), false);
    return Status::success();
}

Status Recordset::setValue(const QString &column, const QVariant &value)
{
    if (m_editMode == EditMode::None)
        return Status::failure(Status::Kind::Other,
                               QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    const int position = columnIndex(column);
    if (position < 0)
        return Status::failure(Status::Kind::Other,
                               QStringLiteral("unknown field: %1").arg(column));
    m_pending[position] = value;
    m_pendingSet[size_t(position)] = true;
    return Status::success();
}

Status Recordset::update()
{
    if (m_editMode == EditMode::None)
        return Status::failure(Status::Kind::Other,
                               QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    qint64 inserted = -1;
    const Status status = inTransaction([this, &inserted] {
        return m_editMode == EditMode::Adding ? insertPending(&inserted) : rewritePending();
    });
    if (!status.ok())
        return status;
    // The new row's key joins the list only once the engine committed it.
    if (inserted >= 0) {
        const auto at = std::lower_bound(m_keys.begin(), m_keys.end(), inserted);
        // The id may still be listed here when another record source deleted that row.
        if (at == m_keys.end() || *at != inserted)
            m_keys.insert(at, inserted);
    }
    m_editMode = EditMode::None;
    m_cachedKey = -1;
    return status;
}

Status Recordset::insertPending(qint64 *inserted)
{
    QStringList names;
    QStringList marks;
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_pendingSet[size_t(i)]) {
            names << quoted(m_columns[i]);
            marks << QStringLiteral("?");
        }
    }
    // The engine tells the new row's key in the same statement.
    const QString sql = names.isEmpty()
                            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES RETURNING %2")
                                  .arg(quotedTable(), m_rowKey)
                            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING %4")
                                  .arg(quotedTable(), names.join(u','), marks.join(u','), m_rowKey);
    QVariantList values;
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_pendingSet[size_t(i)])
            values << m_pending[i];
    }
    const std::unique_ptr<Query> query =
        Database::connection().query(sql, Status::Operation::Write);
    if (Status status = query->run(values); !status.ok())
        return status;
    if (!query->next())
        return query->status().ok()
                   ? Status::failure(Status::Kind::Other, QStringLiteral("no key for the new row"))
                   : query->status();
    *inserted = query->integer(0);
    query->finish();
    return Status::success();
}

QVariantList Recordset::rowAsRead() const
{
    QVariantList row;
    for (int i = 0; i < m_columns.size(); ++i)
        row << value(i);
    return row;
}

// Row ids alone do not tell rows apart: the file's engine hands the id of a deleted last row
// to the next new one. Every column must still hold what was read, which also keeps a save
// or delete at one desk from acting on a row that another desk changed since.
QString Recordset::sameRowCondition() const
{
    QStringList terms{m_rowKey + QStringLiteral(" = ?")};
    for (const QString &column : m_columns)
        terms << quoted(column) + QStringLiteral(" IS NOT DISTINCT FROM ?");
    return terms.join(QStringLiteral(" AND "));
}

Status Recordset::rewritePending()
{
    QStringList assignments;
    QVariantList values;
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_pendingSet[size_t(i)]) {
            assignments << quoted(m_columns[i]) + QStringLiteral(" = ?");
            values << m_pending[i];
        }
    }
    values << currentKey() << m_original;
    // With nothing to write the save still has to tell that the record is gone.
    const QString sql = assignments.isEmpty()
                            ? QStringLiteral("SELECT count(*) FROM %1 WHERE %2")
                                  .arg(quotedTable(), sameRowCondition())
                            : QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                  .arg(quotedTable(), assignments.join(u','), sameRowCondition());
    const std::unique_ptr<Query> query =
        Database::connection().query(sql, Status::Operation::Write);
    if (Status status = query->run(values); !status.ok())
        return status;
    const bool found =
        assignments.isEmpty() ? query->next() && query->integer(0) > 0 : query->rowsChanged() > 0;
    return found ? Status::success() : recordGone();
}

void Recordset::cancelUpdate()
{
    m_editMode = EditMode::None;
    m_pending.clear();
    m_original.clear();
    m_pendingSet.clear();
}

Status Recordset::remove()
{
    Status status = requireCurrent();
    if (status.ok())
        status = readCurrent();
    if (!status.ok())
        return status;
    const qint64 key = currentKey();
    const QVariantList asRead = rowAsRead();
    status = inTransaction([this, key, &asRead] {
        qint64 deleted = 0;
        const Status status = Database::connection().execute(
            QStringLiteral("DELETE FROM %1 WHERE %2").arg(quotedTable(), sameRowCondition()),
            QVariantList{key} + asRead, Status::Operation::Delete, &deleted);
        if (!status.ok())
            return status;
        return deleted > 0 ? Status::success() : recordGone();
    });
    if (!status.ok()) {
        // Shown again, the record is read afresh, as it now is.
        if (status.kind() == Status::Kind::RecordGone)
            m_cachedKey = -1;
        return status;
    }
    m_keys.erase(m_keys.begin() + m_current);
    m_editMode = EditMode::None;
    setCurrent(-1);
    return status;
}

} // namespace store
