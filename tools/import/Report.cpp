#include "Report.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace migration {

namespace {

// Quotes every field, doubling the quotes inside, so commas, quotes and line breaks in
// values survive any spreadsheet.
QString csvField(const QString &text)
{
    QString doubled = text;
    doubled.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

QString csvLine(const QStringList &fields)
{
    QStringList quoted;
    for (const QString &field : fields)
        quoted << csvField(field);
    return quoted.join(QLatin1Char(',')) + QLatin1Char('\n');
}

} // namespace

QString refusalsPath(const QString &databasePath)
{
    const QFileInfo info(databasePath);
    return info.absoluteDir().filePath(info.completeBaseName() + QStringLiteral(" - ditolak.csv"));
}

bool writeRefusals(const QString &path, const QList<Refusal> &refusals, QString &error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    QString text = csvLine({QStringLiteral("Tabel"), QStringLiteral("Baris"),
                            QStringLiteral("Aturan"), QStringLiteral("Nilai")});
    for (const Refusal &r : refusals) {
        QStringList fields{r.table, QString::number(r.row), r.rule};
        for (int i = 0; i < r.columns.size(); ++i)
            fields << r.columns[i] + QLatin1Char('=') + r.values.value(i).value_or(QString());
        text += csvLine(fields);
    }
    file.write(text.toUtf8());
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

QString describe(const Refusal &refusal)
{
    QStringList values;
    for (int i = 0; i < refusal.columns.size(); ++i) {
        const Value &value = refusal.values.value(i);
        values << refusal.columns[i] + QLatin1Char('=') +
                      (value ? QLatin1Char('"') + *value + QLatin1Char('"')
                             : QStringLiteral("Null"));
    }
    return QStringLiteral("%1 baris %2: %3\n    %4")
        .arg(refusal.table)
        .arg(refusal.row)
        .arg(refusal.rule, values.join(QStringLiteral(", ")));
}

QString describe(const Tally &tally)
{
    return QStringLiteral("%1: %2 baris dibaca, %3 ditulis")
        .arg(tally.table)
        .arg(tally.read)
        .arg(tally.written);
}

} // namespace migration
