#pragma once

#include "store/Snapshot.h"
#include "store/Status.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace store {

// DataEnvironment1: the program-wide source of named row sets for the reports and the
// department and rank lists. Each command names one table or view. Every run reads the rows
// afresh into a read-only snapshot of its own, so that a report shows the data as they stand
// when it is shown, and a list those of the moment it binds.
class DataEnvironment
{
public:
    static DataEnvironment &instance();

    // The commands in the order in which they are defined: the ten of the reports and lists,
    // then the history of changes.
    QStringList commandNames() const;
    // The table or view a command reads; empty for an unknown command.
    QString sourceOf(const QString &command) const;
    // The row set name of a command ("rs" and the command's name).
    QString rowSetOf(const QString &command) const;

    // Runs the command: the rows as they stand now. With a column list only those columns
    // are kept, unless the command lacks one of them: then it keeps them all. Null, with the
    // reason in status, when the command is unknown or cannot run.
    std::unique_ptr<Snapshot> command(const QString &name, Status *status = nullptr,
                                      const QStringList &columns = {}) const;
    // Binding by name: runs the command and hands its rows to the consumer, which owns them
    // from then on (they go when it goes).
    Snapshot *bind(const QString &name, QObject *consumer, Status *status = nullptr) const;

private:
    DataEnvironment() = default;
};

} // namespace store
