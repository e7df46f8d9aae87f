#pragma once

#include "store/Status.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

// Copies of a database file in the folder Cadangan beside it ("DB PT Mardeko 2026-12-11.mdb",
// a later copy of the same day with its time), and putting one back. A copy is taken with
// the engine's online backup, so it is whole even while another connection writes; it is
// made readable by its owner only and checked before it counts.
namespace store::backup {

struct Copy
{
    QString path;
    QDate date;
    qint64 size = 0;
};

// The folder of a database's copies.
QString folder(const QString &database);

// The copies of a database in its folder, newest first.
QList<Copy> list(const QString &database);

// The path of the copy taken now: the day's name, or the day and time when the day has one.
QString nextPath(const QString &database, const QDateTime &now);

// Copies the database into target, a new file (never over one, nor through a link), made
// beside it and renamed into place only once the copy is checked.
Status take(const QString &database, const QString &target);

// Whether file is a whole database of the program that this version can open: the engine's
// integrity check, the program's tables and views, and its version. A file that is damaged
// or no database of the program fails with Kind::Unreadable, one of a later version with
// Kind::Other. leaveRecords, when given, receives the number of leave records.
Status check(const QString &file, qint64 *leaveRecords = nullptr);

// The day's copy, unless the day has one: taken, then the older copies thinned.
Status daily(const QString &database, const QDateTime &now);

// Removes the copies that are neither of the last 14 days that have copies nor the first
// copy of one of the last 12 months that have copies.
void thin(const QString &database);

// Puts a copy in the database's place in one rename, once the copy is checked and no program
// has the database open. The database it replaces is kept: among the copies when it is
// whole, else beside it as "DB PT Mardeko (rusak 2026-12-11 15.42.07).mdb"; keptAs receives
// where (empty when there was none). Never follows a symbolic link.
Status restore(const QString &copy, const QString &database, QString *keptAs);

// A failure of the copy taken before an upgrade, which the opening did not stop; the
// program says it once. Taking it clears it.
void rememberProblem(const QString &text);
QString takeProblem();

} // namespace store::backup
