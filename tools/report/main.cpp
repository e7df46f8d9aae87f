// kelvara-report REPORT [--db PATH | --server FILE] --pdf FILE: writes one report to a PDF file
// with the pages the preview window shows, without a display.

#include "CommandLine.h"
#include "Files.h"
#include "platform/FontSubstitutes.h"
#include "platform/reportengine/Layout.h"
#include "platform/reportengine/PagePainter.h"
#include "reports/ReportLayouts.h"
#include "store/Database.h"
#include "store/Location.h"

#include <QCommandLineParser>
#include <QFile>
#include <QGuiApplication>

namespace {

// The output may replace an earlier PDF; never the database it reads, nor any other file.
QString refusal(const QString &output)
{
    if (store::Database::isDatabaseFile(output))
        return QStringLiteral("%1 adalah database yang dibaca; PDF tidak ditulis di atasnya.")
            .arg(output);
    QFile existing(output);
    if (existing.exists() && !(existing.open(QIODevice::ReadOnly) && existing.read(5) == "%PDF-"))
        return QStringLiteral("%1 sudah ada dan bukan file PDF; file itu tidak ditimpa.")
            .arg(output);
    return {};
}

} // namespace

int main(int argc, char *argv[])
{
#ifndef Q_OS_WIN
    // A terminal or a server may have no display: the report is drawn off screen. Windows
    // always has its desktop, and its own platform draws with the fonts the program uses.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    cli::quietQt();
    QGuiApplication app(argc, argv);
    cli::start(QStringLiteral("kelvara-report"));
    cli::keepFilesPrivate();
    platform::installFontSubstitutes();

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Menulis satu laporan Kelvara ke file PDF. Laporan: %1.")
            .arg(reports::reportNames().join(QStringLiteral(", "))));
    parser.addPositionalArgument(QStringLiteral("LAPORAN"), QStringLiteral("Nama laporan."));
    cli::addDatabaseOptions(parser);
    const QCommandLineOption pdf(QStringLiteral("pdf"), QStringLiteral("File PDF yang ditulis."),
                                 QStringLiteral("FILE"));
    parser.addOption(pdf);
    cli::parse(parser);

    const QStringList names = parser.positionalArguments();
    if (names.size() != 1 || !parser.isSet(pdf))
        return cli::usageError(QStringLiteral(
            "Pemakaian: kelvara-report LAPORAN [--db PATH | --server FILE] --pdf FILE"));
    const auto definition = reports::reportNamed(names.first());
    if (!definition)
        return cli::usageError(
            QStringLiteral("Laporan \"%1\" tidak dikenal. Laporan: %2.")
                .arg(names.first(), reports::reportNames().join(QStringLiteral(", "))));

    if (const QString problem = cli::chooseDatabase(parser); !problem.isEmpty())
        return cli::usageError(problem);
    if (const QString problem = cli::databaseProblem(); !problem.isEmpty())
        return cli::failure(problem);
    if (const QString problem = cli::fileProblem(parser.value(pdf)); !problem.isEmpty())
        return cli::failure(problem);
    if (const QString refused = refusal(parser.value(pdf)); !refused.isEmpty())
        return cli::failure(refused);
    const store::Status opened = store::Database::open();
    if (!opened.ok())
        return cli::failure(QStringLiteral("Database %1 tidak dapat dibuka: %2")
                                .arg(store::Database::describe(), opened.message()));

    platform::reportengine::Document document;
    const store::Status laidOut = platform::reportengine::layOut(
        *definition, platform::reportengine::defaultPageSize(), &document);
    if (!laidOut.ok())
        return cli::failure(laidOut.message());
    QString error;
    if (!platform::reportengine::writePdf(document, parser.value(pdf), &error))
        return cli::failure(error);
    return cli::Done;
}
