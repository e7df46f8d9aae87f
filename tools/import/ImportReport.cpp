#include "ImportReport.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include <algorithm>

namespace accessimport {

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

// A value as the terminal shows it: a long text by its beginning and its length, so that a
// refused memo does not flood the screen; the CSV keeps it whole.
QString shown(const Value &value)
{
    constexpr qsizetype Longest = 200;
    if (!value)
        return QStringLiteral("Null");
    if (value->size() <= Longest)
        return QLatin1Char('"') + *value + QLatin1Char('"');
    const qsizetype kept = value->at(Longest - 1).isHighSurrogate() ? Longest - 1 : Longest;
    return QStringLiteral("\"%1…\" (%2 karakter)")
        .arg(value->first(kept), QString::number(value->size()));
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
    qsizetype widest = 0;
    for (const Refusal &r : refusals)
        widest = std::max(widest, r.columns.size());
    QStringList header{QStringLiteral("Tabel"), QStringLiteral("Baris"), QStringLiteral("Aturan")};
    for (qsizetype i = 1; i <= widest; ++i)
        header << QStringLiteral("Nilai %1").arg(i);
    QString text = csvLine(header);
    for (const Refusal &r : refusals) {
        QStringList fields{r.table, QString::number(r.row), r.rule};
        for (int i = 0; i < r.columns.size(); ++i)
            fields << r.columns[i] + QLatin1Char('=') + r.values.value(i).value_or(QString());
        while (fields.size() < header.size())
            fields << QString();
        text += csvLine(fields);
    }
    file.write(text.toUtf8());
    // The refused rows hold personnel data: for the owner's eyes only.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

QString describe(const Refusal &refusal)
{
    QStringList values;
    for (int i = 0; i < refusal.columns.size(); ++i)
        values << refusal.columns[i] + QLatin1Char('=') + shown(refusal.values.value(i));
    return QStringLiteral("%1 baris %2: %3\n    %4")
        .arg(refusal.table)
        .arg(refusal.row)
        .arg(refusal.rule, values.join(QStringLiteral(", ")));
}

QString describe(const Tally &tally, bool written)
{
    const QString read = QStringLiteral("%1: %2 baris dibaca").arg(tally.table).arg(tally.read);
    return written ? read + QStringLiteral(", %1 ditulis").arg(tally.written) : read;
}

} // namespace accessimport
