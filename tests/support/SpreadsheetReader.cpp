#include "SpreadsheetReader.h"

#include "Csv.h"
#include "ProgramRun.h"

#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>

namespace {

// Gnumeric's own file: the kind of each cell, the sheet and the document.
void readGnumeric(const QByteArray &xml, Workbook &book)
{
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto name = reader.name();
        if (name == QLatin1String("Cell")) {
            const QPoint at(reader.attributes().value("Col").toInt(),
                            reader.attributes().value("Row").toInt());
            // A formula carries no type of value; a text that merely begins with '=' does.
            const QString type = reader.attributes().value("ValueType").toString();
            book.kinds[at] = type.isEmpty() ? "formula" : type == "40" ? "number" : "text";
        } else if (name == QLatin1String("SheetName")) {
            book.sheet = reader.readElementText();
        } else if (name == QLatin1String("title")) {
            book.title = reader.readElementText();
        } else if (name == QLatin1String("creator")) {
            book.author = reader.readElementText();
        } else if (name == QLatin1String("FreezePanes")) {
            book.unfrozen = reader.attributes().value("UnfrozenTopLeft").toString();
        }
    }
}

QByteArray converted(const QString &path, const QStringList &how, const QString &into)
{
    runProgram("ssconvert", how + QStringList{path, into});
    QFile file(into);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

Workbook readWorkbook(const QString &path)
{
    QTemporaryDir dir;
    Workbook book;
    book.shown = csvRows(converted(
        path, {"--recalc", "-T", "Gnumeric_stf:stf_assistant", "-O", "format=preserve separator=,"},
        dir.filePath("shown.csv")));
    readGnumeric(converted(path, {"-T", "Gnumeric_XmlIO:sax:0"}, dir.filePath("book.xml")), book);
    return book;
}

QList<QStringList> csvRows(const QByteArray &data)
{
    QList<QStringList> rows;
    for (const CsvRecord &record : parseCsv(data)) {
        QStringList &row = rows.emplace_back();
        for (const CsvField &field : record)
            row << field.text;
    }
    return rows;
}
