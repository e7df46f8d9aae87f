#pragma once

#include <QString>

#include <optional>

#include "MdbCompat.h"

namespace accessimport {

// A memo as the file holds it, read whole: its text (none for Null and for an empty memo),
// or why it cannot be read.
struct Memo
{
    std::optional<QString> text;
    QString problem;
};

// Reads the memo of the row that mdb_fetch_row just read, from the column's field in the
// row's page: the text may stand in the row itself, in a row of another page, or in a chain
// of rows over many pages. Every length and page the file names is checked against the
// file, and no more than the memo's own length, which fits in the file, is allocated.
Memo readMemo(MdbHandle *mdb, const MdbColumn &column, qint64 fileSize);

} // namespace accessimport
