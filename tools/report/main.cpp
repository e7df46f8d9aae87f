// kelvara-report REPORT [--db PATH | --server FILE] [--pdf FILE] [--xlsx FILE] [--csv FILE]:
// writes one report to a PDF file with the pages the preview window shows, and its rows to an
// Excel workbook or a CSV file, without a display.

#include "CommandLine.h"
#include "Files.h"
#include "platform/FontSubstitutes.h"
#include "platform/reportengine/Layout.h"
#include "platform/reportengine/PagePainter.h"
#include "platform/reportengine/Spreadsheet.h"
#include "reports/ReportLayouts.h"
#include "store/Database.h"
#include "store/History.h"
#include "store/Location.h"
#include "store/Snapshot.h"

#include <QCommandLineParser>
#include <QDate>
#include <QFile>
#include <QGuiApplication>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

using platform::reportengine::Document;

// One kind of file the tool writes: its option, its name in messages, and how an earlier file
// of that kind begins.
struct Output
{
    QCommandLineOption option;
    QString kind;
    QByteArray magic; // empty: any file without a NUL byte in its start, as text has none
    std::function<bool(const reports::ReportDefinition &, const Document &, const QString &,
                       QString *)>
        write;
};

bool pdf(const reports::ReportDefinition &, const Document &document, const QString &path,
         QString *error)
{
    return platform::reportengine::writePdf(document, path, error);
}

bool xlsx(const reports::ReportDefinition &definition, const Document &document,
          const QString &path, QString *error)
{
    return platform::reportengine::writeXlsx(definition, document, path, error);
}

bool csv(const reports::ReportDefinition &definition, const Document &document, const QString &path,
         QString *error)
{
    return platform::reportengine::writeCsv(definition, document, path, error);
}

bool isOfKind(const QString &path, const Output &output)
{
    QFile existing(path);
    if (!existing.open(QIODevice::ReadOnly))
        return false;
    const QByteArray start = existing.read(4096);
    return output.magic.isEmpty() ? !start.contains('\0') : start.startsWith(output.magic);
}

// The output may replace an earlier file of its kind; never the database it reads, nor any
// other file.
QString refusal(const QString &path, const Output &output)
{
    if (store::Database::isDatabaseFile(path))
        return QStringLiteral("%1 adalah database yang dibaca; %2 tidak ditulis di atasnya.")
            .arg(path, output.kind);
    if (QFile::exists(path) && !isOfKind(path, output))
        return QStringLiteral("%1 sudah ada dan bukan file %2; file itu tidak ditimpa.")
            .arg(path, output.kind);
    return {};
}

// The history's options: since a day (UTC, as the history records it) and of one employee.
struct HistoryOptions
{
    QCommandLineOption since{QStringLiteral("since"),
                             QStringLiteral("Riwayat: hanya perubahan sejak tanggal ini "
                                            "(YYYY-MM-DD, UTC)."),
                             QStringLiteral("TANGGAL")};
    QCommandLineOption nip{
        QStringLiteral("nip"),
        QStringLiteral("Riwayat: hanya perubahan data pegawai dan cuti NIP ini."),
        QStringLiteral("NIP")};
};

// What is wrong with the history's options for this report; empty when nothing is.
QString historyProblem(const QCommandLineParser &parser, const HistoryOptions &options,
                       const QString &report)
{
    const bool given = parser.isSet(options.since) || parser.isSet(options.nip);
    if (given && report != QLatin1String("Riwayat"))
        return QStringLiteral("--since dan --nip hanya untuk laporan Riwayat.");
    if (parser.isSet(options.since) &&
        !QDate::fromString(parser.value(options.since), Qt::ISODate).isValid())
        return QStringLiteral("Tanggal \"%1\" tidak dikenal; tulis sebagai YYYY-MM-DD.")
            .arg(parser.value(options.since));
    return {};
}

// Lays the report out; the history narrowed to the rows the options ask for.
store::Status layOutReport(const reports::ReportDefinition &definition,
                           const QCommandLineParser &parser, const HistoryOptions &options,
                           Document *document)
{
    const QPageSize paper = platform::reportengine::defaultPageSize();
    if (!parser.isSet(options.since) && !parser.isSet(options.nip))
        return platform::reportengine::layOut(definition, paper, document);
    using Condition = store::Snapshot::Condition;
    std::vector<Condition> conditions;
    if (parser.isSet(options.since))
        conditions.push_back(
            {QStringLiteral("Waktu"), Condition::Test::AtLeast, parser.value(options.since)});
    if (parser.isSet(options.nip))
        conditions.push_back({QStringLiteral("Nip"), Condition::Test::EqualsIgnoringCase,
                              parser.value(options.nip)});
    auto rows = std::make_shared<store::Snapshot>(store::history::view(),
                                                  platform::reportengine::boundColumns(definition));
    rows->setConditions(std::move(conditions));
    const store::Status status = rows->refresh();
    if (status.ok())
        *document = platform::reportengine::layOut(definition, std::move(rows), paper);
    return status;
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
        QStringLiteral("Menulis satu laporan Kelvara ke file PDF, buku kerja Excel atau file CSV. "
                       "Laporan: %1.")
            .arg(reports::reportNames().join(QStringLiteral(", "))));
    parser.addPositionalArgument(QStringLiteral("LAPORAN"), QStringLiteral("Nama laporan."));
    cli::addDatabaseOptions(parser);
    const std::vector<Output> outputs{
        {{QStringLiteral("pdf"), QStringLiteral("File PDF yang ditulis."), QStringLiteral("FILE")},
         QStringLiteral("PDF"),
         "%PDF-",
         pdf},
        {{QStringLiteral("xlsx"), QStringLiteral("Buku kerja Excel yang ditulis."),
          QStringLiteral("FILE")},
         QStringLiteral("Excel"),
         QByteArray("PK\x03\x04", 4),
         xlsx},
        {{QStringLiteral("csv"), QStringLiteral("File CSV (UTF-8) yang ditulis."),
          QStringLiteral("FILE")},
         QStringLiteral("CSV"),
         {},
         csv},
    };
    for (const Output &output : outputs)
        parser.addOption(output.option);
    const HistoryOptions history;
    parser.addOption(history.since);
    parser.addOption(history.nip);
    cli::parse(parser);

    const QStringList names = parser.positionalArguments();
    const bool anyOutput = std::any_of(outputs.begin(), outputs.end(), [&](const Output &output) {
        return parser.isSet(output.option);
    });
    if (names.size() != 1 || !anyOutput)
        return cli::usageError(QStringLiteral(
            "Pemakaian: kelvara-report LAPORAN [--db PATH | --server FILE] "
            "[--pdf FILE] [--xlsx FILE] [--csv FILE] [--since TANGGAL] [--nip NIP]"));
    const auto definition = reports::reportNamed(names.first());
    if (!definition)
        return cli::usageError(
            QStringLiteral("Laporan \"%1\" tidak dikenal. Laporan: %2.")
                .arg(names.first(), reports::reportNames().join(QStringLiteral(", "))));
    if (const QString problem = historyProblem(parser, history, names.first()); !problem.isEmpty())
        return cli::usageError(problem);

    if (const QString problem = cli::chooseDatabase(parser); !problem.isEmpty())
        return cli::usageError(problem);
    if (const QString problem = cli::databaseProblem(); !problem.isEmpty())
        return cli::failure(problem);
    for (const Output &output : outputs) {
        if (!parser.isSet(output.option))
            continue;
        const QString path = parser.value(output.option);
        if (const QString problem = cli::fileProblem(path); !problem.isEmpty())
            return cli::failure(problem);
        if (const QString refused = refusal(path, output); !refused.isEmpty())
            return cli::failure(refused);
    }
    const store::Status opened = store::Database::open();
    if (!opened.ok())
        return cli::failure(QStringLiteral("Database %1 tidak dapat dibuka: %2")
                                .arg(store::Database::describe(), opened.message()));

    Document document;
    const store::Status laidOut = layOutReport(*definition, parser, history, &document);
    if (!laidOut.ok())
        return cli::failure(laidOut.message());
    for (const Output &output : outputs) {
        QString error;
        if (parser.isSet(output.option) &&
            !output.write(*definition, document, parser.value(output.option), &error))
            return cli::failure(error);
    }
    return cli::Done;
}
