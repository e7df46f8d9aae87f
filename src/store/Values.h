#pragma once

#include <QString>
#include <QStringView>
#include <QVariant>

namespace store {

// Reads the leading decimal number of a text: blanks are skipped, then an optional sign,
// digits with at most one '.', and an optional exponent, up to the first other character.
// A text that does not begin with a number reads 0. Never fails; an exponent too large for a
// double reads as infinity.
double readNumber(QStringView text);

// Plain decimal text: whole numbers without a point, a leading minus for negatives, '.' as
// the separator and the shortest digits that read back to the same value. Never an exponent.
QString writeNumber(double value);

// Dates are kept as ISO text (yyyy-MM-dd) and shown as day/month/year.
bool isDateColumn(QStringView column);
QString displayDate(const QString &isoDate);

// The text a grid, a list or a report prints for a stored value: numbers as plain decimals,
// dates of the date columns as day/month/year, no value as the empty text.
QString displayText(const QVariant &value, bool dateColumn);

// The text a bound box shows for a stored value (dates stay ISO; the date picker reads them).
QString editText(const QVariant &value);

} // namespace store
