#include "store/Backup.h"

#include "store/InUse.h"
#include "store/Location.h"
#include "store/OwnerOnly.h"
#include "store/Schema.h"
#include "store/SchemaVersion.h"
#include "store/SqliteEngine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>

#include <sqlite3.h>

#include <filesystem>
#include <system_error>

namespace store::backup {

namespace {

constexpr int KeptDays = 14;
constexpr int KeptMonths = 12;
// As long as a save waits for another program's lock.
constexpr int BusyTimeoutMs = 3000;
constexpr int BusyAttempts = 4;

Status fileFailure(const QString &text)
{
    return Status::failure(Status::Kind::Other, text);
}

QString suffixOf(const QString &database)
{
    const QString suffix = QFileInfo(database).suffix();
    return suffix.isEmpty() ? QString() : u'.' + suffix;
}

// "DB PT Mardeko 2026-12-11.mdb", or with the time and a number after the day.
QRegularExpression namePattern(const QString &database)
{
    return QRegularExpression(
        QStringLiteral("^%1 (\\d{4}-\\d{2}-\\d{2})( [^/\\\\]*)?%2$")
            .arg(QRegularExpression::escape(QFileInfo(database).completeBaseName()),
                 QRegularExpression::escape(suffixOf(database))));
}

// The first of the names (stem, stem + " 2", ...) under which nothing stands.
QString freeName(const QStringList &stems, const QString &suffix)
{
    for (const QString &stem : stems) {
        if (placeOf(stem + suffix) == Place::Nothing)
            return stem + suffix;
    }
    for (int n = 2;; ++n) {
        const QString candidate = QStringLiteral("%1 (%2)%3").arg(stems.last()).arg(n).arg(suffix);
        if (placeOf(candidate) == Place::Nothing)
            return candidate;
    }
}

void removeDatabaseFiles(const QString &path)
{
    for (const char *side : {"", "-journal"})
        QFile::remove(path + QLatin1String(side));
}

// Makes the folder a copy goes into, refusing one that a symbolic link stands for: the
// copies would go wherever it points.
QString prepareFolder(const QString &folder)
{
    if (QFileInfo(folder).isSymLink())
        return QStringLiteral("the folder is a symbolic link, not followed: %1").arg(folder);
    return makeFolders(folder);
}

bool isBusy(int rc)
{
    return (rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED;
}

// An open handle of the engine's own, closed when it goes.
class Handle
{
public:
    Handle(const QString &file, int flags)
    {
        m_rc = sqlite3_open_v2(QFile::encodeName(file).constData(), &m_db, flags, nullptr);
        if (m_db)
            sqlite3_extended_result_codes(m_db, 1);
    }
    ~Handle() { sqlite3_close_v2(m_db); }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;

    sqlite3 *get() const { return m_db; }
    Status status(int rc) const
    {
        return rc == SQLITE_OK || rc == SQLITE_DONE
                   ? Status::success()
                   : sqliteFailure(rc, QString::fromUtf8(sqlite3_errmsg(m_db)),
                                   Status::Operation::Read);
    }
    Status opened() const { return status(m_rc); }

private:
    sqlite3 *m_db = nullptr;
    int m_rc = SQLITE_OK;
};

// Takes the read lock that the whole copy is made under. A reader can miss every gap
// between the commits of a busy writer for a while: it waits as a save does, a few times.
Status beginReading(const Handle &source)
{
    sqlite3_busy_timeout(source.get(), BusyTimeoutMs);
    if (const int rc = sqlite3_exec(source.get(), "BEGIN", nullptr, nullptr, nullptr);
        rc != SQLITE_OK)
        return source.status(rc);
    int rc = SQLITE_BUSY;
    for (int attempt = 0; attempt < BusyAttempts && isBusy(rc); ++attempt)
        rc = sqlite3_exec(source.get(), "SELECT count(*) FROM sqlite_master", nullptr, nullptr,
                          nullptr);
    return source.status(rc);
}

// The engine's online backup in one step: it reads the source under one read lock, so the
// copy is the database as one committed transaction left it, whatever other connections
// write meanwhile (their commits wait, as for any reader).
Status copyDatabase(const QString &source, const QString &target)
{
    const Handle from(source, SQLITE_OPEN_READONLY);
    const Handle to(target, SQLITE_OPEN_READWRITE);
    if (Status status = from.opened(); !status.ok())
        return status;
    if (Status status = to.opened(); !status.ok())
        return status;
    if (Status status = beginReading(from); !status.ok())
        return status;
    sqlite3_backup *backup = sqlite3_backup_init(to.get(), "main", from.get(), "main");
    if (!backup)
        return to.status(sqlite3_errcode(to.get()));
    const int stepped = sqlite3_backup_step(backup, -1);
    const int finished = sqlite3_backup_finish(backup);
    if (stepped != SQLITE_DONE)
        return to.status(finished != SQLITE_OK ? finished : stepped);
    return to.status(finished);
}

// A copy made beside target under a hidden name, checked, then renamed into place.
Status copyChecked(const QString &source, const QString &target)
{
    const QFileInfo info(target);
    const QString scratch =
        info.absoluteDir().filePath(u'.' + info.fileName() + QStringLiteral(".sementara"));
    removeDatabaseFiles(scratch);
    if (const QString problem = createOwnerOnly(scratch); !problem.isEmpty())
        return fileFailure(problem);
    Status status = copyDatabase(source, scratch);
    if (status.ok())
        status = check(scratch);
    if (status.ok() && !QFile::rename(scratch, target))
        status = fileFailure(QStringLiteral("cannot rename %1 to %2").arg(scratch, target));
    if (!status.ok())
        removeDatabaseFiles(scratch);
    return status;
}

Status integrity(Connection &db)
{
    const std::unique_ptr<Query> query =
        db.query(QStringLiteral("PRAGMA integrity_check(10)"), Status::Operation::Read);
    Status status = query->run();
    QStringList found;
    while (status.ok() && query->next())
        found << query->value(0).toString();
    if (status.ok())
        status = query->status();
    if (status.ok() && found != QStringList{QStringLiteral("ok")})
        status = Status::failure(Status::Kind::Unreadable,
                                 QStringLiteral("integrity check: %1").arg(found.join(u"; ")));
    return status;
}

Status countLeave(Connection &db, qint64 *count)
{
    const std::unique_ptr<Query> query =
        db.query(QStringLiteral("SELECT count(*) FROM Cuti"), Status::Operation::Read);
    Status status = query->run();
    if (status.ok() && query->next())
        *count = query->integer(0);
    return status.ok() ? query->status() : status;
}

// "DB PT Mardeko (rusak 2026-12-11 15.42.07).mdb", beside the database.
QString damagedPath(const QString &database, const QDateTime &now)
{
    const QFileInfo info(database);
    const QString stem = info.absoluteDir().filePath(
        QStringLiteral("%1 (rusak %2)")
            .arg(info.completeBaseName(), now.toString(QStringLiteral("yyyy-MM-dd HH.mm.ss"))));
    return freeName({stem}, suffixOf(database));
}

// Keeps the file at the database's place under another name: the same file by a second
// name where the file system has them, else a copy of its bytes.
QString keepFile(const QString &database, const QString &kept)
{
    std::error_code error;
    std::filesystem::create_hard_link(database.toStdU16String(), kept.toStdU16String(), error);
    if (!error)
        return {};
    if (!QFile::copy(database, kept) || !keepToOwner(kept, false).isEmpty())
        return QStringLiteral("cannot keep %1 as %2").arg(database, kept);
    return {};
}

// Keeps the database that a restore replaces. A whole one joins the copies, taken under the
// engine's exclusive lock so that nobody is writing it; a damaged one stays beside the place
// with its journal, which must never be played into the restored file.
Status keepReplaced(const QString &database, QString *keptAs)
{
    const QDateTime now = QDateTime::currentDateTime();
    const Status whole = check(database);
    if (whole.kind() == Status::Kind::Busy)
        return whole;
    if (!whole.ok()) {
        *keptAs = damagedPath(database, now);
        if (!QFile::rename(database, *keptAs))
            return fileFailure(QStringLiteral("cannot rename %1 to %2").arg(database, *keptAs));
        QFile::rename(database + QStringLiteral("-journal"), *keptAs + QStringLiteral("-journal"));
        return Status::success();
    }
    if (const QString problem = prepareFolder(folder(database)); !problem.isEmpty())
        return fileFailure(problem);
    const Handle lock(database, SQLITE_OPEN_READWRITE);
    Status status = lock.opened();
    if (status.ok())
        status =
            lock.status(sqlite3_exec(lock.get(), "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr));
    if (!status.ok())
        return status;
    *keptAs = nextPath(database, now);
    if (const QString problem = keepFile(database, *keptAs); !problem.isEmpty())
        return fileFailure(problem);
    return Status::success();
}

QString &problemToTell()
{
    static QString text;
    return text;
}

} // namespace

QString folder(const QString &database)
{
    return QFileInfo(database).absoluteDir().filePath(QStringLiteral("Cadangan"));
}

QList<Copy> list(const QString &database)
{
    const QRegularExpression pattern = namePattern(database);
    QMap<QString, Copy> byName;
    const QDir dir(folder(database));
    for (const QFileInfo &info : dir.entryInfoList(QDir::Files | QDir::NoSymLinks)) {
        const QRegularExpressionMatch match = pattern.match(info.fileName());
        const QDate date = QDate::fromString(match.captured(1), Qt::ISODate);
        if (match.hasMatch() && date.isValid())
            byName.insert(match.captured(1) + match.captured(2),
                          {info.absoluteFilePath(), date, info.size()});
    }
    // The day's first copy has the bare day as its name, which sorts before its later ones.
    QList<Copy> copies = byName.values();
    std::reverse(copies.begin(), copies.end());
    return copies;
}

QString nextPath(const QString &database, const QDateTime &now)
{
    const QString stem =
        QDir(folder(database))
            .filePath(QStringLiteral("%1 %2").arg(QFileInfo(database).completeBaseName(),
                                                  now.date().toString(Qt::ISODate)));
    return freeName({stem, stem + now.toString(QStringLiteral(" HH.mm.ss"))}, suffixOf(database));
}

Status take(const QString &database, const QString &target)
{
    const QFileInfo info(target);
    if (info.exists() || info.isSymLink())
        return fileFailure(QStringLiteral("file already exists: %1").arg(target));
    if (const QString problem = prepareFolder(info.absolutePath()); !problem.isEmpty())
        return fileFailure(problem);
    return copyChecked(database, target);
}

Status check(const QString &file, qint64 *leaveRecords)
{
    Status status;
    const std::unique_ptr<SqliteConnection> db =
        SqliteConnection::open(file, SqliteConnection::Mode::ReadOnly, &status);
    if (!status.ok())
        return status;
    int found = 0;
    status = integrity(*db);
    if (status.ok())
        status = schema::storedVersion(*db, schema::Engine::File, &found);
    if (status.ok() && found > schema::version())
        return Status::failure(Status::Kind::Other,
                               QStringLiteral("dibuat oleh versi program yang lebih baru (versi "
                                              "skema %1; program ini sampai versi %2)")
                                   .arg(found)
                                   .arg(schema::version()));
    if (status.ok())
        status = schema::verify(*db);
    if (status.ok() && leaveRecords)
        status = countLeave(*db, leaveRecords);
    return status;
}

Status daily(const QString &database, const QDateTime &now)
{
    for (const Copy &copy : list(database)) {
        if (copy.date == now.date())
            return Status::success();
    }
    Status status = take(database, nextPath(database, now));
    if (status.ok())
        thin(database);
    return status;
}

void thin(const QString &database)
{
    const QList<Copy> copies = list(database);
    QList<QDate> days;
    for (const Copy &copy : copies) {
        if (days.size() < KeptDays && !days.contains(copy.date))
            days << copy.date;
    }
    // Month by month, oldest first, the first copy of each.
    QMap<QString, QString> firstOfMonth;
    for (auto copy = copies.crbegin(); copy != copies.crend(); ++copy) {
        const QString month = copy->date.toString(QStringLiteral("yyyy-MM"));
        if (!firstOfMonth.contains(month))
            firstOfMonth.insert(month, copy->path);
    }
    const QStringList firsts =
        firstOfMonth.values().mid(std::max<qsizetype>(0, firstOfMonth.size() - KeptMonths));
    for (const Copy &copy : copies) {
        if (!days.contains(copy.date) && !firsts.contains(copy.path))
            QFile::remove(copy.path);
    }
}

Status restore(const QString &copy, const QString &database, QString *keptAs)
{
    keptAs->clear();
    for (const QString &path : {copy, database}) {
        if (QFileInfo(path).isSymLink())
            return fileFailure(QStringLiteral("a symbolic link, not followed: %1").arg(path));
    }
    const Place place = placeOf(database);
    if (place == Place::Folder)
        return fileFailure(QStringLiteral("a folder, not a file: %1").arg(database));
    if (Status status = check(copy); !status.ok())
        return status;
    const InUse alone(database, InUse::Kind::Alone);
    if (!alone.held())
        return Status::failure(
            Status::Kind::Busy,
            QStringLiteral("another program has the database open: %1").arg(database));
    const QFileInfo info(database);
    const QString scratch =
        info.absoluteDir().filePath(u'.' + info.fileName() + QStringLiteral(".pulih"));
    removeDatabaseFiles(scratch);
    if (Status status = copyChecked(copy, scratch); !status.ok())
        return status;
    Status status = place == Place::Nothing ? Status::success() : keepReplaced(database, keptAs);
    std::error_code error;
    if (status.ok())
        std::filesystem::rename(scratch.toStdU16String(), database.toStdU16String(), error);
    if (status.ok() && error)
        status = fileFailure(QStringLiteral("cannot rename %1 to %2: %3")
                                 .arg(scratch, database, QString::fromStdString(error.message())));
    if (!status.ok())
        removeDatabaseFiles(scratch);
    return status;
}

void rememberProblem(const QString &text)
{
    problemToTell() = text;
}

QString takeProblem()
{
    return std::exchange(problemToTell(), QString());
}

} // namespace store::backup
