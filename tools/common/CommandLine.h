#pragma once

#include <QString>

class QCommandLineParser;

// What every command-line tool of the program does alike: Indonesian texts (the help frame
// included), --help and --version on standard output with exit code 0, usage errors on
// standard error with exit code 2, other failures with exit code 1, and no diagnostics of Qt's
// own on standard error.
namespace cli {

enum Exit { Done = 0, Failed = 1, UsageError = 2 };

// Call first in main(), before the application object: Qt's own warnings (a terminal without
// a desktop session has no XDG_RUNTIME_DIR, for one) are not the tool's to show.
void quietQt();

// Call right after the application object: names the tool and its version and makes Qt's
// texts Indonesian.
void start(const QString &name);

// Adds --help and --version and reads the command line. --help and --version print and end
// the tool with Done; an unknown option, a missing value or an argument that is not valid
// UTF-8 prints why and ends it with UsageError.
void parse(QCommandLineParser &parser);

// Adds --db PATH (a database file) and --server FILE (a server file naming a PostgreSQL
// database), with the fixed place in the help.
void addDatabaseOptions(QCommandLineParser &parser);
// Points the store at the database the command line names: --db a file, --server a server
// file; without either, the fixed place or the server file beside it. Returns the usage
// error when both are given or --db is empty, else an empty text.
QString chooseDatabase(const QCommandLineParser &parser);

// Why the database file chosen cannot be opened (see fileProblem), before anything waits on
// it; empty on a server.
QString databaseProblem();

// Prints a usage error and a pointer to --help on standard error; returns UsageError.
int usageError(const QString &text);

// Prints why the tool failed on standard error, after the tool's name; returns Failed.
int failure(const QString &text);

} // namespace cli
