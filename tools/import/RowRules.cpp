#include "RowRules.h"

#include "Convert.h"

#include "store/Values.h"

#include <algorithm>

namespace accessimport {

namespace {

// The database's NOCASE collation folds the letters A to Z and nothing else.
QString fold(const QVariant &value)
{
    QString text = value.toString();
    for (QChar &c : text) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return text;
}

bool isBlank(const QVariant &value)
{
    return value.isNull() || value.toString().trimmed().isEmpty();
}

QString uniqueName(const TargetTable &table, const QStringList &columns)
{
    return table.name + QLatin1Char('/') + columns.join(QLatin1Char('+'));
}

// The folded key of a row for a set of columns; nothing when one of them holds no value
// (such rows never clash).
std::optional<QString> uniqueKey(const TargetTable &table, const QStringList &columns,
                                 const QVariantList &converted, QStringList *shown = nullptr)
{
    QStringList parts;
    for (const QString &column : columns) {
        const QVariant &value = converted.at(table.columnIndex(column));
        if (value.isNull())
            return std::nullopt;
        parts << fold(value);
        if (shown)
            *shown << store::displayText(value, false);
    }
    return parts.join(QChar(0x1f));
}

// The bytes the engine takes a text as: the driver hands it over as UTF-16, the engine keeps
// it as UTF-8; the larger counts.
qint64 engineBytes(const QString &text)
{
    qint64 utf8 = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            utf8 += 1;
        } else if (c < 0x800) {
            utf8 += 2;
        } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
                   text[i + 1].isLowSurrogate()) {
            utf8 += 4;
            ++i;
        } else {
            utf8 += 3;
        }
    }
    return std::max(utf8, 2 * qint64(text.size()));
}

} // namespace

QString RowRules::check(const TargetTable &table, const Row &values, QVariantList &converted) const
{
    converted.clear();
    for (int i = 0; i < table.columns.size(); ++i) {
        const Converted c = convert(values.value(i), table.columns.at(i));
        if (!c.problem.isEmpty())
            return c.problem;
        converted << c.value;
    }
    return breach(table, converted);
}

QString RowRules::breach(const TargetTable &table, const QVariantList &converted) const
{
    for (int i = 0; i < table.columns.size(); ++i) {
        const TargetColumn &column = table.columns.at(i);
        const QVariant &value = converted.at(i);
        if (column.required && isBlank(value))
            return QStringLiteral("%1 tidak boleh kosong").arg(column.name);
        if (const QString problem = tooLong(column, value); !problem.isEmpty())
            return problem;
        if (!column.refersTo.isEmpty() && !value.isNull() &&
            !m_keys.value(column.refersTo).contains(fold(value)))
            return QStringLiteral("%1 \"%2\" tidak ada di tabel %3")
                .arg(column.name, store::displayText(value, false), column.refersTo);
    }
    for (const QStringList &columns : table.unique) {
        QStringList shown;
        const std::optional<QString> key = uniqueKey(table, columns, converted, &shown);
        const auto taken = m_taken.value(uniqueName(table, columns));
        if (key && taken.contains(*key))
            return QStringLiteral("%1 \"%2\" sudah ada di baris %3")
                .arg(columns.join(QStringLiteral(" + ")), shown.join(QStringLiteral(" + ")))
                .arg(taken.value(*key));
    }
    return {};
}

// A text the database cannot take is refused whole, never cut to fit.
QString RowRules::tooLong(const TargetColumn &column, const QVariant &value) const
{
    if (value.typeId() != QMetaType::QString)
        return {};
    const QString text = value.toString();
    // No character takes more than three bytes in either form.
    if (3 * qint64(text.size()) <= m_longestText)
        return {};
    const qint64 bytes = engineBytes(text);
    if (bytes <= m_longestText)
        return {};
    return QStringLiteral("%1 sepanjang %2 karakter (%3 byte) melebihi batas database, %4 byte "
                          "per nilai; teks tidak dipotong")
        .arg(column.name)
        .arg(text.size())
        .arg(bytes)
        .arg(m_longestText);
}

void RowRules::accept(const TargetTable &table, const QVariantList &converted, qint64 row)
{
    for (const QStringList &columns : table.unique) {
        if (const std::optional<QString> key = uniqueKey(table, columns, converted))
            m_taken[uniqueName(table, columns)].insert(*key, row);
    }
    if (!table.key.isEmpty())
        m_keys[table.name].insert(fold(converted.at(table.columnIndex(table.key))));
}

} // namespace accessimport
