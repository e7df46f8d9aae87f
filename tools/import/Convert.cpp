#include "Convert.h"

#include <QDate>

#include <charconv>
#include <cmath>

namespace accessimport {

std::optional<double> readExactNumber(QStringView text)
{
    QByteArray digits = text.trimmed().toLatin1();
    if (digits.startsWith('+'))
        digits.remove(0, 1);
    // from_chars would take these as infinity or NaN; a number in a table never is one.
    for (char c : digits) {
        const bool allowed =
            (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E';
        if (!allowed)
            return std::nullopt;
    }
    double value = 0;
    const char *end = digits.constData() + digits.size();
    const auto [stop, error] = std::from_chars(digits.constData(), end, value);
    if (digits.isEmpty() || error != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<qint64> readWholeNumber(QStringView text)
{
    // Beyond 2^53 a double no longer holds every whole number.
    constexpr double Largest = 9007199254740992.0;
    const std::optional<double> number = readExactNumber(text);
    if (!number || std::trunc(*number) != *number || std::fabs(*number) > Largest)
        return std::nullopt;
    return qint64(*number);
}

bool holdsExactly(QStringView text, double value)
{
    QByteArray written = text.trimmed().toLatin1();
    if (written.startsWith('+'))
        written.remove(0, 1);
    if (written.contains('e') || written.contains('E'))
        return true;
    const qsizetype point = written.indexOf('.');
    const int places = point < 0 ? 0 : int(written.size() - point - 1);
    // Printed back with as many places as the text has, the double must give the text's
    // value again: 0.1 does, 922337203685477.5807 (a double holds ...477.625) does not.
    char back[400];
    const auto [end, error] =
        std::to_chars(back, back + sizeof back, value, std::chars_format::fixed, places);
    if (error != std::errc())
        return false;
    const QByteArray printed(back, end - back);
    const auto digitsOf = [](QByteArray number) {
        const bool negative = number.startsWith('-');
        if (negative)
            number.remove(0, 1);
        while (number.size() > 1 && number.startsWith('0') && number.at(1) != '.')
            number.remove(0, 1);
        if (number.startsWith('.'))
            number.prepend('0');
        const bool zero = number.count('0') + number.count('.') == number.size();
        return (negative && !zero ? QByteArray("-") : QByteArray()) + number;
    };
    return digitsOf(written) == digitsOf(printed);
}

std::optional<QString> readIsoDate(QStringView text)
{
    const QString trimmed = text.trimmed().toString();
    const QDate date = QDate::fromString(trimmed, QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid() || date.toString(QStringLiteral("yyyy-MM-dd")) != trimmed)
        return std::nullopt;
    return trimmed;
}

namespace {

QVariant noValue(TargetKind kind)
{
    switch (kind) {
    case TargetKind::Real:
        return QVariant(QMetaType::fromType<double>());
    case TargetKind::Integer:
        return QVariant(QMetaType::fromType<qint64>());
    case TargetKind::Text:
    case TargetKind::Date:
        break;
    }
    return QVariant(QMetaType::fromType<QString>());
}

template <typename T> Converted fromOptional(const std::optional<T> &read, const QString &problem)
{
    if (read)
        return {QVariant::fromValue(*read), {}};
    return {{}, problem};
}

// A number the database keeps as a double: refused, never rounded, when the double cannot
// hold every digit the source gives.
Converted readReal(const QString &text, const TargetColumn &column)
{
    const std::optional<double> number = readExactNumber(text);
    if (!number)
        return {{}, QStringLiteral("%1 harus berupa angka").arg(column.name)};
    if (!holdsExactly(text, *number))
        return {{},
                QStringLiteral("%1 %2 tidak dapat disimpan tepat (database menyimpan %3); "
                               "nilai tidak dibulatkan")
                    .arg(column.name, text.trimmed(), QString::number(*number, 'f', 4))};
    return {*number, {}};
}

} // namespace

Converted convert(const Value &value, const TargetColumn &column)
{
    if (!value)
        return {noValue(column.kind), {}};
    switch (column.kind) {
    case TargetKind::Text:
        return {*value, {}};
    case TargetKind::Real:
        return readReal(*value, column);
    case TargetKind::Integer:
        return fromOptional(readWholeNumber(*value),
                            QStringLiteral("%1 harus berupa bilangan bulat").arg(column.name));
    case TargetKind::Date:
        return fromOptional(
            readIsoDate(*value),
            QStringLiteral("%1 harus berupa tanggal yang benar (tttt-bb-hh)").arg(column.name));
    }
    return {{}, QStringLiteral("%1: jenis kolom tidak dikenal").arg(column.name)};
}

} // namespace accessimport
