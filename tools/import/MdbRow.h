#pragma once

#include <QString>

#include <optional>

#include "MdbCompat.h"

namespace accessimport {

// Why a column's definition cannot be Jet's (a text marked fixed-length, a number marked
// variable, a fixed value outside the row, a text longer than Jet allows); empty when it can.
QString impossibleDefinition(const MdbHandle *mdb, const MdbColumn &column);

// The row that mdb_fetch_row just read, as it lies in the handle's page buffer, read without
// the column definitions' flags: it says on its own whether it holds a value for a column.
class RawRow
{
public:
    // Finds the row just fetched; an empty row (that says nothing) when it cannot.
    RawRow(MdbHandle *mdb, const MdbTableDef &table);
    // Whether the row holds a value for the column: its null mask marks it present and, for
    // a text, its slot among the variable values is not empty.
    bool holds(const MdbColumn &column) const;

private:
    unsigned le16(qint64 at) const;

    const unsigned char *m_row = nullptr;
    qint64 m_size = 0;
    bool m_jet3 = false;
};

// A date/time field of the row just read as Access holds it: days since 1899-12-30, the
// fraction of a day after the point being the time (also before that day).
std::optional<double> accessDate(const MdbHandle *mdb, const MdbColumn &column);
// The day as yyyy-MM-dd, or the value as Access holds it, with its meaning, when no day of
// the years 1 to 9999 is.
QString dayOf(double accessDate);

} // namespace accessimport
