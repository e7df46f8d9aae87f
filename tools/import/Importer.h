#pragma once

#include "Source.h"

#include <QStringList>

#include <functional>

namespace accessimport {

// A source row that the new database does not take, and why.
struct Refusal
{
    QString table;
    // 1-based position of the row in its source table.
    qint64 row = 0;
    QString rule;
    QStringList columns;
    Row values;
};

struct Tally
{
    QString table;
    qint64 read = 0;
    qint64 written = 0;
};

struct Outcome
{
    // The new database exists and holds the rows written.
    bool written = false;
    // Why the import stopped before it could judge the rows, when it did.
    QString error;
    QList<Tally> tallies;
    QList<Refusal> refusals;
    // Source columns that have no place in the program's database.
    QStringList ignoredColumns;
};

// Copies the six tables of a source into a new database of the program, in one transaction
// with bound values. A refused row keeps the whole import out unless skipBad is set; then
// the other rows go in and the refused ones are only reported.
class Importer
{
public:
    using Progress = std::function<void(const QString &table, qint64 done, qint64 total)>;

    explicit Importer(Source &source) : m_source(source) {}
    void setSkipBad(bool skip) { m_skipBad = skip; }
    // Called after every `every` rows and after the last one, with the table being read, the
    // rows read so far and the rows all the source's tables count.
    void setProgress(qint64 every, Progress progress);

    // Builds the database beside path and renames it into place once it is complete and
    // synced (refusing a file that exists at path). On failure, on SIGINT, SIGTERM or SIGHUP, and
    // when a row is refused without skipBad, nothing is left behind. Every row a source table
    // counts must be read, or nothing is written.
    Outcome run(const QString &path);
    // Creates the program's tables in the empty database that a server file names and copies
    // every table into it; refuses a database that holds the tables. When nothing is written,
    // the tables go again.
    Outcome runOnServer(const QString &serverFile);

private:
    // Reports progress as setProgress() asked.
    void tick(const QString &table, qint64 done, qint64 total) const;

    Source &m_source;
    bool m_skipBad = false;
    qint64 m_every = 0;
    Progress m_progress;
};

} // namespace accessimport
