#include "store/Database.h"

#include "store/Location.h"
#include "store/Schema.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlQuery>

#include <sqlite3.h>

#include <filesystem>
#include <system_error>

namespace store {

namespace {

const QString ConnectionName = QStringLiteral("kelvara");
// How long a write waits for another program's lock before it reports the database busy.
constexpr int BusyTimeoutMs = 3000;
constexpr QFile::Permissions OwnerFile = QFile::ReadOwner | QFile::WriteOwner;

QString &configuredPath()
{
    static QString path;
    return path;
}

Status exec(QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        return Status::fromSql(query.lastError(), Status::Operation::Read);
    return Status::success();
}

Status openConnection(const QString &name, const QString &file)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(file);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
    if (!db.open())
        return Status::fromSql(db.lastError(), Status::Operation::Read);
    Status status = exec(db, QStringLiteral("PRAGMA foreign_keys = ON"));
    // A save that reported success must survive a crash or a power cut: the journal is
    // synced before the file is changed and the file before the commit is reported.
    if (status.ok())
        status = exec(db, QStringLiteral("PRAGMA synchronous = FULL"));
    if (status.ok())
        status = schema::verify(db);
    return status;
}

void drop(const QString &name)
{
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

void Database::setPath(const QString &path)
{
    if (path != configuredPath())
        close();
    configuredPath() = path;
}

QString Database::path()
{
    return configuredPath().isEmpty() ? databasePath() : configuredPath();
}

Status Database::open()
{
    if (isOpen())
        return Status::success();
    const QString file = path();
    switch (placeOf(file)) {
    case Place::Nothing:
        return Status::failure(Status::Kind::Missing, file);
    case Place::DanglingLink:
        // The engine would follow the link and create the file it names.
        return Status::failure(Status::Kind::Unreadable,
                               QStringLiteral("symbolic link to a missing file: %1 -> %2")
                                   .arg(file, QFileInfo(file).symLinkTarget()));
    case Place::Folder:
        return Status::failure(Status::Kind::Unreadable,
                               QStringLiteral("a folder, not a file: %1").arg(file));
    case Place::Access:
    case Place::File:
        break;
    }
    const Status status = openConnection(ConnectionName, file);
    if (!status.ok())
        drop(ConnectionName);
    return status;
}

bool Database::isOpen()
{
    return QSqlDatabase::contains(ConnectionName) &&
           QSqlDatabase::database(ConnectionName, false).isOpen();
}

QSqlDatabase Database::connection()
{
    return QSqlDatabase::database(ConnectionName, false);
}

sqlite3 *Database::handle()
{
    const QVariant v = connection().driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(v.constData());
}

qint64 Database::longestValue()
{
    sqlite3 *db = handle();
    return db ? sqlite3_limit(db, SQLITE_LIMIT_LENGTH, -1) : 0;
}

void Database::close()
{
    if (QSqlDatabase::contains(ConnectionName))
        drop(ConnectionName);
}

Status Database::create(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink())
        return Status::failure(Status::Kind::Other,
                               QStringLiteral("file already exists: %1").arg(path));
    if (const QString problem = makeFolders(info.absolutePath()); !problem.isEmpty())
        return Status::failure(Status::Kind::Unreadable, problem);
    // The file is made here, exclusively and for its owner only, before the engine sees it:
    // the engine would create it with the umask's mode and follow a link in its place. Its
    // journal takes the same mode from it.
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, OwnerFile))
            return Status::failure(Status::Kind::Unreadable,
                                   QStringLiteral("%1: %2").arg(path, file.errorString()));
        if (!file.setPermissions(OwnerFile)) {
            file.remove();
            return Status::failure(Status::Kind::Unreadable,
                                   QStringLiteral("cannot set the file's mode: %1").arg(path));
        }
    }
    const QString name = QStringLiteral("kelvara-create");
    Status status;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open())
            status = Status::fromSql(db.lastError(), Status::Operation::Write);
        else
            status = schema::create(db);
    }
    drop(name);
    if (!status.ok())
        QFile::remove(path);
    return status;
}

Status Database::requireFileInPlace()
{
    sqlite3 *db = handle();
    if (!db)
        return Status::failure(Status::Kind::Unreadable, QStringLiteral("no database handle"));
    int moved = 0;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_HAS_MOVED, &moved) != SQLITE_OK)
        return Status::success();
    if (moved)
        return Status::failure(
            Status::Kind::Gone,
            QStringLiteral("database file was deleted or moved: %1").arg(path()));
    return Status::success();
}

namespace {

std::filesystem::path fsPath(const QString &file)
{
    return std::filesystem::path(file.toStdU16String());
}

// The place a path names once the links of its existing part are resolved.
std::filesystem::path placeOf(const std::filesystem::path &file)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(file, error);
    const std::filesystem::path place = std::filesystem::weakly_canonical(absolute, error);
    return error ? absolute.lexically_normal() : place;
}

} // namespace

bool Database::isDatabaseFile(const QString &file)
{
    const std::filesystem::path target = fsPath(file);
    const std::filesystem::path place = placeOf(target);
    for (const char *suffix : {"", "-journal", "-wal", "-shm"}) {
        const std::filesystem::path own = fsPath(path() + QLatin1String(suffix));
        std::error_code error;
        // equivalent() also catches a hard link; the places catch a file not made yet.
        if (std::filesystem::equivalent(target, own, error) || place == placeOf(own))
            return true;
    }
    return false;
}

} // namespace store
