#include "store/Snapshot.h"

#include "store/Database.h"
#include "store/Values.h"

#include <sqlite3.h>

#include <string>
#include <string_view>
#include <unordered_map>

namespace store {

namespace {

// Text values that repeat down a column (department names, titles, codes, dates) share one
// string, which saves an allocation per cell and most of the memory of a large snapshot.
class TextPool
{
public:
    QString take(const char *text, int bytes)
    {
        const std::string_view key(text, size_t(bytes));
        if (const auto it = m_seen.find(key); it != m_seen.end())
            return it->second;
        QString value = QString::fromUtf8(text, bytes);
        if (m_seen.size() < MaxShared)
            m_seen.emplace(std::string(key), value);
        return value;
    }

private:
    // A column of mostly different values (names, addresses) stops being pooled early.
    static constexpr size_t MaxShared = 1024;
    struct Hash
    {
        using is_transparent = void;
        size_t operator()(std::string_view v) const { return std::hash<std::string_view>{}(v); }
    };
    std::unordered_map<std::string, QString, Hash, std::equal_to<>> m_seen;
};

QVariant cell(sqlite3_stmt *stmt, int column, TextPool &pool)
{
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(stmt, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt, column));
    case SQLITE_TEXT: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
        return QVariant(pool.take(text, sqlite3_column_bytes(stmt, column)));
    }
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char *>(sqlite3_column_blob(stmt, column)),
                                   sqlite3_column_bytes(stmt, column)));
    default:
        return {};
    }
}

} // namespace

Snapshot::Snapshot(QString source, QObject *parent) : QObject(parent), m_source(std::move(source))
{
}

Status Snapshot::refresh()
{
    Status status = Database::open();
    if (!status.ok())
        return status;
    sqlite3 *db = Database::handle();
    QString escaped = m_source;
    escaped.replace(u'"', QStringLiteral("\"\""));
    const QByteArray sql = QStringLiteral("SELECT * FROM \"%1\"").arg(escaped).toUtf8();
    sqlite3_stmt *stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr);
    if (rc != SQLITE_OK) {
        status = Status::fromEngine(rc, QString::fromUtf8(sqlite3_errmsg(db)),
                                    Status::Operation::Read);
        sqlite3_finalize(stmt);
        return status;
    }
    QStringList columns;
    const int count = sqlite3_column_count(stmt);
    for (int c = 0; c < count; ++c)
        columns << QString::fromUtf8(sqlite3_column_name(stmt, c));
    std::vector<QVariant> cells;
    cells.reserve(size_t(std::max(m_rowCount, 64)) * size_t(count));
    std::vector<TextPool> pools(static_cast<size_t>(count));
    int rows = 0;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        for (int c = 0; c < count; ++c)
            cells.push_back(cell(stmt, c, pools[size_t(c)]));
        ++rows;
    }
    if (rc != SQLITE_DONE)
        status = Status::fromEngine(rc, QString::fromUtf8(sqlite3_errmsg(db)),
                                    Status::Operation::Read);
    sqlite3_finalize(stmt);
    if (!status.ok())
        return status;

    Q_EMIT aboutToChange();
    m_columns = columns;
    m_dateColumns.assign(size_t(count), false);
    for (int c = 0; c < count; ++c)
        m_dateColumns[size_t(c)] = store::isDateColumn(columns[c]);
    m_cells = std::move(cells);
    m_rowCount = rows;
    m_filterColumn = -1;
    m_filterPrefix.clear();
    m_visible.clear();
    m_open = true;
    Q_EMIT changed();
    return status;
}

int Snapshot::columnIndex(QStringView column) const
{
    for (int c = 0; c < m_columns.size(); ++c) {
        if (column.compare(m_columns[c], Qt::CaseInsensitive) == 0)
            return c;
    }
    return -1;
}

bool Snapshot::isDateColumn(int column) const
{
    return column >= 0 && column < int(m_dateColumns.size()) && m_dateColumns[size_t(column)];
}

int Snapshot::rowCount() const
{
    return hasFilter() ? int(m_visible.size()) : m_rowCount;
}

QVariant Snapshot::value(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return {};
    return m_cells[size_t(sourceRow(row)) * size_t(columnCount()) + size_t(column)];
}

QString Snapshot::text(int row, int column) const
{
    return displayText(value(row, column), isDateColumn(column));
}

bool Snapshot::matches(int row, int column, const QString &prefix) const
{
    const QVariant &v = m_cells[size_t(row) * size_t(columnCount()) + size_t(column)];
    if (v.isNull())
        return false;
    if (v.typeId() == QMetaType::QString)
        return static_cast<const QString *>(v.constData())->startsWith(prefix, Qt::CaseInsensitive);
    return displayText(v, m_dateColumns[size_t(column)]).startsWith(prefix, Qt::CaseInsensitive);
}

void Snapshot::setFilter(int column, const QString &prefix)
{
    if (column < 0 || column >= columnCount())
        return;
    Q_EMIT aboutToChange();
    // A longer prefix on the same column can only narrow the rows already shown.
    const bool narrows = m_filterColumn == column &&
                         prefix.startsWith(m_filterPrefix, Qt::CaseInsensitive);
    std::vector<int> visible;
    if (narrows) {
        for (int row : m_visible) {
            if (matches(row, column, prefix))
                visible.push_back(row);
        }
    } else {
        for (int row = 0; row < m_rowCount; ++row) {
            if (matches(row, column, prefix))
                visible.push_back(row);
        }
    }
    m_visible = std::move(visible);
    m_filterColumn = column;
    m_filterPrefix = prefix;
    Q_EMIT changed();
}

void Snapshot::clearFilter()
{
    Q_EMIT aboutToChange();
    m_filterColumn = -1;
    m_filterPrefix.clear();
    m_visible.clear();
    Q_EMIT changed();
}

} // namespace store
