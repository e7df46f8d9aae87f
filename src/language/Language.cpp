#include "language/Language.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

// The catalogue lives in a static library: its resource is registered by hand, outside any
// namespace as the resource's own initialiser is.
static void registerCatalogue()
{
    Q_INIT_RESOURCE(translations);
}

namespace language {

bool useIndonesian()
{
    registerCatalogue();
    QLocale::setDefault(QLocale(QLocale::Indonesian, QLocale::Indonesia));
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral(":/kelvara/translations/qtbase_id.qm"))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace language
