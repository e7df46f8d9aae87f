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

// The one way a number becomes text (boxes, grids, reports, slips, messages): rounded to 15
// significant digits, then the shortest plain decimal: whole numbers without a point, a
// leading minus for negatives but never "-0", '.' as the separator, never an exponent.
// When the value is a difference, operand is the larger of its two operands: the digits
// below its 15th are the subtraction's leftovers (18 - 17.1 gives 0.9, not 0.899999999999999).
QString writeNumber(double value, double operand = 0);

// Dates are kept as ISO text (yyyy-MM-dd) and shown as day/month/year.
bool isDateColumn(QStringView column);
QString displayDate(const QString &isoDate);

// The text a grid, a list or a report prints for a stored value: numbers as plain decimals,
// dates of the date columns as day/month/year, no value as the empty text.
QString displayText(const QVariant &value, bool dateColumn);

// The text a bound box shows for a stored value (dates stay ISO; the date picker reads them).
QString editText(const QVariant &value);

} // namespace store
