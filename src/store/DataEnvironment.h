#pragma once

#include "store/Status.h"

#include <QString>
#include <QStringList>

#include <map>
#include <memory>

namespace store {

class Snapshot;

// DataEnvironment1: the program-wide source of named row sets for the reports and the
// department and rank lists. Each command names one table or view; its rows are a read-only
// snapshot taken when the command first runs and kept until the program ends.
class DataEnvironment
{
public:
    static DataEnvironment &instance();
    // Forgets every command, so that the next use reads the database anew (a test's own
    // database, or a tool that opened another file).
    static void reset();

    QString name() const { return QStringLiteral("DataEnvironment1"); }
    QString connectionName() const { return QStringLiteral("Connection1"); }
    // The ten commands in the order in which they are defined.
    QStringList commandNames() const;
    // The table or view a command reads; empty for an unknown command.
    QString sourceOf(const QString &command) const;
    // The row set name of a command ("rs" and the command's name).
    QString rowSetOf(const QString &command) const;

    // Binding by name: runs the command if its rows are not open yet and hands them over.
    // Null, with the reason in status, when the command is unknown or cannot run.
    Snapshot *command(const QString &name, Status *status = nullptr);

private:
    DataEnvironment() = default;
    std::map<QString, std::unique_ptr<Snapshot>> m_open;
};

} // namespace store
