#include "store/Database.h"

#include "store/Backup.h"
#include "store/Location.h"
#include "store/Schema.h"
#include "store/SchemaVersion.h"

#include "store/PostgresEngine.h"
#include "store/SchemaPostgres.h"
#include "store/ServerSettings.h"
#include "store/SqliteEngine.h"

#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace store {

namespace {

QString &configuredPath()
{
    static QString path;
    return path;
}

QString &configuredServer()
{
    static QString file;
    return file;
}

std::unique_ptr<Connection> &openConnection()
{
    static std::unique_ptr<Connection> connection;
    return connection;
}

std::unique_ptr<Connection> connectToServer(const QString &file, Status *status)
{
    const ServerSettings settings = ServerSettings::read(file);
    if (!settings.ok()) {
        *status = Status::failure(Status::Kind::ServerSettings, settings.error());
        return nullptr;
    }
    return PostgresConnection::open(settings.parameters(), settings.describe(), status);
}

Status openServer(const QString &file)
{
    Status status;
    std::unique_ptr<Connection> connection = connectToServer(file, &status);
    if (status.ok())
        status = schema::prepare(*connection, schema::Engine::Server);
    if (status.ok())
        openConnection() = std::move(connection);
    return status;
}

// An upgrade changes the file in ways an older program cannot undo: the file as it was is
// kept first. A copy that fails does not keep the clerk from working; the program says why.
void backUpBeforeUpgrade(Connection &connection, const QString &file)
{
    // A file without the program's tables is refused, not upgraded: nothing to keep.
    int found = 0;
    if (!schema::storedVersion(connection, schema::Engine::File, &found).ok() ||
        found >= schema::version() || !schema::verify(connection).ok())
        return;
    const Status copied = backup::take(file, backup::nextPath(file, QDateTime::currentDateTime()));
    if (!copied.ok())
        backup::rememberProblem(copied.message());
}

} // namespace

void Database::setServerFile(const QString &file)
{
    if (file != configuredServer())
        close();
    configuredServer() = file;
}

QString Database::serverFile()
{
    if (!configuredServer().isEmpty())
        return configuredServer();
    return configuredPath().isEmpty() ? ServerSettings::chosenPath({}) : QString();
}

QString Database::describe()
{
    const QString server = serverFile();
    if (server.isEmpty())
        return path();
    const ServerSettings settings = ServerSettings::read(server);
    return settings.ok() ? settings.describe() : server;
}

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
    if (const QString server = serverFile(); !server.isEmpty())
        return openServer(server);
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
    std::unique_ptr<SqliteConnection> connection =
        SqliteConnection::open(file, SqliteConnection::Mode::Existing, &status);
    if (status.ok())
        backUpBeforeUpgrade(*connection, file);
    if (status.ok())
        status = schema::prepare(*connection, schema::Engine::File);
    if (status.ok())
        status = connection->recordHistory();
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
    if (const QString problem = createOwnerOnly(path); !problem.isEmpty())
        return Status::failure(Status::Kind::Unreadable, problem);
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

Status Database::createOnServer(const QString &serverFile, const std::function<Status()> &fill)
{
    setServerFile(serverFile);
    Status status;
    std::unique_ptr<Connection> connection = connectToServer(serverFile, &status);
    if (!status.ok())
        return status;
    QStringList present;
    if (status = schema::postgres::presentNames(*connection, &present); !status.ok())
        return status;
    if (!present.isEmpty())
        return Status::failure(Status::Kind::Other,
                               QStringLiteral("the database already holds the program's tables: %1")
                                   .arg(present.join(QStringLiteral(", "))));
    if (status = schema::postgres::create(*connection); !status.ok())
        return status;
    openConnection() = std::move(connection);
    status = fill();
    if (!status.ok()) {
        // The schema was committed on its own; a database without its first user is of no
        // use, so it is taken away again.
        (void)schema::postgres::remove(Database::connection());
        close();
    }
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
