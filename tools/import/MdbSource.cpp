#include "MdbSource.h"

#include "MdbMemo.h"
#include "MdbRow.h"

#include <QFile>
#include <QFileInfo>

#include <clocale>
#include <memory>
#include <vector>

namespace accessimport {

namespace {

// Jet keeps at most 255 columns in a table.
constexpr unsigned MaxColumns = 255;
// The smallest room a row takes in the file: its entry in the page's row list and its column
// count. A table header that counts more rows than the file can hold is damaged.
constexpr qint64 SmallestRow = 4;
// What a bound value may grow to, in pages: a value other than a memo stands in its row,
// within one page, and no code page takes more than three bytes of UTF-8 for one of its
// bytes. A value that fills the buffer was cut by the library and is refused.
constexpr qint64 BindPages = 3;

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
    return entry && entry->object_type == MDB_TABLE && !mdb_is_system_table(entry);
}

// A name from the file, which a damaged page may leave without its terminating nul.
QString nameOf(const char (&name)[MDB_MAX_OBJ_NAME + 1])
{
    return QString::fromUtf8(name, qsizetype(qstrnlen(name, sizeof name)));
}

QString damaged(const QString &table, const QString &what)
{
    return QStringLiteral("Tabel %1 di file Access rusak: %2.").arg(table, what);
}

struct TableDefDeleter
{
    void operator()(MdbTableDef *table) const { mdb_free_tabledef(table); }
};
using TableDef = std::unique_ptr<MdbTableDef, TableDefDeleter>;

MdbColumn *columnAt(MdbTableDef *table, unsigned index)
{
    return static_cast<MdbColumn *>(g_ptr_array_index(table->columns, index));
}

// Checks what the table's header says against what the file can hold and reads its column
// definitions; returns why the table cannot be read, or empty.
QString readHeader(MdbTableDef *table, qint64 fileSize, const QString &name)
{
    if (table->num_cols == 0 || table->num_cols > MaxColumns)
        return damaged(name, QStringLiteral("kepalanya menyebut %1 kolom").arg(table->num_cols));
    if (qint64(table->num_rows) > fileSize / SmallestRow)
        return damaged(name, QStringLiteral("kepalanya menyebut %1 baris, lebih dari yang "
                                            "dapat dimuat file sebesar %2 byte")
                                 .arg(table->num_rows)
                                 .arg(fileSize));
    if (!mdb_read_columns(table) || !table->columns || table->columns->len != table->num_cols)
        return damaged(name, QStringLiteral("definisi kolomnya tidak dapat dibaca"));
    for (unsigned i = 0; i < table->num_cols; ++i) {
        const MdbColumn *column = columnAt(table, i);
        if (const QString problem = impossibleDefinition(table->entry->mdb, *column);
            !problem.isEmpty())
            return damaged(name, QStringLiteral("definisi kolom %1 tidak mungkin: %2")
                                     .arg(nameOf(column->name), problem));
    }
    return {};
}

// How a column's values are read: through a buffer the library fills, whole from the memo's
// pages, or not at all for the binary columns (OLE objects) the program has no place for.
enum class Reading { Bound, Memo, None };

Reading readingOf(int mdbType)
{
    if (mdbType == MDB_MEMO)
        return Reading::Memo;
    return kindOf(mdbType) == SourceKind::Other ? Reading::None : Reading::Bound;
}

// An open Access file: its handle, its size in bytes and the size of its bound buffers.
struct OpenFile
{
    MdbHandle *mdb;
    qint64 size;
    size_t bindSize;
};

class MdbTable : public SourceTable
{
public:
    MdbTable(TableDef table, QString name, const OpenFile &file)
        : m_table(std::move(table)), m_name(std::move(name)), m_mdb(file.mdb),
          m_fileSize(file.size), m_bindSize(file.bindSize)
    {
        mdb_rewind_table(m_table.get());
        const unsigned count = m_table->num_cols;
        m_reading.resize(count);
        m_buffers.resize(count);
        m_lengths.resize(count, 0);
        m_seen.resize(count);
        for (unsigned i = 0; i < count; ++i) {
            m_reading[i] = readingOf(columnAt(m_table.get(), i)->col_type);
            if (m_reading[i] != Reading::Bound)
                continue;
            m_buffers[i].reset(new char[m_bindSize]);
            m_buffers[i][0] = '\0';
            mdb_bind_column(m_table.get(), int(i) + 1, m_buffers[i].get(), &m_lengths[i]);
        }
    }

    QList<SourceColumn> columns() const override
    {
        QList<SourceColumn> result;
        for (unsigned i = 0; i < m_table->num_cols; ++i) {
            const MdbColumn *col = columnAt(m_table.get(), i);
            result.append({nameOf(col->name), kindOf(col->col_type)});
        }
        return result;
    }

    qint64 rowCount() const override { return m_table->num_rows; }

    // mdbtools gives a length of 0 for Null (and for an empty text, which the program's
    // database keeps as no value as well).
    bool next(Row &row) override
    {
        if (!m_error.isEmpty())
            return false;
        if (!mdb_fetch_row(m_table.get())) {
            checkEmptyColumns();
            return false;
        }
        ++m_read;
        row.clear();
        const RawRow raw(m_mdb, *m_table);
        for (unsigned i = 0; i < m_reading.size(); ++i) {
            Value value;
            if (!read(i, value)) {
                row.clear();
                return false;
            }
            m_seen[i].read = m_seen[i].read || value.has_value();
            m_seen[i].held = m_seen[i].held || raw.holds(*columnAt(m_table.get(), i));
            row.append(std::move(value));
        }
        return true;
    }

    QString error() const override { return m_error; }

private:
    // Whether a column gave a value in some row, and whether some row holds one for it.
    struct Seen
    {
        bool read = false;
        bool held = false;
    };

    // A column read empty in every row while the rows hold values for it was misread (a
    // damaged definition points elsewhere): the table is refused rather than emptied.
    void checkEmptyColumns()
    {
        for (unsigned i = 0; i < m_reading.size(); ++i) {
            if (m_reading[i] == Reading::None || m_seen[i].read || !m_seen[i].held)
                continue;
            m_error = damaged(m_name, QStringLiteral("kolom %1 terbaca kosong di setiap baris, "
                                                     "padahal barisnya memuat nilai")
                                          .arg(nameOf(columnAt(m_table.get(), i)->name)));
            return;
        }
    }

    // Reads column i of the row just fetched; false, with the reason in m_error, when it
    // cannot be read whole.
    bool read(unsigned i, Value &value)
    {
        const MdbColumn *col = columnAt(m_table.get(), i);
        switch (m_reading[i]) {
        case Reading::None:
            return true;
        case Reading::Memo: {
            Memo memo = readMemo(m_mdb, *col, m_fileSize);
            if (!memo.problem.isEmpty()) {
                m_error = damaged(
                    m_name, QStringLiteral("memo pada kolom %1 baris %2 tidak dapat "
                                           "dibaca: %3")
                                .arg(nameOf(col->name), QString::number(m_read), memo.problem));
                return false;
            }
            value = std::move(memo.text);
            return true;
        }
        case Reading::Bound:
            break;
        }
        const int length = m_lengths[i];
        if (length < 0 || size_t(length) >= m_bindSize - 1) {
            m_error = damaged(m_name, QStringLiteral("nilai kolom %1 baris %2 lebih panjang "
                                                     "dari yang dapat dimuat barisnya")
                                          .arg(nameOf(col->name), QString::number(m_read)));
            return false;
        }
        if (length > 0 && col->col_type == MDB_DATETIME)
            value = dayOf(accessDate(m_mdb, *col).value_or(qQNaN()));
        else if (length > 0)
            value = QString::fromUtf8(m_buffers[i].get(), length);
        return true;
    }

    TableDef m_table;
    QString m_name;
    MdbHandle *m_mdb;
    qint64 m_fileSize;
    size_t m_bindSize;
    std::vector<Reading> m_reading;
    std::vector<std::unique_ptr<char[]>> m_buffers;
    std::vector<int> m_lengths;
    std::vector<Seen> m_seen;
    qint64 m_read = 0;
    QString m_error;
};

// The catalog's user tables of one open file.
class MdbSource : public Source
{
public:
    explicit MdbSource(const OpenFile &file) : m_file(file) {}
    ~MdbSource() override { mdb_close(m_file.mdb); }
    MdbSource(const MdbSource &) = delete;
    MdbSource &operator=(const MdbSource &) = delete;

    QStringList tableNames() const override;
    std::unique_ptr<SourceTable> openTable(const QString &name) override;
    QString error() const override { return m_error; }

private:
    OpenFile m_file;
    QString m_error;
};

QStringList MdbSource::tableNames() const
{
    QStringList names;
    for (unsigned i = 0; i < m_file.mdb->catalog->len; ++i) {
        MdbCatalogEntry *entry = catalogEntry(m_file.mdb, i);
        if (isUserTable(entry))
            names << nameOf(entry->object_name);
    }
    return names;
}

std::unique_ptr<SourceTable> MdbSource::openTable(const QString &name)
{
    for (unsigned i = 0; i < m_file.mdb->catalog->len; ++i) {
        MdbCatalogEntry *entry = catalogEntry(m_file.mdb, i);
        if (!isUserTable(entry) || nameOf(entry->object_name) != name)
            continue;
        TableDef table(mdb_read_table(entry));
        if (!table) {
            m_error = damaged(name, QStringLiteral("halaman definisinya tidak dapat dibaca"));
            return nullptr;
        }
        m_error = readHeader(table.get(), m_file.size, name);
        if (!m_error.isEmpty())
            return nullptr;
        return std::make_unique<MdbTable>(std::move(table), name, m_file);
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
    if (!mdb || !mdb_read_catalog(mdb, MDB_TABLE) || !mdb->catalog) {
        if (mdb)
            mdb_close(mdb);
        error = QStringLiteral("File Access tidak dapat dibaca: %1").arg(path);
        return nullptr;
    }
    // Access writes whole pages: a file that ends inside a page was cut short, and the rows
    // of its last page would read as empty values.
    if (info.size() % mdb->fmt->pg_size != 0) {
        error = QStringLiteral("File Access terpotong: %1 berukuran %2 byte, bukan kelipatan "
                               "halamannya yang %3 byte. Tidak ada yang ditulis.")
                    .arg(path)
                    .arg(info.size())
                    .arg(mdb->fmt->pg_size);
        mdb_close(mdb);
        return nullptr;
    }
    mdbcompat::setDateFormat(mdb);
    const size_t bindSize = mdbcompat::setBindSize(mdb, size_t(BindPages * mdb->fmt->pg_size + 2));
    return std::make_unique<MdbSource>(OpenFile{mdb, info.size(), bindSize});
}

} // namespace accessimport
