#pragma once

#include <QString>

// The files a tool is told to read or write: what it refuses before it touches one, and the
// privacy of what it writes. The tools that write reports (PDF, spreadsheets, CSV) share these
// rules.
namespace cli {

// Why path cannot be a database or an output file of a tool, with the path named: an empty
// name, a folder (or a name ending in a separator), something that is not a plain file (a
// FIFO, a device or a socket, which would keep the tool waiting), or a file or folder the
// user may not read. Empty when it can, also when nothing is there yet.
QString fileProblem(const QString &path);

// From now on, files and folders the tool creates are readable by their owner only, as the
// database is: reports hold pay figures.
void keepFilesPrivate();

} // namespace cli
