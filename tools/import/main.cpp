// kelvara-import: moves the data of a company's Access database into a new database of the
// program.
#include "CommandLine.h"
#include "Files.h"
#include "ImportReport.h"
#include "Importer.h"
#include "MdbSource.h"

#include "store/Location.h"
#include "store/ServerSettings.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdlib>

namespace {

// Rows between two progress lines; a smaller source shows none.
constexpr qint64 ProgressEvery = 10000;

struct Arguments
{
    QString source;
    QString database;
    QString server; // a server file: the data goes to the empty database it names
    bool skipBad = false;
};

// Reads the command line; ends the tool when it cannot be read.
Arguments parse()
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Memindahkan data dari database Access (.mdb) ke database baru Kelvara."));
    parser.addPositionalArgument(QStringLiteral("SUMBER.mdb"),
                                 QStringLiteral("Database Access yang dipindahkan."));
    const QCommandLineOption db(
        QStringLiteral("db"),
        QStringLiteral("Letak database baru (bawaan: %1).").arg(store::databasePath()),
        QStringLiteral("FILE"));
    const QCommandLineOption skipBad(
        QStringLiteral("skip-bad"),
        QStringLiteral("Tetap memindahkan baris yang benar; baris yang ditolak dicatat di file "
                       "CSV di samping database baru."));
    const QCommandLineOption server(
        QStringLiteral("server"),
        QStringLiteral("File pengaturan server PostgreSQL yang menyebut database kosong tujuan "
                       "(bawaan bila ada: %1).")
            .arg(store::ServerSettings::defaultPath()),
        QStringLiteral("FILE"));
    parser.addOption(db);
    parser.addOption(server);
    parser.addOption(skipBad);
    cli::parse(parser);

    const QStringList sources = parser.positionalArguments();
    if (sources.isEmpty())
        std::exit(cli::usageError(QStringLiteral("File sumber belum disebut.")));
    if (sources.size() > 1)
        std::exit(cli::usageError(QStringLiteral("Hanya satu file sumber: %1").arg(sources[1])));
    Arguments parsed;
    parsed.source = sources.first();
    if (parser.isSet(db) && parser.isSet(server))
        std::exit(
            cli::usageError(QStringLiteral("--db dan --server tidak dapat dipakai bersama.")));
    if (parsed.source.isEmpty() || (parser.isSet(db) && parser.value(db).isEmpty()))
        std::exit(cli::usageError(QStringLiteral("Nama file sumber atau --db kosong.")));
    parsed.database = parser.isSet(db) ? parser.value(db) : store::databasePath();
    parsed.server = parser.isSet(server) || parser.isSet(db)
                        ? parser.value(server)
                        : store::ServerSettings::chosenPath({});
    parsed.skipBad = parser.isSet(skipBad);
    return parsed;
}

void printOutcome(const accessimport::Outcome &outcome, QTextStream &out, QTextStream &err)
{
    for (const accessimport::Tally &tally : outcome.tallies)
        out << accessimport::describe(tally, outcome.written) << '\n';
    if (!outcome.ignoredColumns.isEmpty())
        out << "Kolom sumber yang tidak dipindahkan: "
            << outcome.ignoredColumns.join(QStringLiteral(", ")) << '\n';
    out.flush();
    for (const accessimport::Refusal &refusal : outcome.refusals)
        err << "Ditolak: " << accessimport::describe(refusal) << '\n';
}

// What happens to the refused rows after the rows were judged; the exit code.
int finish(const accessimport::Outcome &outcome, const QString &database, QTextStream &out,
           QTextStream &err)
{
    const qsizetype refused = outcome.refusals.size();
    if (!outcome.written) {
        err << "Tidak ada yang ditulis: " << refused
            << " baris melanggar aturan database. Perbaiki baris itu di sumber, atau jalankan "
               "lagi dengan --skip-bad untuk memindahkan baris lainnya.\n";
        return 1;
    }
    if (refused > 0) {
        const QString csv = accessimport::refusalsPath(database);
        QString error;
        if (!accessimport::writeRefusals(csv, outcome.refusals, error)) {
            err << "Daftar baris yang ditolak tidak dapat ditulis ke " << csv << ": " << error
                << '\n';
            return 1;
        }
        out << refused << " baris ditolak; daftarnya ada di: " << csv << '\n';
    }
    out << "Selesai. Database baru: " << database << '\n';
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    cli::quietQt();
    QCoreApplication app(argc, argv);
    cli::start(QStringLiteral("kelvara-import"));
    const Arguments args = parse();
    QTextStream out(stdout);
    QTextStream err(stderr);

    for (const QString &path : {args.server.isEmpty() ? args.database : QString(), args.source}) {
        if (const QString problem = path.isEmpty() ? QString() : cli::fileProblem(path);
            !problem.isEmpty())
            return cli::failure(problem);
    }
    QString error;
    const std::unique_ptr<accessimport::Source> source =
        accessimport::openAccess(args.source, error);
    if (!source) {
        err << error << '\n';
        return 1;
    }
    accessimport::Importer importer(*source);
    importer.setSkipBad(args.skipBad);
    importer.setProgress(ProgressEvery, [&err](const QString &table, qint64 done, qint64 total) {
        if (total <= ProgressEvery)
            return;
        err << "  " << done << " dari " << total << " baris dibaca (" << table << ")...\n";
        err.flush();
    });
    // On a server the refused rows are listed beside the server file.
    const QString shown = args.server.isEmpty() ? args.database : args.server;
    out << "Sumber: " << args.source << "\nDatabase baru: " << shown << '\n';
    out.flush();

    const accessimport::Outcome outcome =
        args.server.isEmpty() ? importer.run(args.database) : importer.runOnServer(args.server);
    printOutcome(outcome, out, err);
    if (!outcome.error.isEmpty()) {
        err << outcome.error << '\n';
        return 1;
    }
    return finish(outcome, shown, out, err);
}
