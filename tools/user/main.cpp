// kelvara-user: the users who may sign in to a Kelvara database. Passwords are asked on the
// terminal or read from standard input, never taken from the command line, and are stored as
// hashes.

#include "CommandLine.h"
#include "Prompt.h"
#include "UserNames.h"

#include "store/Database.h"
#include "store/Location.h"
#include "store/Passwords.h"
#include "store/Users.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {

using store::users::User;

void say(const QString &text)
{
    std::fputs(qPrintable(text + u'\n'), stdout);
    std::fflush(stdout);
}

int complain(const QString &text, int code)
{
    std::fputs(qPrintable(text + u'\n'), stderr);
    return code;
}

int failed(const QString &what, const store::Status &status)
{
    return complain(what + u'\n' + status.message(), cli::Failed);
}

struct Command
{
    QString verb;
    QString name;
    bool passwordFromStdin = false;
};

int list()
{
    QList<User> users;
    if (const store::Status status = store::users::readAll(users); !status.ok())
        return failed(QStringLiteral("Daftar pengguna tidak dapat dibaca."), status);
    for (const User &user : users) {
        const QString stored = user.password.toString();
        const QString name = cli::printable(user.name);
        if (user.password.isNull())
            say(name + QStringLiteral("\t(tanpa password: tidak dapat masuk)"));
        else if (!store::passwords::isHash(stored))
            say(name + QStringLiteral("\t(password belum di-hash: jalankan rehash)"));
        else
            say(name);
    }
    return cli::Done;
}

// The user of that name, letter case aside; null after saying that there is none.
std::optional<User> existing(const QString &name, QList<User> &users)
{
    if (const store::Status status = store::users::readAll(users); !status.ok()) {
        failed(QStringLiteral("Daftar pengguna tidak dapat dibaca."), status);
        return std::nullopt;
    }
    const qsizetype at = store::users::find(users, name);
    if (at < 0) {
        complain(QStringLiteral("Pengguna tidak ada: %1").arg(cli::printable(name)), cli::Failed);
        return std::nullopt;
    }
    return users[at];
}

std::optional<QString> askPassword(const Command &command)
{
    QString problem;
    std::optional<QString> password = prompt::newPassword(command.passwordFromStdin, problem);
    if (!password)
        complain(problem, cli::Failed);
    return password;
}

int add(const Command &command)
{
    if (const QString problem = cli::userNameProblem(command.name); !problem.isEmpty())
        return complain(problem, cli::Failed);
    QList<User> users;
    if (const store::Status status = store::users::readAll(users); !status.ok())
        return failed(QStringLiteral("Daftar pengguna tidak dapat dibaca."), status);
    const QString key = cli::userNameKey(command.name);
    for (const User &user : users) {
        if (cli::userNameKey(user.name) == key)
            return complain(QStringLiteral("Pengguna sudah ada: %1").arg(cli::printable(user.name)),
                            cli::Failed);
    }
    const std::optional<QString> password = askPassword(command);
    if (!password)
        return cli::Failed;
    if (const store::Status status = store::users::add(command.name, *password); !status.ok())
        return failed(QStringLiteral("Pengguna tidak dapat ditambahkan."), status);
    say(QStringLiteral("Pengguna %1 ditambahkan.").arg(command.name));
    return cli::Done;
}

int changePassword(const Command &command)
{
    QList<User> users;
    const std::optional<User> user = existing(command.name, users);
    if (!user)
        return cli::Failed;
    const std::optional<QString> password = askPassword(command);
    if (!password)
        return cli::Failed;
    if (const store::Status status = store::users::setPassword(user->id, *password); !status.ok())
        return failed(QStringLiteral("Password tidak dapat diganti."), status);
    say(QStringLiteral("Password pengguna %1 diganti.").arg(cli::printable(user->name)));
    return cli::Done;
}

// Whether a user other than this one has a password to sign in with. The last user is the
// store's to keep (it says so); here only others who all lack a password count.
bool othersCanSignIn(const QList<User> &users, const User &leaving)
{
    bool others = false;
    for (const User &user : users) {
        if (user.id == leaving.id)
            continue;
        if (!user.password.isNull())
            return true;
        others = true;
    }
    return !others;
}

int remove(const Command &command)
{
    QList<User> users;
    const std::optional<User> user = existing(command.name, users);
    if (!user)
        return cli::Failed;
    if (!othersCanSignIn(users, *user))
        return complain(QStringLiteral("Pengguna %1 tidak dihapus: pengguna lain tidak punya "
                                       "password, sehingga tidak ada yang dapat masuk lagi.")
                            .arg(cli::printable(user->name)),
                        cli::Failed);
    bool last = false;
    if (const store::Status status = store::users::remove(user->id, last); !status.ok())
        return failed(QStringLiteral("Pengguna tidak dapat dihapus."), status);
    if (last)
        return complain(QStringLiteral("Pengguna terakhir tidak dapat dihapus: %1. Tanpa "
                                       "pengguna tidak ada yang dapat masuk.")
                            .arg(cli::printable(user->name)),
                        cli::Failed);
    say(QStringLiteral("Pengguna %1 dihapus.").arg(cli::printable(user->name)));
    return cli::Done;
}

int rehash()
{
    int changed = 0;
    if (const store::Status status = store::users::rehash(changed); !status.ok())
        return failed(QStringLiteral("Password tidak dapat di-hash; tidak ada yang diubah."),
                      status);
    say(QStringLiteral("%1 password di-hash.").arg(changed));
    return cli::Done;
}

int run(const Command &command)
{
    if (command.verb == u"list")
        return list();
    if (command.verb == u"add")
        return add(command);
    if (command.verb == u"password")
        return changePassword(command);
    if (command.verb == u"remove")
        return remove(command);
    return rehash();
}

// The verb and its name; the reason when the command line does not make one.
QString readCommand(const QStringList &arguments, Command &command)
{
    const QStringList named{QStringLiteral("add"), QStringLiteral("password"),
                            QStringLiteral("remove")};
    const QStringList bare{QStringLiteral("list"), QStringLiteral("rehash")};
    if (arguments.isEmpty())
        return QStringLiteral("Perintah belum disebut.");
    command.verb = arguments.first();
    const qsizetype wanted = named.contains(command.verb) ? 2 : bare.contains(command.verb) ? 1 : 0;
    if (wanted == 0)
        return QStringLiteral("Perintah tidak dikenal: %1").arg(command.verb);
    if (arguments.size() != wanted)
        return wanted == 2 ? QStringLiteral("Perintah %1 memerlukan satu NAMA.").arg(command.verb)
                           : QStringLiteral("Perintah %1 tidak memerlukan NAMA.").arg(command.verb);
    command.name = arguments.value(1);
    return {};
}

} // namespace

int main(int argc, char *argv[])
{
    cli::quietQt();
    QCoreApplication app(argc, argv);
    cli::start(QStringLiteral("kelvara-user"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Mengatur pengguna database Kelvara.\n\n"
                       "Perintah:\n"
                       "  list            daftar pengguna\n"
                       "  add NAMA        tambah pengguna (password ditanya dua kali)\n"
                       "  password NAMA   ganti password pengguna\n"
                       "  remove NAMA     hapus pengguna (pengguna terakhir tidak dapat dihapus)\n"
                       "  rehash          ganti setiap password teks biasa dengan hash-nya"));
    cli::addDatabaseOptions(parser);
    parser.addOption({QStringLiteral("password-stdin"),
                      QStringLiteral("Baca password sebagai satu baris dari masukan standar "
                                     "(untuk skrip).")});
    parser.addPositionalArgument(QStringLiteral("PERINTAH"),
                                 QStringLiteral("list, add, password, "
                                                "remove atau rehash."),
                                 QStringLiteral("PERINTAH [NAMA]"));
    cli::parse(parser);

    Command command;
    if (const QString problem = readCommand(parser.positionalArguments(), command);
        !problem.isEmpty())
        return cli::usageError(problem);
    command.passwordFromStdin = parser.isSet(QStringLiteral("password-stdin"));

    if (const QString problem = cli::chooseDatabase(parser); !problem.isEmpty())
        return cli::usageError(problem);
    if (const QString problem = cli::databaseProblem(); !problem.isEmpty())
        return cli::failure(problem);
    if (const store::Status status = store::Database::open(); !status.ok())
        return failed(
            QStringLiteral("Database tidak dapat dibuka: %1").arg(store::Database::describe()),
            status);
    const int code = run(command);
    store::Database::close();
    return code;
}
