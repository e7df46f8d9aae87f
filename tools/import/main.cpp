// kelvara-import: moves the data of a company's Access database into a new database of the
// program.
#include "Importer.h"
#include "MdbSource.h"
#include "Report.h"

#include "store/Location.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

// Rows between two progress lines; a smaller source shows none.
constexpr qint64 ProgressEvery = 10000;

struct Arguments
{
    QString source;
    QString database;
    bool skipBad = false;
    bool help = false;
};

QString usage()
{
    return QStringLiteral("Pemakaian: kelvara-import SUMBER.mdb [--db FILE] [--skip-bad]\n"
                          "\n"
                          "Memindahkan data dari database Access (.mdb) ke database baru Kelvara.\n"
                          "  --db FILE    letak database baru (bawaan: %1)\n"
                          "  --skip-bad   tetap memindahkan baris yang benar; baris yang ditolak\n"
                          "               dicatat di file CSV di samping database baru\n")
        .arg(store::databasePath());
}

// Returns the reason when the command line cannot be read.
QString parse(const QStringList &args, Arguments &parsed)
{
    for (int i = 1; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h"))
            parsed.help = true;
        else if (arg == QLatin1String("--skip-bad"))
            parsed.skipBad = true;
        else if (arg == QLatin1String("--db") && i + 1 < args.size())
            parsed.database = args[++i];
        else if (arg.startsWith(QLatin1String("--db=")))
            parsed.database = arg.mid(5);
        else if (arg.startsWith(QLatin1Char('-')))
            return QStringLiteral("Pilihan tidak dikenal: %1").arg(arg);
        else if (parsed.source.isEmpty())
            parsed.source = arg;
        else
            return QStringLiteral("Hanya satu file sumber: %1").arg(arg);
    }
    if (parsed.source.isEmpty() && !parsed.help)
        return QStringLiteral("File sumber belum disebut.");
    if (parsed.database.isEmpty())
        parsed.database = store::databasePath();
    return {};
}

void printOutcome(const migration::Outcome &outcome, QTextStream &out, QTextStream &err)
{
    for (const migration::Tally &tally : outcome.tallies)
        out << migration::describe(tally, outcome.written) << '\n';
    if (!outcome.ignoredColumns.isEmpty())
        out << "Kolom sumber yang tidak dipindahkan: "
            << outcome.ignoredColumns.join(QStringLiteral(", ")) << '\n';
    out.flush();
    for (const migration::Refusal &refusal : outcome.refusals)
        err << "Ditolak: " << migration::describe(refusal) << '\n';
}

// What happens to the refused rows after the rows were judged; the exit code.
int finish(const migration::Outcome &outcome, const QString &database, QTextStream &out,
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
        const QString csv = migration::refusalsPath(database);
        QString error;
        if (!migration::writeRefusals(csv, outcome.refusals, error)) {
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
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    Arguments args;
    const QString problem = parse(QCoreApplication::arguments(), args);
    if (!problem.isEmpty() || args.help) {
        (problem.isEmpty() ? out : err)
            << (problem.isEmpty() ? QString() : problem + "\n\n") << usage();
        return problem.isEmpty() ? 0 : 2;
    }

    QString error;
    const std::unique_ptr<migration::Source> source = migration::openAccess(args.source, error);
    if (!source) {
        err << error << '\n';
        return 1;
    }
    migration::Importer importer(*source);
    importer.setSkipBad(args.skipBad);
    importer.setProgress(ProgressEvery, [&err](const QString &table, qint64 done, qint64 total) {
        if (total <= ProgressEvery)
            return;
        err << "  " << done << " dari " << total << " baris dibaca (" << table << ")...\n";
        err.flush();
    });
    out << "Sumber: " << args.source << "\nDatabase baru: " << args.database << '\n';
    out.flush();

    const migration::Outcome outcome = importer.run(args.database);
    printOutcome(outcome, out, err);
    if (!outcome.error.isEmpty()) {
        err << outcome.error << '\n';
        return 1;
    }
    return finish(outcome, args.database, out, err);
}
