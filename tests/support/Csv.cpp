#include "Csv.h"

QList<CsvRecord> parseCsv(const QByteArray &data)
{
    const QString text = QString::fromUtf8(data);
    QList<CsvRecord> records;
    CsvRecord record;
    CsvField field;
    bool inQuotes = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"')
                field.text += text[++i];
            else if (c == u'"')
                inQuotes = false;
            else
                field.text += c;
        } else if (c == u'"') {
            inQuotes = field.quoted = true;
        } else if (c == u',') {
            record << std::exchange(field, {});
        } else if (c == u'\n') {
            record << std::exchange(field, {});
            records << std::exchange(record, {});
        } else if (c != u'\r') {
            field.text += c;
        }
    }
    if (!field.text.isEmpty() || field.quoted || !record.isEmpty())
        records << (record << field);
    return records;
}
