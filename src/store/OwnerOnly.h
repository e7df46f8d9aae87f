#pragma once

#include <QString>

namespace store {

// Lets only the user running the program read and change path: the mode 0600 (a file) or
// 0700 (a folder) on Unix; on Windows an access list naming that user alone, protected from
// the parent folder's entries and, for a folder, passed on to what is made in it. Returns
// why it could not, or empty.
QString keepToOwner(const QString &path, bool folder);

} // namespace store
