// kelvara-initdb: creates a new, empty Kelvara database with its first user, or a demo
// database to try the program with: a file, or the program's tables in an empty database on
// a PostgreSQL server. It never touches a file that already exists, nor a server database
// that already holds the program's tables.

#include "CommandLine.h"
#include "DemoData.h"
#include "Files.h"
#include "Prompt.h"
#include "UserNames.h"

#include "store/Database.h"
#include "store/Location.h"
#include "store/ServerSettings.h"
#include "store/Users.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

namespace {

void say(const QString &text)
{
    std::fputs(qPrintable(text + u'\n'), stdout);
    std::fflush(stdout);
}

void complain(const QString &text)
{
    std::fputs(qPrintable(text + u'\n'), stderr);
}

struct Request
{
    QString path;
    QString server; // a server file: the tables go to the database it names
    bool demo = false;
    QString user;
    QString password;
};

// The first user's name from the command line or asked; the password asked twice without
// echo, or read as one line from standard input. Never from the command line, where every
// local user could read it.
bool completeUser(Request &request, const QCommandLineParser &parser)
{
    if (request.demo)
        return true;
    if (!parser.isSet(QStringLiteral("user")))
        request.user =
            prompt::askLine(QStringLiteral("Nama pengguna: "), false).value_or(QString());
    if (const QString problem = cli::userNameProblem(request.user); !problem.isEmpty()) {
        complain(problem);
        return false;
    }
    QString problem;
    const std::optional<QString> password =
        prompt::newPassword(parser.isSet(QStringLiteral("password-stdin")), problem);
    if (!password) {
        complain(problem);
        return false;
    }
    request.password = *password;
    return true;
}

store::Status fillOpen(const Request &request)
{
    store::Status status;
    if (request.demo)
        status = fillDemo();
    if (status.ok() && !request.user.isEmpty())
        status = store::users::add(request.user, request.password);
    return status;
}

store::Status fill(const Request &request)
{
    store::Status status = store::Database::open();
    if (status.ok())
        status = fillOpen(request);
    store::Database::close();
    return status;
}

// A file, a folder or a link, even one that points nowhere, is never replaced.
bool placeIsFree(const QString &path)
{
    if (store::placeOf(path) == store::Place::Nothing)
        return true;
    complain(QStringLiteral("File sudah ada dan tidak diubah: %1").arg(path));
    return false;
}

void sayCreated(const Request &request, const QString &where)
{
    say(QStringLiteral("Database dibuat: %1").arg(where));
    if (request.demo)
        say(QStringLiteral("Data contoh terisi. Pengguna: admin, password: admin"));
}

int runOnServer(const Request &request)
{
    const store::Status status =
        store::Database::createOnServer(request.server, [&] { return fillOpen(request); });
    const QString where = store::Database::describe();
    store::Database::close();
    if (!status.ok()) {
        complain(QStringLiteral("Database tidak dapat dibuat di server: %1\n%2")
                     .arg(where, status.message()));
        return cli::Failed;
    }
    sayCreated(request, where);
    return cli::Done;
}

int run(const Request &request)
{
    if (!request.server.isEmpty())
        return runOnServer(request);
    store::Status status = store::Database::create(request.path);
    if (status.ok()) {
        store::Database::setPath(request.path);
        status = fill(request);
        // A half-filled new file is of no use to anyone: take it away again.
        if (!status.ok())
            QFile::remove(request.path);
    }
    if (!status.ok()) {
        complain(QStringLiteral("Database tidak dapat dibuat: %1\n%2")
                     .arg(request.path, status.message()));
        return cli::Failed;
    }
    sayCreated(request, request.path);
    return cli::Done;
}

} // namespace

int main(int argc, char *argv[])
{
    cli::quietQt();
    QCoreApplication app(argc, argv);
    cli::start(QStringLiteral("kelvara-initdb"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Membuat database Kelvara baru. Tanpa PATH: %1").arg(store::databasePath()));
    parser.addOption({QStringLiteral("demo"),
                      QStringLiteral("Isi dengan data contoh dan pengguna admin / admin.")});
    parser.addOption(
        {QStringLiteral("user"), QStringLiteral("Nama pengguna pertama."), QStringLiteral("NAMA")});
    parser.addOption({QStringLiteral("password-stdin"),
                      QStringLiteral("Baca password pengguna pertama sebagai satu baris dari "
                                     "masukan standar (untuk skrip).")});
    parser.addOption({QStringLiteral("server"),
                      QStringLiteral("Buat tabel program di database kosong di server PostgreSQL "
                                     "yang disebut file pengaturan ini (bawaan bila ada: %1).")
                          .arg(store::ServerSettings::defaultPath()),
                      QStringLiteral("FILE")});
    parser.addPositionalArgument(QStringLiteral("PATH"), QStringLiteral("File database baru."),
                                 QStringLiteral("[PATH]"));
    cli::parse(parser);

    const QStringList paths = parser.positionalArguments();
    if (paths.size() > 1)
        return cli::usageError(QStringLiteral("Hanya satu PATH yang boleh diberikan."));
    Request request;
    request.server = parser.value(QStringLiteral("server"));
    if (!request.server.isEmpty() && !paths.isEmpty())
        return cli::usageError(QStringLiteral("PATH dan --server tidak dapat dipakai bersama."));
    if (request.server.isEmpty() && paths.isEmpty())
        request.server = store::ServerSettings::chosenPath({});
    request.path = paths.isEmpty() ? store::databasePath() : paths.first();
    request.demo = parser.isSet(QStringLiteral("demo"));
    request.user = parser.value(QStringLiteral("user"));
    if (request.demo && parser.isSet(QStringLiteral("user")))
        return cli::usageError(QStringLiteral("--user tidak berlaku bersama --demo: data contoh "
                                              "membawa penggunanya sendiri (admin)."));
    if (request.server.isEmpty() && !placeIsFree(request.path))
        return cli::Failed;
    if (const QString problem =
            request.server.isEmpty() ? cli::fileProblem(request.path) : QString();
        !problem.isEmpty())
        return cli::failure(problem);
    if (!completeUser(request, parser))
        return cli::Failed;
    return run(request);
}
