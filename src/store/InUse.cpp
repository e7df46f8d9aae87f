#include "store/InUse.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace store {

#ifdef Q_OS_UNIX

InUse::InUse(const QString &database, Kind kind)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(database).absolutePath());
    m_handle = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // A folder that cannot be opened cannot be restored into either: nothing to guard.
    if (m_handle < 0) {
        m_held = kind == Kind::Shared;
        return;
    }
    m_held = ::flock(m_handle, (kind == Kind::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB) == 0;
}

InUse::~InUse()
{
    if (m_handle >= 0)
        ::close(m_handle);
}

#else

// Windows keeps an open database file from being replaced by itself.
InUse::InUse(const QString &, Kind) : m_held(true)
{
}
InUse::~InUse() = default;

#endif

} // namespace store
