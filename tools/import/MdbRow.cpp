#include "MdbRow.h"

#include <QDate>

#include <cmath>
#include <cstring>

namespace accessimport {

namespace {

// Jet 4 keeps a text of at most 255 characters in two bytes each; Jet 3 in one.
constexpr int LongestText4 = 510;
constexpr int LongestText3 = 255;

bool isVariable(int type)
{
    switch (type) {
    case MDB_TEXT:
    case MDB_MEMO:
    case MDB_OLE:
    case MDB_BINARY:
        return true;
    default:
        return false;
    }
}

// The bytes a fixed-length value takes in the row; -1 for a type not known here (and for
// a yes/no, which lives in the null mask).
int fixedSize(int type)
{
    switch (type) {
    case MDB_BYTE:
        return 1;
    case MDB_INT:
        return 2;
    case MDB_LONGINT:
    case MDB_FLOAT:
        return 4;
    case MDB_MONEY:
    case MDB_DOUBLE:
    case MDB_DATETIME:
        return 8;
    case MDB_REPID:
        return 16;
    case MDB_NUMERIC:
        return 17;
    default:
        return -1;
    }
}

bool isKnown(int type)
{
    return isVariable(type) || fixedSize(type) > 0 || type == MDB_BOOL;
}

} // namespace

QString impossibleDefinition(const MdbHandle *mdb, const MdbColumn &column)
{
    const int type = column.col_type;
    if (!isKnown(type))
        return {};
    if (isVariable(type) && column.is_fixed)
        return QStringLiteral("panjangnya ditandai tetap, padahal jenisnya berpanjang berubah");
    if (!isVariable(type) && !column.is_fixed)
        return QStringLiteral("panjangnya ditandai berubah, padahal jenisnya berpanjang tetap");
    const int expected = fixedSize(type);
    if (expected > 0 && column.col_size != expected)
        return QStringLiteral("panjangnya %1 byte, padahal jenisnya %2 byte")
            .arg(column.col_size)
            .arg(expected);
    if (expected > 0 &&
        (column.fixed_offset < 0 || column.fixed_offset + expected > int(mdb->fmt->pg_size)))
        return QStringLiteral("letaknya (byte %1) di luar baris").arg(column.fixed_offset);
    const int longest = IS_JET3(mdb) ? LongestText3 : LongestText4;
    if (type == MDB_TEXT && (column.col_size <= 0 || column.col_size > longest))
        return QStringLiteral("panjangnya %1 byte, padahal teks paling panjang %2 byte")
            .arg(column.col_size)
            .arg(longest);
    return {};
}

RawRow::RawRow(MdbHandle *mdb, const MdbTableDef &table) : m_jet3(IS_JET3(mdb))
{
    int start = 0;
    size_t size = 0;
    if (table.cur_row == 0 || mdb_find_row(mdb, int(table.cur_row) - 1, &start, &size) != 0)
        return;
    if (start < 0 || size > size_t(mdb->fmt->pg_size) ||
        qint64(start) + qint64(size) > qint64(mdb->fmt->pg_size))
        return;
    m_row = reinterpret_cast<const unsigned char *>(mdb->pg_buf) + start;
    m_size = qint64(size);
}

unsigned RawRow::le16(qint64 at) const
{
    return m_jet3 ? unsigned(m_row[at]) : unsigned(m_row[at]) | unsigned(m_row[at + 1]) << 8;
}

// A row: its column count, the fixed values, the variable values, then from the end back:
// the null mask (a bit per column, set when it holds a value), the count of variable values
// and their offsets, the first nearest.
bool RawRow::holds(const MdbColumn &column) const
{
    const qint64 width = m_jet3 ? 1 : 2;
    if (m_size < width)
        return false;
    const qint64 columns = le16(0);
    const qint64 maskSize = (columns + 7) / 8;
    const qint64 number = column.row_col_num;
    if (number < 0 || number >= columns || maskSize + width > m_size)
        return false;
    const qint64 mask = m_size - maskSize;
    if (!(m_row[mask + number / 8] & (1u << (number % 8))))
        return false;
    // Jet 3 keeps its offsets with jumps past every 256 bytes: the mask says enough there.
    if (!isVariable(column.col_type) || m_jet3)
        return true;
    const qint64 count = le16(mask - width);
    const qint64 slot = column.var_col_num;
    const qint64 next = mask - width - width * (slot + 2);
    // A value the mask marks present without a slot of its own is present all the same.
    if (slot >= count || next < 0)
        return true;
    return le16(next) != le16(next + width);
}

std::optional<double> accessDate(const MdbHandle *mdb, const MdbColumn &column)
{
    if (column.cur_value_len != 8 || column.cur_value_start < 0 ||
        column.cur_value_start > int(mdb->fmt->pg_size) - 8)
        return std::nullopt;
    double days = 0;
    std::memcpy(&days, mdb->pg_buf + column.cur_value_start, sizeof days);
    return days;
}

QString dayOf(double accessDate)
{
    static const QDate Epoch(1899, 12, 30);
    static const qint64 First = Epoch.daysTo(QDate(1, 1, 1));
    static const qint64 Last = Epoch.daysTo(QDate(9999, 12, 31));
    // The whole days count from the epoch toward the date; the fraction is the time.
    const double whole = std::trunc(accessDate);
    if (!std::isfinite(accessDate) || whole < double(First) || whole > double(Last))
        return QStringLiteral("%1 (tanggal Access, hari sejak 1899-12-30)")
            .arg(QString::number(accessDate, 'g', 17));
    return Epoch.addDays(qint64(whole)).toString(QStringLiteral("yyyy-MM-dd"));
}

} // namespace accessimport
