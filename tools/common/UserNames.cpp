#include "UserNames.h"

#include <QChar>
#include <QList>

namespace cli {

namespace {

// Characters that control the terminal or show nothing: C0 and C1 controls, format
// characters (zero-width spaces and joiners, direction marks and overrides, the byte-order
// mark) and the line and paragraph separators.
bool isHidden(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

QString codeOf(uint c)
{
    return QStringLiteral("U+%1").arg(QString::number(c, 16).toUpper().rightJustified(4, u'0'));
}

} // namespace

QString userNameProblem(const QString &name)
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("Nama pengguna tidak boleh kosong.");
    const QList<uint> points = name.toUcs4();
    if (QChar::isSpace(points.first()) || QChar::isSpace(points.last()))
        return QStringLiteral("Nama pengguna tidak boleh diawali atau diakhiri spasi: \"%1\"")
            .arg(printable(name));
    for (uint c : points) {
        if (isHidden(c))
            return QStringLiteral("Nama pengguna memuat karakter kendali atau tak terlihat "
                                  "(%1): %2")
                .arg(codeOf(c), printable(name));
    }
    return {};
}

QString userNameKey(const QString &name)
{
    return name.normalized(QString::NormalizationForm_C).toCaseFolded();
}

QString printable(const QString &text)
{
    QString shown;
    for (uint c : text.toUcs4()) {
        if (isHidden(c))
            shown += u'<' + codeOf(c) + u'>';
        else
            shown += QString::fromUcs4(reinterpret_cast<const char32_t *>(&c), 1);
    }
    return shown;
}

} // namespace cli
