#pragma once

#include <QString>
#include <QStringList>

namespace store::history {

// The table that records every insert, change and delete of the program's tables, one row
// per changed column, written by the database's own triggers in the same transaction as
// the change.
QString table();
// The view of it that the history report reads: newest first, a change's columns in the
// order of its table.
QString view();

// Who the changes of this process are recorded as: the signed-in user once set, else the
// program's name and the system user it runs as ("kelvara-user (budi)").
void setActor(const QString &actor);
QString actor();

// The statements that make the table, for a database being created or brought up to the
// version that has it. On the server they make the triggers that record every change too,
// whoever writes; a file's are the program's own and live on its connection.
QStringList fileStatements();
QStringList serverStatements();
// The triggers through which a connection to a file records its changes. A file has no users
// of its own, so its history records what the program and its tools change.
QStringList fileRecorders();
// The statements that take them away from a server database again.
QStringList serverRemoval();

// The name of the engine function through which the file's triggers learn the actor.
const char *actorFunction();

} // namespace store::history
