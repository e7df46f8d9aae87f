#pragma once

#include <QString>

namespace store {

// The one place that knows where the company's database lives.
QString databasePath();

// What stands at a database's place, looked at without opening or following anything.
enum class Place {
    Nothing,      // no file, no folder, no link: a database may be made here
    Access,       // an Access file (its "Standard Jet DB" header)
    DanglingLink, // a symbolic link that points nowhere
    Folder,       // a folder
    File          // some other file: only opening it tells whether it is the database
};
Place placeOf(const QString &path);

// Makes the missing folders of a path, each readable by its owner only (0700); folders that
// exist are left as they are. Returns the reason when it cannot.
QString makeFolders(const QString &folder);

// Makes a new, empty file readable and writable by its owner only, whatever the umask; never
// over a file or through a symbolic link in its place. Returns the reason when it cannot.
QString createOwnerOnly(const QString &path);

} // namespace store
