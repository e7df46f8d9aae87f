#include "store/Values.h"

#include <QDate>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>

namespace store {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

double readNumber(QStringView text)
{
    // Collect the leading number as plain ASCII, skipping blanks anywhere inside it as the
    // classic reader did (" 1 2" reads 12), then let from_chars do the exact conversion.
    std::string digits;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto skipBlanks = [&] {
        while (i < n && isBlank(text[i]))
            ++i;
    };
    skipBlanks();
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-')
            digits += '-';
        ++i;
        skipBlanks();
    }
    bool anyDigit = false;
    bool point = false;
    std::string mantissa;
    // The power of ten of the first significant digit, less the exponent: it tells a number
    // too large for a double from one too small, whatever the sign of its exponent.
    long long order = 0;
    bool significant = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (isDigit(c)) {
            mantissa += char(c.unicode());
            anyDigit = true;
            significant = significant || c != u'0';
            if (significant && !point)
                ++order;
            else if (!significant && point)
                --order;
        } else if (c == u'.' && !point) {
            mantissa += '.';
            point = true;
        } else if (!isBlank(c)) {
            break;
        }
    }
    if (!anyDigit)
        return 0.0;
    digits += mantissa;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        std::string exponent = "e";
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            exponent += char(text[j++].unicode());
        const qsizetype firstDigit = j;
        long long power = 0;
        while (j < n && isDigit(text[j])) {
            // Beyond a billion the power only needs to stay beyond every double.
            power = std::min(power * 10 + text[j].digitValue(), 1'000'000'000LL);
            exponent += char(text[j++].unicode());
        }
        if (j > firstDigit) {
            digits += exponent;
            order += exponent[1] == '-' ? -power : power;
        }
    }
    double value = 0.0;
    const char *begin = digits.data();
    const char *end = begin + digits.size();
    const auto result = std::from_chars(begin, end, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large reads as infinity, too small as zero, keeping the sign. The mantissa's
        // own digits count as much as the exponent: 1 and 400 zeros is too large, as is
        // 1 and 400 zeros times 1e-10.
        const bool negative = digits.front() == '-';
        if (order > 0)
            return negative ? -HUGE_VAL : HUGE_VAL;
        return negative ? -0.0 : 0.0;
    }
    return value;
}

namespace {

// The power of ten of a number's first digit once rounded to 15 significant digits.
int decimalExponent(double value)
{
    char buffer[32];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    const char *e = std::find(buffer, written.ptr, 'e');
    int exponent = 0;
    std::from_chars(e + 2, written.ptr, exponent);
    return e[1] == '-' ? -exponent : exponent;
}

// Plain decimal digits of a number of 15 digits or more before the point, rounded to its
// 15 first digits.
std::string wholeDigits(double value)
{
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                       std::chars_format::scientific, 14);
    std::string digits(1, buffer[0]);
    digits.append(buffer + 2, std::find(buffer, written.ptr, 'e'));
    digits.append(size_t(decimalExponent(value)) + 1 - digits.size(), '0');
    return value < 0 ? '-' + digits : digits;
}

} // namespace

QString writeNumber(double value, double operand)
{
    if (!std::isfinite(value))
        return QString::number(value);
    const double reference = std::max(std::fabs(value), std::fabs(operand));
    if (reference == 0)
        return QStringLiteral("0");
    char buffer[400];
    // Rounded to 15 digits, the largest doubles would read back as infinity: they keep the
    // digits that read back.
    if (std::fabs(value) > 1.79769313486231e308) {
        const auto written =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
        return QString::fromLatin1(buffer, written.ptr - buffer);
    }
    const int exponent = decimalExponent(reference);
    if (exponent >= 15 && decimalExponent(value) >= 15)
        return QString::fromStdString(wholeDigits(value));
    // Fifteen significant digits of the reference are what a double holds for certain; the
    // digits beyond are leftovers of binary fractions (18 - 10.3 is 7.699999999999999).
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value,
                                       std::chars_format::fixed, std::max(0, 14 - exponent));
    std::string text(buffer, written.ptr);
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.')
            text.pop_back();
    }
    if (text == "-0")
        return QStringLiteral("0");
    return QString::fromStdString(text);
}

bool isDateColumn(QStringView column)
{
    return column.compare(u"Tgllahir", Qt::CaseInsensitive) == 0 ||
           column.compare(u"PeriodeAwal", Qt::CaseInsensitive) == 0 ||
           column.compare(u"Periodeahir", Qt::CaseInsensitive) == 0 ||
           column.compare(u"PeriodeAkhir", Qt::CaseInsensitive) == 0;
}

QString displayDate(const QString &isoDate)
{
    const QDate date = QDate::fromString(isoDate, Qt::ISODate);
    if (!date.isValid())
        return isoDate;
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

namespace {

// A stored number as text: whole numbers of an integer column exactly, reals through
// writeNumber. Nothing for a value that is not a number.
std::optional<QString> numberText(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
        return writeNumber(value.toDouble());
    case QMetaType::LongLong:
    case QMetaType::Int:
        return QString::number(value.toLongLong());
    default:
        return std::nullopt;
    }
}

} // namespace

QString displayText(const QVariant &value, bool dateColumn)
{
    if (value.isNull())
        return {};
    if (std::optional<QString> number = numberText(value))
        return *number;
    const QString text = value.toString();
    return dateColumn ? displayDate(text) : text;
}

QString editText(const QVariant &value)
{
    if (value.isNull())
        return {};
    return numberText(value).value_or(value.toString());
}

} // namespace store
