#include "MdbMemo.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QSet>

#include <algorithm>
#include <limits>

namespace accessimport {

namespace {

// A memo's field in its row: the memo's length in the low 30 bits and where it lies in the
// top two, then the page and row of its text (page << 8 | row), then four unused bytes.
constexpr quint32 InRow = 0x80000000u;
constexpr quint32 OnePage = 0x40000000u;
constexpr quint32 PlaceMask = InRow | OnePage;
constexpr quint32 LengthMask = ~PlaceMask;
constexpr int FieldSize = MDB_MEMO_OVERHEAD;
// Every piece of a chain starts with the page and row of the next piece, 0 after the last.
constexpr qsizetype LinkSize = 4;
// A page's list of row offsets: the offset in the low bits, flags above.
constexpr unsigned OffsetMask = 0x1fff;
constexpr unsigned char DataPage = 0x01;

unsigned le16(const unsigned char *p)
{
    return unsigned(p[0]) | unsigned(p[1]) << 8;
}

quint32 le32(const unsigned char *p)
{
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

const unsigned char *bytesOf(QByteArrayView view)
{
    return reinterpret_cast<const unsigned char *>(view.data());
}

// The bytes of the row that pgRow names, read into the handle's second page buffer (valid
// until its next read); none when the file has no such page or the page no such row.
std::optional<QByteArrayView> rowAt(MdbHandle *mdb, quint32 pgRow, qint64 fileSize)
{
    const qint64 pageSize = mdb->fmt->pg_size;
    const quint32 page = pgRow >> 8;
    const unsigned row = pgRow & 0xff;
    if (page == 0 || page >= fileSize / pageSize || mdb_read_alt_pg(mdb, page) != pageSize)
        return std::nullopt;
    const unsigned char *buf = mdb->alt_pg_buf;
    const unsigned list = mdb->fmt->row_count_offset;
    const unsigned rows = le16(buf + list);
    const qint64 listEnd = list + 2 + 2 * qint64(rows);
    if (buf[0] != DataPage || row >= rows || listEnd > pageSize)
        return std::nullopt;
    const qint64 start = le16(buf + list + 2 + 2 * row) & OffsetMask;
    const qint64 end = row == 0 ? pageSize : le16(buf + list + 2 * row) & OffsetMask;
    if (start < listEnd || start > end)
        return std::nullopt;
    return QByteArrayView(buf + start, end - start);
}

QString missingPage(quint32 pgRow)
{
    return QStringLiteral("halaman %1 yang memuatnya tidak ada atau rusak").arg(pgRow >> 8);
}

// Appends the pieces of a chain until the memo's length is read. A piece may hold more
// than the memo still needs; a chain that ends, or comes back to a piece, before the
// length is read is damaged.
QString follow(MdbHandle *mdb, quint32 next, qint64 length, qint64 fileSize, QByteArray &bytes)
{
    QSet<quint32> seen;
    while (bytes.size() < length) {
        if (next == 0 || seen.contains(next))
            return QStringLiteral("rangkaian halamannya putus setelah %1 dari %2 byte")
                .arg(bytes.size())
                .arg(length);
        seen.insert(next);
        const std::optional<QByteArrayView> piece = rowAt(mdb, next, fileSize);
        if (!piece || piece->size() < LinkSize)
            return missingPage(next);
        next = le32(bytesOf(*piece));
        const QByteArrayView text = piece->sliced(LinkSize);
        bytes.append(text.first(std::min(text.size(), qsizetype(length - bytes.size()))));
    }
    return {};
}

// Reads the memo's bytes, as long as its field says; returns why they cannot be read.
QString collect(MdbHandle *mdb, QByteArrayView field, qint64 fileSize, QByteArray &bytes)
{
    const quint32 head = le32(bytesOf(field));
    const qint64 length = head & LengthMask;
    if (length > fileSize)
        return QStringLiteral("panjangnya %1 byte melebihi ukuran file").arg(length);
    bytes.reserve(length);
    switch (head & PlaceMask) {
    case InRow:
        if (field.size() - FieldSize < length)
            return QStringLiteral("panjangnya %1 byte, yang ada di barisnya %2 byte")
                .arg(length)
                .arg(field.size() - FieldSize);
        bytes.append(field.sliced(FieldSize, length));
        return {};
    case OnePage: {
        const quint32 where = le32(bytesOf(field) + 4);
        const std::optional<QByteArrayView> piece = rowAt(mdb, where, fileSize);
        if (!piece || piece->size() < length)
            return missingPage(where);
        bytes.append(piece->first(length));
        return {};
    }
    case 0:
        return follow(mdb, le32(bytesOf(field) + 4), length, fileSize, bytes);
    default:
        return QStringLiteral("cara penyimpanannya tidak dikenal");
    }
}

// Jet 4 keeps a text as UTF-16, or compressed: after the mark FF FE, one byte for each
// character up to U+00FF and two for the others, a zero byte switching between the two.
// Characters beyond U+FFFF (their two halves) come across as they are.
std::optional<QString> fromJet4(QByteArrayView bytes)
{
    const unsigned char *p = bytesOf(bytes);
    const qsizetype size = bytes.size();
    const bool switches = size >= 2 && p[0] == 0xff && p[1] == 0xfe;
    bool single = switches;
    QString text;
    text.reserve(switches ? size - 2 : size / 2);
    for (qsizetype at = switches ? 2 : 0; at < size;) {
        if (switches && p[at] == 0) {
            single = !single;
            ++at;
        } else if (single) {
            text.append(QChar(char16_t(p[at++])));
        } else if (at + 1 < size) {
            text.append(QChar(char16_t(le16(p + at))));
            at += 2;
        } else {
            return std::nullopt;
        }
    }
    return text;
}

// Jet 3 keeps a text in the file's code page, which the library converts.
std::optional<QString> fromCodePage(MdbHandle *mdb, QByteArrayView bytes)
{
    // No code page takes more than three bytes of UTF-8 for one of its bytes; the library
    // ends the text with a nul.
    const qint64 room = 3 * qint64(bytes.size()) + 1;
    if (room >= std::numeric_limits<int>::max())
        return std::nullopt;
    QByteArray utf8(room + 1, Qt::Uninitialized);
    const int length =
        mdbcompat::toUtf8(mdb, bytes.data(), size_t(bytes.size()), utf8.data(), size_t(room));
    if (length < 0 || length >= room)
        return std::nullopt;
    return QString::fromUtf8(utf8.constData(), length);
}

Memo failed(const QString &problem)
{
    return {std::nullopt, problem};
}

} // namespace

Memo readMemo(MdbHandle *mdb, const MdbColumn &column, qint64 fileSize)
{
    const int start = column.cur_value_start;
    const int size = column.cur_value_len;
    if (size == 0)
        return {};
    if (start < 0 || size < FieldSize || start > mdb->fmt->pg_size - size)
        return failed(QStringLiteral("tempatnya di baris rusak"));
    QByteArray bytes;
    const QByteArrayView field(mdb->pg_buf + start, size);
    if (const QString problem = collect(mdb, field, fileSize, bytes); !problem.isEmpty())
        return failed(problem);
    std::optional<QString> text = IS_JET3(mdb) ? fromCodePage(mdb, bytes) : fromJet4(bytes);
    if (!text)
        return failed(QStringLiteral("teksnya tidak dapat diuraikan"));
    if (text->isEmpty())
        return {};
    return {std::move(text), {}};
}

} // namespace accessimport
