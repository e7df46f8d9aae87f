// kelvara-report REPORT [--db PATH] --pdf FILE: writes one report to a PDF file with the
// pages the preview window shows, without a display.

#include "platform/report/FontSubstitutes.h"
#include "platform/report/Layout.h"
#include "platform/report/PagePainter.h"
#include "reports/ReportLayouts.h"
#include "store/Database.h"
#include "store/Location.h"

#include <QCommandLineParser>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

namespace {

int fail(const QString &text)
{
    QTextStream(stderr) << "kelvara-report: " << text << Qt::endl;
    return 1;
}

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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("kelvara-report"));
    platform::installFontSubstitutes();

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes a Kelvara report to a PDF file. Reports: %1.")
            .arg(reports::reportNames().join(QStringLiteral(", "))));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("REPORT"), QStringLiteral("the report's name"));
    const QCommandLineOption db(
        QStringLiteral("db"),
        QStringLiteral("the database file (default: %1)").arg(store::databasePath()),
        QStringLiteral("PATH"));
    const QCommandLineOption pdf(QStringLiteral("pdf"), QStringLiteral("the PDF file to write"),
                                 QStringLiteral("FILE"));
    parser.addOption(db);
    parser.addOption(pdf);
    parser.process(app);

    const QStringList names = parser.positionalArguments();
    if (names.size() != 1 || !parser.isSet(pdf))
        return fail(QStringLiteral("usage: kelvara-report REPORT [--db PATH] --pdf FILE"));
    const auto definition = reports::reportNamed(names.first());
    if (!definition)
        return fail(QStringLiteral("unknown report \"%1\"; the reports are %2")
                        .arg(names.first(), reports::reportNames().join(QStringLiteral(", "))));

    if (parser.isSet(db))
        store::Database::setPath(parser.value(db));
    if (const QString refused = refusal(parser.value(pdf)); !refused.isEmpty())
        return fail(refused);
    const store::Status opened = store::Database::open();
    if (!opened.ok())
        return fail(
            QStringLiteral("cannot open %1: %2").arg(store::Database::path(), opened.message()));

    platform::report::Document document;
    const store::Status laidOut =
        platform::report::layOut(*definition, platform::report::defaultPageSize(), &document);
    if (!laidOut.ok())
        return fail(laidOut.message());
    QString error;
    if (!platform::report::writePdf(document, parser.value(pdf), &error))
        return fail(error);
    return 0;
}
