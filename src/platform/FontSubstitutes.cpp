#include "platform/FontSubstitutes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace platform {

namespace {

// The substitutes the Windows setup program ships in a fonts folder beside the programs:
// Windows has Arial and Times New Roman, but none of the free faces below.
void loadShippedFonts()
{
    static bool loaded = false;
    if (loaded)
        return;
    loaded = true;
    const QDir folder(QCoreApplication::applicationDirPath() + QStringLiteral("/fonts"));
    const QStringList files = folder.entryList({QStringLiteral("*.ttf"), QStringLiteral("*.otf")},
                                               QDir::Files, QDir::Name);
    for (const QString &file : files)
        QFontDatabase::addApplicationFont(folder.filePath(file));
}

} // namespace

void installFontSubstitutes()
{
    loadShippedFonts();
    // Liberation Sans and Serif have the metrics of Arial and Times New Roman. P052 is URW's
    // Palatino, the face Book Antiqua was drawn after; URW Gothic is ITC Avant Garde Gothic.
    // DejaVu stays last as a font that is always there.
    const struct
    {
        const char *family;
        QStringList substitutes;
    } table[] = {
        {"Arial",
         {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
          QStringLiteral("DejaVu Sans")}},
        {"Times New Roman",
         {QStringLiteral("Liberation Serif"), QStringLiteral("Tinos"),
          QStringLiteral("DejaVu Serif")}},
        {"Book Antiqua",
         {QStringLiteral("P052"), QStringLiteral("URW Palladio L"), QStringLiteral("Palatino"),
          QStringLiteral("DejaVu Serif")}},
        {"AvantGarde Md BT",
         {QStringLiteral("URW Gothic"), QStringLiteral("URW Gothic L"),
          QStringLiteral("DejaVu Sans")}},
        {"MS Sans Serif", {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")}},
    };
    for (const auto &entry : table)
        QFont::insertSubstitutions(QString::fromLatin1(entry.family), entry.substitutes);
}

} // namespace platform
