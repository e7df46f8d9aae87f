#include "store/Database.h"

#include "store/Location.h"
#include "store/Schema.h"

#include "store/SqliteEngine.h"

#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace store {

namespace {

constexpr QFile::Permissions OwnerFile = QFile::ReadOwner | QFile::WriteOwner;

QString &configuredPath()
{
    static QString path;
    return path;
}

std::unique_ptr<Connection> &openConnection()
{
    static std::unique_ptr<Connection> connection;
    return connection;
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
    Status status;
    std::unique_ptr<Connection> connection =
        SqliteConnection::open(file, SqliteConnection::Mode::Existing, &status);
    if (status.ok())
        status = schema::verify(*connection);
    if (status.ok())
        openConnection() = std::move(connection);
    return status;
}

bool Database::isOpen()
{
    return openConnection() != nullptr;
}

Connection &Database::connection()
{
    static SqliteConnection closed;
    return openConnection() ? *openConnection() : closed;
}

void Database::close()
{
    openConnection().reset();
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
    Status status;
    {
        const std::unique_ptr<Connection> connection =
            SqliteConnection::open(path, SqliteConnection::Mode::Existing, &status);
        if (status.ok())
            status = schema::create(*connection);
    }
    if (!status.ok())
        QFile::remove(path);
    return status;
}

Status Database::requireFileInPlace()
{
    return connection().requireInPlace();
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
