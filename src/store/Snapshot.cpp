#include "store/Snapshot.h"

#include "store/Database.h"
#include "store/Values.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_map>

using namespace Qt::StringLiterals;

namespace store {

namespace {

// Text values that repeat down a column (department names, titles, codes, dates) are kept
// once, which saves most of the memory of a large snapshot.
class TextPool
{
public:
    struct Place
    {
        quint32 offset;
        quint32 length;
    };

    Place take(const char *text, int bytes, std::vector<char16_t> &texts)
    {
        // Only short texts repeat down a column; a long one would be copied into the pool's
        // key and hashed for nothing.
        if (!m_pooling || bytes > MaxPooledBytes)
            return append(text, bytes, texts);
        ++m_takes;
        const std::string_view key(text, size_t(bytes));
        if (const auto it = m_seen.find(key); it != m_seen.end()) {
            ++m_hits;
            return it->second;
        }
        const Place place = append(text, bytes, texts);
        if (m_seen.size() < MaxShared)
            m_seen.emplace(std::string(key), place);
        else if (m_hits * 2 < m_takes)
            m_pooling = false; // most values differ: looking them up costs more than it saves
        return place;
    }

private:
    static Place append(const char *text, int bytes, std::vector<char16_t> &texts)
    {
        const size_t at = texts.size();
        const auto *begin = reinterpret_cast<const unsigned char *>(text);
        const auto *end = begin + bytes;
        if (std::all_of(begin, end, [](unsigned char c) { return c < 0x80; })) {
            texts.insert(texts.end(), begin, end);
        } else {
            const QString decoded = QString::fromUtf8(text, bytes);
            texts.insert(texts.end(), decoded.utf16(), decoded.utf16() + decoded.size());
        }
        return {quint32(at), quint32(texts.size() - at)};
    }

    // A column of mostly different values (names, addresses) stops being pooled early.
    static constexpr size_t MaxShared = 1024;
    static constexpr int MaxPooledBytes = 64;
    struct Hash
    {
        using is_transparent = void;
        size_t operator()(std::string_view v) const { return std::hash<std::string_view>{}(v); }
    };
    std::unordered_map<std::string, Place, Hash, std::equal_to<>> m_seen;
    bool m_pooling = true;
    size_t m_takes = 0;
    size_t m_hits = 0;
};

QString quoted(QString identifier)
{
    return u'"' + identifier.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// The wanted columns under the relation's own spelling, all of its columns when none are
// named; a column it does not have stays as named, and the engine refuses it.
QString selectList(const Relation &relation, const QStringList &wanted)
{
    QStringList list;
    for (const QString &column : wanted.isEmpty() ? relation.columns : wanted) {
        const auto own =
            std::find_if(relation.columns.begin(), relation.columns.end(), [&](const QString &c) {
                return c.compare(column, Qt::CaseInsensitive) == 0;
            });
        list << quoted(own == relation.columns.end() ? column : *own);
    }
    return list.isEmpty() ? QStringLiteral("*") : list.join(u',');
}

// The conditions as a WHERE clause under the relation's own spelling of the columns, with
// their values in order; empty when there are none.
QString whereClause(const Connection &db, const Relation &relation,
                    const std::vector<Snapshot::Condition> &conditions, QVariantList *values)
{
    QStringList tests;
    for (const Snapshot::Condition &condition : conditions) {
        const QString column = selectList(relation, {condition.column});
        tests << (condition.test == Snapshot::Condition::Test::AtLeast
                      ? column + QStringLiteral(" >= ?")
                      : db.equalsIgnoringCase(column));
        *values << condition.value;
    }
    return tests.isEmpty() ? QString()
                           : QStringLiteral(" WHERE ") + tests.join(QStringLiteral(" AND "));
}

} // namespace

Snapshot::Snapshot(QString source, QObject *parent) : QObject(parent), m_source(std::move(source))
{
}

Snapshot::Snapshot(QString source, QStringList columns, QObject *parent)
    : QObject(parent), m_source(std::move(source)), m_wantedColumns(std::move(columns))
{
}

Status Snapshot::refresh()
{
    Status status = Database::open();
    if (!status.ok())
        return status;
    Connection &db = Database::connection();
    Relation relation;
    status = db.describe(m_source, &relation);
    // A source the database does not hold is asked for all the same: the engine's own
    // refusal names it.
    if (status.kind() == Status::Kind::Unreadable)
        relation.name = m_source;
    else if (!status.ok())
        return status;
    QVariantList values;
    const std::unique_ptr<Query> query = db.query(
        QStringLiteral("SELECT %1 FROM %2%3%4")
            .arg(selectList(relation, m_wantedColumns), quoted(relation.name),
                 whereClause(db, relation, m_conditions, &values),
                 // A table's rows in entry order: the server keeps a changed row
                 // elsewhere in the table. A view orders its own rows.
                 relation.rowKey.isEmpty() ? QString()
                                           : QStringLiteral(" ORDER BY ") + relation.rowKey),
        Status::Operation::Read);
    status = query->run(values);
    if (!status.ok())
        return status;
    QStringList columns;
    const int count = query->columnCount();
    for (int c = 0; c < count; ++c)
        columns << query->columnName(c);
    std::vector<std::vector<Cell>> blocks;
    blocks.reserve(size_t(m_rowCount / RowsPerBlock + 1));
    std::vector<char16_t> texts;
    texts.reserve(std::max<size_t>(m_texts.size(), 1024));
    std::vector<QByteArray> blobs;
    std::vector<TextPool> pools(static_cast<size_t>(count));
    int rows = 0;
    while (query->next()) {
        if (rows % RowsPerBlock == 0) {
            blocks.emplace_back();
            // A small table's only block grows as it fills.
            if (rows > 0 || m_rowCount >= RowsPerBlock)
                blocks.back().reserve(size_t(RowsPerBlock) * size_t(count));
        }
        std::vector<Cell> &cells = blocks.back();
        for (int c = 0; c < count; ++c) {
            Cell cell{};
            cell.type = query->type(c);
            switch (cell.type) {
            case ValueType::Integer:
                cell.integer = query->integer(c);
                break;
            case ValueType::Real:
                cell.real = query->real(c);
                break;
            case ValueType::Text: {
                const QByteArrayView text = query->text(c);
                const TextPool::Place place =
                    pools[size_t(c)].take(text.data(), int(text.size()), texts);
                cell.text = {place.offset, place.length};
                break;
            }
            case ValueType::Blob:
                cell.text = {quint32(blobs.size()), 0};
                blobs.push_back(query->blob(c).toByteArray());
                break;
            case ValueType::Null:
                break;
            }
            cells.push_back(cell);
        }
        ++rows;
    }
    status = query->status();
    if (!status.ok())
        return status;

    Q_EMIT aboutToChange();
    m_columns = columns;
    m_dateColumns.assign(size_t(count), false);
    for (int c = 0; c < count; ++c)
        m_dateColumns[size_t(c)] = store::isDateColumn(columns[c]);
    m_blocks = std::move(blocks);
    m_texts = std::move(texts);
    m_blobs = std::move(blobs);
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
    return valueOf(cellAt(sourceRow(row), column));
}

QStringView Snapshot::textOf(const Cell &cell) const
{
    return QStringView(m_texts.data() + cell.text.offset, qsizetype(cell.text.length));
}

QVariant Snapshot::valueOf(const Cell &cell) const
{
    switch (cell.type) {
    case ValueType::Integer:
        return QVariant(cell.integer);
    case ValueType::Real:
        return QVariant(cell.real);
    case ValueType::Text:
        // An empty text is still a value, unlike a missing one.
        return cell.text.length == 0 ? QVariant(QString(u""_s)) : QVariant(textOf(cell).toString());
    case ValueType::Blob:
        return QVariant(m_blobs[cell.text.offset]);
    case ValueType::Null:
        break;
    }
    return {};
}

QString Snapshot::text(int row, int column) const
{
    return displayText(value(row, column), isDateColumn(column));
}

bool Snapshot::matches(int row, int column, const QString &prefix) const
{
    const Cell &cell = cellAt(row, column);
    if (cell.type == ValueType::Null)
        return false;
    if (cell.type == ValueType::Text)
        return textOf(cell).startsWith(prefix, Qt::CaseInsensitive);
    return displayText(valueOf(cell), m_dateColumns[size_t(column)])
        .startsWith(prefix, Qt::CaseInsensitive);
}

void Snapshot::setFilter(int column, const QString &prefix)
{
    if (column < 0 || column >= columnCount())
        return;
    Q_EMIT aboutToChange();
    // A longer prefix on the same column can only narrow the rows already shown.
    const bool narrows =
        m_filterColumn == column && prefix.startsWith(m_filterPrefix, Qt::CaseInsensitive);
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
