#include "store/Location.h"

#include <QDir>

namespace store {

QString databasePath()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\Kelvara\\DB PT Mardeko.mdb");
#else
    return QDir::homePath() + QStringLiteral("/Kelvara/DB PT Mardeko.mdb");
#endif
}

} // namespace store
