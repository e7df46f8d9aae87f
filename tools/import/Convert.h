#pragma once

#include "Source.h"
#include "Target.h"

#include <QStringView>
#include <QVariant>

#include <optional>

namespace accessimport {

// A whole decimal number text (blanks around it allowed, an optional sign, digits, at most
// one '.', an optional exponent), read to the double nearest to it whatever the locale:
// "95000.5000" reads 95000.5. Anything else, infinity and NaN included, reads as nothing.
std::optional<double> readExactNumber(QStringView text);
// A number as above that is whole and fits a 64-bit integer exactly: "1987", "1987.0".
std::optional<qint64> readWholeNumber(QStringView text);
// Whether value, the double read from text, gives back every digit of text when printed
// with as many decimal places (a text with an exponent is taken as it is).
bool holdsExactly(QStringView text, double value);
// A valid calendar date written yyyy-MM-dd (blanks around it allowed), returned as that text.
std::optional<QString> readIsoDate(QStringView text);

// A source value converted for a column of the program's database: texts as they are,
// numbers and dates read as above, Null as no value. problem says why a value does not fit.
struct Converted
{
    QVariant value;
    QString problem;
};
Converted convert(const Value &value, const TargetColumn &column);

} // namespace accessimport
