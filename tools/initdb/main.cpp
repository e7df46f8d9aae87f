// kelvara-initdb: creates a new, empty Kelvara database with its first user, or a demo
// database to try the program with. It never touches a file that already exists.

#include "CommandLine.h"
#include "DemoData.h"

#include "store/Database.h"
#include "store/Location.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>
#include <iostream>
#include <string>

#ifdef Q_OS_UNIX
#include <termios.h>
#include <unistd.h>
#endif

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

// Reads one line from the terminal; with hidden set, what is typed is not echoed.
QString ask(const QString &prompt, bool hidden)
{
    std::fputs(qPrintable(prompt), stdout);
    std::fflush(stdout);
#ifdef Q_OS_UNIX
    termios saved{};
    const bool quiet = hidden && isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &saved) == 0;
    if (quiet) {
        termios silent = saved;
        silent.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
    }
#else
    Q_UNUSED(hidden);
    const bool quiet = false;
#endif
    std::string line;
    std::getline(std::cin, line);
#ifdef Q_OS_UNIX
    if (quiet) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fputs("\n", stdout);
    }
#endif
    return QString::fromStdString(line);
}

struct Request
{
    QString path;
    bool demo = false;
    QString user;
    QString password;
};

// The first user's name and password: from the command line, else asked on the terminal.
bool completeUser(Request &request, const QCommandLineParser &parser)
{
    if (request.demo && !parser.isSet(QStringLiteral("user")))
        return true;
    if (!parser.isSet(QStringLiteral("user")))
        request.user = ask(QStringLiteral("Nama pengguna: "), false);
    if (request.user.trimmed().isEmpty()) {
        complain(QStringLiteral("Nama pengguna tidak boleh kosong."));
        return false;
    }
    if (!parser.isSet(QStringLiteral("password")))
        request.password = ask(QStringLiteral("Password: "), true);
    return true;
}

store::Status fill(const Request &request)
{
    store::Status status = store::Database::open();
    if (status.ok() && request.demo)
        status = fillDemo();
    if (status.ok() && !request.user.isEmpty())
        status = store::Database::addUser(request.user, request.password);
    store::Database::close();
    return status;
}

int run(const Request &request)
{
    if (QFileInfo::exists(request.path)) {
        complain(QStringLiteral("File sudah ada dan tidak diubah: %1").arg(request.path));
        return cli::Failed;
    }
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
    say(QStringLiteral("Database dibuat: %1").arg(request.path));
    if (request.demo)
        say(QStringLiteral("Data contoh terisi. Pengguna: admin, password: admin"));
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
    parser.addOption({QStringLiteral("password"), QStringLiteral("Password pengguna pertama."),
                      QStringLiteral("PASSWORD")});
    parser.addPositionalArgument(QStringLiteral("PATH"), QStringLiteral("File database baru."),
                                 QStringLiteral("[PATH]"));
    cli::parse(parser);

    const QStringList paths = parser.positionalArguments();
    if (paths.size() > 1)
        return cli::usageError(QStringLiteral("Hanya satu PATH yang boleh diberikan."));
    Request request;
    request.path = paths.isEmpty() ? store::databasePath() : paths.first();
    request.demo = parser.isSet(QStringLiteral("demo"));
    request.user = parser.value(QStringLiteral("user"));
    request.password = parser.value(QStringLiteral("password"));
    if (!completeUser(request, parser))
        return cli::Failed;
    return run(request);
}
