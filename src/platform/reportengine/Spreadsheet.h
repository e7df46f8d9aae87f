#pragma once

#include "platform/reportengine/PagePainter.h"
#include "platform/reportengine/Report.h"

#include <QString>

#include <vector>

// A report's rows as a table for other programs: an Excel workbook for people, a CSV file for
// scripts. Any report gets them from its layout alone: the columns are the values its detail
// band prints, captioned with the labels printed over them (or beside them).
namespace platform::reportengine {

struct SheetColumn
{
    QString caption; // as printed
    QString column;  // in the report's rows
};

// The values of the report's detail band, each once. A value's caption is the column label
// printed over it in the page header: the labels' last lines hold one line of labels for each
// line of values, and a value takes the label of its line that overlaps it most. A value
// without one takes the label printed left of it on its own line, else its column's name.
// Values come in the order of their labels, those without a label last.
std::vector<SheetColumn> sheetColumns(const ReportDefinition &definition);

// Writes the report's rows as an Excel workbook: the title, the captions (frozen), one row
// per record in the report's order, and the sums of the definition's totals as formulas.
// Numbers are numbers, dates are dates shown day/month/year, texts stay texts. As with a
// PDF, the file takes its place only once it is whole, readable by its owner only; progress
// is told every hundred rows and may stop the writing, which leaves the target as it was.
bool writeXlsx(const ReportDefinition &definition, const Document &document, const QString &path,
               QString *error = nullptr, const Progress &progress = {});

// Writes the captions and the rows as UTF-8 comma-separated values (RFC 4180), numbers as
// the report prints them and dates as ISO dates; written as the workbook is.
bool writeCsv(const ReportDefinition &definition, const Document &document, const QString &path,
              QString *error = nullptr, const Progress &progress = {});

} // namespace platform::reportengine
