#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A field of a CSV file, with whether it was quoted: mdb-export quotes every text and
// leaves a Null bare and empty.
struct CsvField
{
    QString text;
    bool quoted = false;
};
using CsvRecord = QList<CsvField>;

// Reads UTF-8 CSV with ',' between fields and doubled quotes inside quoted ones; a quoted
// field may span lines.
QList<CsvRecord> parseCsv(const QByteArray &data);
