// kelvara-backup: copies of a Kelvara database file in the folder Cadangan beside it, and
// putting one back. On a server the backups are the server's: the tool says so and how.

#include "CommandLine.h"
#include "Files.h"

#include "store/Backup.h"
#include "store/Database.h"
#include "store/Location.h"
#include "store/ServerSettings.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QLocale>

#include <cstdio>

namespace {

void say(const QString &text)
{
    std::fputs(qPrintable(text + u'\n'), stdout);
    std::fflush(stdout);
}

// A failure's reason: the store's own text for a file that cannot be made or renamed, the
// explanation and the engine's text otherwise.
QString reason(const store::Status &status)
{
    return status.kind() == store::Status::Kind::Other ? status.engineText() : status.message();
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// A word as a POSIX shell reads it literally.
QString quoted(QString word)
{
    return u'\'' + word.replace(u'\'', QStringLiteral("'\\''")) + u'\'';
}

// The command that backs up the server's database with PostgreSQL's own tool, as this desk
// reaches it; the password comes from the client's password file, as for the desks.
QString dumpCommand(const store::ServerSettings &server)
{
    QStringList words{QStringLiteral("pg_dump")};
    if (!server.host().isEmpty())
        words << QStringLiteral("--host=") + quoted(server.host());
    words << QStringLiteral("--port=%1").arg(server.port());
    if (!server.user().isEmpty())
        words << QStringLiteral("--username=") + quoted(server.user());
    words << QStringLiteral("--format=custom")
          << QStringLiteral("--file='kelvara-%1.dump'")
                 .arg(QDate::currentDate().toString(Qt::ISODate))
          << quoted(server.database());
    return words.join(u' ');
}

int onServer()
{
    const store::ServerSettings server = store::ServerSettings::read(store::Database::serverFile());
    if (!server.ok())
        return cli::failure(server.error());
    std::fputs(
        qPrintable(QStringLiteral("Database ada di server %1: cadangannya dibuat di server, bukan "
                                  "oleh kelvara-backup. Jalankan perintah ini di komputer yang "
                                  "dapat menghubungi server (atau di server itu sendiri):\n")
                       .arg(server.describe())),
        stderr);
    say(dumpCommand(server));
    return cli::Failed;
}

// The database file must be there and be a file the tool may read.
QString missingDatabase()
{
    if (const QString problem = cli::databaseProblem(); !problem.isEmpty())
        return problem;
    if (store::placeOf(store::Database::path()) == store::Place::Nothing)
        return QStringLiteral("Database tidak ada: %1").arg(shown(store::Database::path()));
    return {};
}

int now(const QString &to)
{
    if (const QString problem = missingDatabase(); !problem.isEmpty())
        return cli::failure(problem);
    const QString database = store::Database::path();
    const QString target =
        to.isEmpty() ? store::backup::nextPath(database, QDateTime::currentDateTime()) : to;
    if (const QString problem = cli::fileProblem(target); !problem.isEmpty())
        return cli::failure(problem);
    if (const store::Status status = store::backup::take(database, target); !status.ok())
        return cli::failure(
            QStringLiteral("Cadangan tidak dibuat: %1\n%2").arg(shown(target), reason(status)));
    if (to.isEmpty())
        store::backup::thin(database);
    say(QStringLiteral("Cadangan dibuat: %1").arg(shown(target)));
    return cli::Done;
}

int list()
{
    const QLocale indonesian(QLocale::Indonesian, QLocale::Indonesia);
    for (const store::backup::Copy &copy : store::backup::list(store::Database::path())) {
        qint64 leave = 0;
        const store::Status status = store::backup::check(copy.path, &leave);
        const QString records = status.ok() ? QStringLiteral("%1 catatan cuti").arg(leave)
                                            : QStringLiteral("RUSAK: %1").arg(reason(status));
        say(QStringLiteral("%1\t%2\t%3\t%4")
                .arg(copy.date.toString(Qt::ISODate), indonesian.formattedDataSize(copy.size),
                     records, shown(copy.path)));
    }
    return cli::Done;
}

int restore(const QString &copy)
{
    if (const QString problem = cli::fileProblem(copy); !problem.isEmpty())
        return cli::failure(problem);
    if (const QString problem = cli::databaseProblem(); !problem.isEmpty())
        return cli::failure(problem);
    const QString database = store::Database::path();
    QString kept;
    if (const store::Status status = store::backup::restore(copy, database, &kept); !status.ok())
        return cli::failure(QStringLiteral("Database tidak dipulihkan dari %1; database tidak "
                                           "diubah.\n%2")
                                .arg(shown(copy), reason(status)));
    say(QStringLiteral("Database %1 dipulihkan dari %2.").arg(shown(database), shown(copy)));
    if (!kept.isEmpty())
        say(QStringLiteral("Database yang diganti disimpan sebagai: %1").arg(shown(kept)));
    return cli::Done;
}

// The verb and its file; the reason when the command line does not make one.
QString readCommand(const QStringList &arguments, const QCommandLineParser &parser)
{
    if (arguments.isEmpty())
        return QStringLiteral("Perintah belum disebut.");
    const QString &verb = arguments.first();
    if (verb != u"now" && verb != u"list" && verb != u"restore")
        return QStringLiteral("Perintah tidak dikenal: %1").arg(verb);
    const qsizetype wanted = verb == u"restore" ? 2 : 1;
    if (arguments.size() != wanted)
        return wanted == 2 ? QStringLiteral("Perintah restore memerlukan satu FILE cadangan.")
                           : QStringLiteral("Perintah %1 tidak memerlukan argumen lain.").arg(verb);
    if (parser.isSet(QStringLiteral("to")) && verb != u"now")
        return QStringLiteral("--to hanya untuk perintah now.");
    if (parser.isSet(QStringLiteral("to")) && parser.value(QStringLiteral("to")).isEmpty())
        return QStringLiteral("--to memerlukan nama file.");
    return {};
}

} // namespace

int main(int argc, char *argv[])
{
    cli::quietQt();
    QCoreApplication app(argc, argv);
    cli::start(QStringLiteral("kelvara-backup"));
    cli::keepFilesPrivate();

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Membuat dan memulihkan cadangan database Kelvara.\n\n"
                       "Perintah:\n"
                       "  now            buat cadangan sekarang di folder Cadangan\n"
                       "  list           daftar cadangan: tanggal, ukuran, jumlah catatan cuti\n"
                       "  restore FILE   pulihkan database dari cadangan FILE"));
    cli::addDatabaseOptions(parser);
    parser.addOption({QStringLiteral("to"),
                      QStringLiteral("Tulis cadangan ke FILE baru ini (perintah now)."),
                      QStringLiteral("FILE")});
    parser.addPositionalArgument(QStringLiteral("PERINTAH"),
                                 QStringLiteral("now, list atau restore."),
                                 QStringLiteral("PERINTAH [FILE]"));
    cli::parse(parser);

    const QStringList arguments = parser.positionalArguments();
    if (const QString problem = readCommand(arguments, parser); !problem.isEmpty())
        return cli::usageError(problem);
    if (const QString problem = cli::chooseDatabase(parser); !problem.isEmpty())
        return cli::usageError(problem);
    if (store::Database::onServer())
        return onServer();
    const QString &verb = arguments.first();
    if (verb == u"now")
        return now(parser.value(QStringLiteral("to")));
    if (verb == u"list")
        return list();
    return restore(arguments.at(1));
}
