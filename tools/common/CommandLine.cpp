#include "CommandLine.h"
#include "Files.h"

#include "language/Language.h"
#include "store/Database.h"
#include "store/Location.h"
#include "store/ServerSettings.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

namespace cli {

namespace {

void dropQtMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fputs(qPrintable(message + u'\n'), stderr);
}

void printError(const QString &text)
{
    std::fputs(
        qPrintable(QCoreApplication::applicationName() + QStringLiteral(": ") + text + u'\n'),
        stderr);
}

// Qt reads the command line as UTF-8 and puts U+FFFD for each byte that is none: such a name
// would be used as another one (two different user names as one, a file under another name).
QString notUtf8(const QStringList &arguments)
{
    for (const QString &argument : arguments) {
        if (argument.contains(QChar::ReplacementCharacter))
            return QStringLiteral("Argumen bukan teks UTF-8 yang sah dan tidak dipakai: %1")
                .arg(argument);
    }
    return {};
}

} // namespace

void quietQt()
{
    qInstallMessageHandler(dropQtMessages);
}

void start(const QString &name)
{
    QCoreApplication::setApplicationName(name);
    QCoreApplication::setApplicationVersion(QStringLiteral(KELVARA_VERSION));
    language::useIndonesian();
}

void parse(QCommandLineParser &parser)
{
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QStringList arguments = QCoreApplication::arguments();
    if (!parser.parse(arguments))
        std::exit(usageError(parser.errorText()));
    if (const QString garbled = notUtf8(arguments); !garbled.isEmpty())
        std::exit(usageError(garbled));
    // Qt's own handling prints the help (with or without Qt's options) or the version on
    // standard output and ends with 0.
    if (parser.isSet(help) || parser.isSet(version) || parser.isSet(QStringLiteral("help-all")))
        parser.process(arguments);
}

int usageError(const QString &text)
{
    printError(text);
    std::fputs(
        qPrintable(QStringLiteral("Lihat: %1 --help\n").arg(QCoreApplication::applicationName())),
        stderr);
    return UsageError;
}

int failure(const QString &text)
{
    printError(text);
    return Failed;
}

void addDatabaseOptions(QCommandLineParser &parser)
{
    parser.addOption({QStringLiteral("db"),
                      QStringLiteral("File database (bawaan: %1).").arg(store::databasePath()),
                      QStringLiteral("PATH")});
    parser.addOption({QStringLiteral("server"),
                      QStringLiteral("File pengaturan server PostgreSQL (bawaan bila ada: %1).")
                          .arg(store::ServerSettings::defaultPath()),
                      QStringLiteral("FILE")});
}

QString chooseDatabase(const QCommandLineParser &parser)
{
    const bool file = parser.isSet(QStringLiteral("db"));
    const bool server = parser.isSet(QStringLiteral("server"));
    if (file && server)
        return QStringLiteral("--db dan --server tidak dapat dipakai bersama.");
    if (file && parser.value(QStringLiteral("db")).isEmpty())
        return QStringLiteral("--db memerlukan nama file database.");
    if (file)
        store::Database::setPath(parser.value(QStringLiteral("db")));
    if (server)
        store::Database::setServerFile(parser.value(QStringLiteral("server")));
    return {};
}

QString databaseProblem()
{
    return store::Database::onServer() ? QString() : fileProblem(store::Database::path());
}

} // namespace cli
