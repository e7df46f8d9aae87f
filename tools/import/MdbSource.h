#pragma once

#include "Source.h"

namespace accessimport {

// Opens an Access file (Jet 3 or Jet 4) as a source, read with the library of mdbtools:
// texts (memos whole, however long) as they are, numbers as plain decimals with '.', dates
// as yyyy-MM-dd, binary values (OLE objects) as no value. Returns null, with the reason in
// error, when the file is missing or is no Access file. Tables opened from the source must be
// gone before it is.
std::unique_ptr<Source> openAccess(const QString &path, QString &error);

} // namespace accessimport
