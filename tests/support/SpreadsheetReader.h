#pragma once

#include <QHash>
#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

// A workbook as a real spreadsheet program reads it: Gnumeric's ssconvert, which calculates
// the formulas afresh.
struct Workbook
{
    QList<QStringList> shown;     // every row's cells as they are shown
    QHash<QPoint, QString> kinds; // per cell (column, row): "number", "text" or "formula"
    QHash<QPoint, QString> formula;
    QString sheet, title, author;
    QString unfrozen; // the first cell that scrolls, "A3" when two rows are frozen
};

Workbook readWorkbook(const QString &path);

// The fields of every row of a CSV file.
QList<QStringList> csvRows(const QByteArray &data);
