#include "MdbSource.h"

#include <QFile>
#include <QFileInfo>

// glib first: mdbtools.h uses its types without including it.
#include <glib.h>

#include <mdbtools.h>

#include <clocale>
#include <vector>

namespace migration {

namespace {

// Long texts are cut at the bind size: 256 KiB holds the longest memo that Access lets a
// person type (65,535 characters of up to four bytes each).
constexpr size_t BindSize = 256 * 1024;

// Every Access file starts with a page whose bytes 4 to 18 name the engine that wrote it.
bool looksLikeAccess(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(19);
    return head.size() == 19 &&
           (head.mid(4) == "Standard Jet DB" || head.mid(4) == "Standard ACE DB");
}

SourceKind kindOf(int mdbType)
{
    switch (mdbType) {
    case MDB_TEXT:
    case MDB_MEMO:
    case MDB_REPID:
        return SourceKind::Text;
    case MDB_BOOL:
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
    case MDB_MONEY:
    case MDB_FLOAT:
    case MDB_DOUBLE:
    case MDB_NUMERIC:
        return SourceKind::Number;
    case MDB_DATETIME:
        return SourceKind::DateTime;
    default:
        return SourceKind::Other;
    }
}

MdbCatalogEntry *catalogEntry(MdbHandle *mdb, unsigned index)
{
    return static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, index));
}

bool isUserTable(MdbCatalogEntry *entry)
{
    return entry->object_type == MDB_TABLE && !mdb_is_system_table(entry);
}

class MdbTable : public SourceTable
{
public:
    explicit MdbTable(MdbTableDef *table) : m_table(table)
    {
        mdb_read_columns(m_table);
        mdb_rewind_table(m_table);
        m_buffers.resize(m_table->num_cols, std::vector<char>(BindSize, '\0'));
        m_lengths.resize(m_table->num_cols, 0);
        for (unsigned i = 0; i < m_table->num_cols; ++i)
            mdb_bind_column(m_table, int(i) + 1, m_buffers[i].data(), &m_lengths[i]);
    }
    ~MdbTable() override { mdb_free_tabledef(m_table); }
    MdbTable(const MdbTable &) = delete;
    MdbTable &operator=(const MdbTable &) = delete;

    QList<SourceColumn> columns() const override
    {
        QList<SourceColumn> result;
        for (unsigned i = 0; i < m_table->num_cols; ++i) {
            const auto *col = static_cast<MdbColumn *>(g_ptr_array_index(m_table->columns, i));
            result.append({QString::fromUtf8(col->name), kindOf(col->col_type)});
        }
        return result;
    }

    qint64 rowCount() const override { return m_table->num_rows; }

    // mdbtools gives a length of 0 for Null (and for an empty text, which the program's
    // database keeps as no value as well).
    bool next(Row &row) override
    {
        if (!mdb_fetch_row(m_table))
            return false;
        row.clear();
        for (size_t i = 0; i < m_buffers.size(); ++i) {
            if (m_lengths[i] == 0)
                row.append(std::nullopt);
            else
                row.append(QString::fromUtf8(m_buffers[i].data(), m_lengths[i]));
        }
        return true;
    }

private:
    MdbTableDef *m_table;
    std::vector<std::vector<char>> m_buffers;
    std::vector<int> m_lengths;
};

// The catalog's user tables of one open file.
class MdbSource : public Source
{
public:
    explicit MdbSource(MdbHandle *mdb) : m_mdb(mdb) {}
    ~MdbSource() override { mdb_close(m_mdb); }
    MdbSource(const MdbSource &) = delete;
    MdbSource &operator=(const MdbSource &) = delete;

    QStringList tableNames() const override;
    std::unique_ptr<SourceTable> openTable(const QString &name) override;
    QString error() const override { return m_error; }

private:
    MdbHandle *m_mdb;
    QString m_error;
};

QStringList MdbSource::tableNames() const
{
    QStringList names;
    for (unsigned i = 0; i < m_mdb->num_catalog; ++i) {
        MdbCatalogEntry *entry = catalogEntry(m_mdb, i);
        if (isUserTable(entry))
            names << QString::fromUtf8(entry->object_name);
    }
    return names;
}

std::unique_ptr<SourceTable> MdbSource::openTable(const QString &name)
{
    for (unsigned i = 0; i < m_mdb->num_catalog; ++i) {
        MdbCatalogEntry *entry = catalogEntry(m_mdb, i);
        if (!isUserTable(entry) || QString::fromUtf8(entry->object_name) != name)
            continue;
        if (MdbTableDef *table = mdb_read_table(entry))
            return std::make_unique<MdbTable>(table);
        break;
    }
    m_error = QStringLiteral("Tabel %1 tidak dapat dibaca dari file Access.").arg(name);
    return nullptr;
}

} // namespace

std::unique_ptr<Source> openAccess(const QString &path, QString &error)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        error = QStringLiteral("File sumber tidak ditemukan: %1").arg(path);
        return nullptr;
    }
    if (!info.isFile() || !looksLikeAccess(path)) {
        error = QStringLiteral("Sumber bukan file database Access (.mdb): %1").arg(path);
        return nullptr;
    }
    // mdbtools writes numbers with printf: keep '.' as the decimal point whatever the
    // user's locale says.
    std::setlocale(LC_NUMERIC, "C");
    MdbHandle *mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!mdb || !mdb_read_catalog(mdb, MDB_TABLE)) {
        if (mdb)
            mdb_close(mdb);
        error = QStringLiteral("File Access tidak dapat dibaca: %1").arg(path);
        return nullptr;
    }
    mdb_set_date_fmt(mdb, "%Y-%m-%d");
    mdb_set_shortdate_fmt(mdb, "%Y-%m-%d");
    mdb_set_bind_size(mdb, BindSize);
    return std::make_unique<MdbSource>(mdb);
}

} // namespace migration
