#include "Files.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace cli {

namespace {

// Whether the system refuses to let this user read what is at path, or look in its folder.
bool readingDenied(const QString &path)
{
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    struct stat info;
    if (::stat(name.constData(), &info) != 0)
        return errno == EACCES;
    return ::access(name.constData(), R_OK) != 0 && errno == EACCES;
#else
    const QFileInfo info(path);
    return info.exists() && !info.isReadable();
#endif
}

bool endsInSeparator(const QString &path)
{
    return path.endsWith(u'/') || path.endsWith(QDir::separator());
}

} // namespace

QString fileProblem(const QString &path)
{
    if (path.isEmpty())
        return QStringLiteral("Nama file kosong.");
    const QFileInfo info(path);
    if (endsInSeparator(path) || info.isDir())
        return QStringLiteral("%1 adalah folder, bukan file.").arg(path);
    if (readingDenied(path))
        return QStringLiteral("%1 tidak dapat dibuka: izin ditolak.").arg(path);
    // Qt sees a plain file or a folder; what exists and is neither would block the tool.
    if (info.exists() && !info.isFile())
        return QStringLiteral("%1 bukan file biasa (FIFO, perangkat atau soket); tidak dibuka.")
            .arg(path);
    return {};
}

void keepFilesPrivate()
{
#ifdef Q_OS_UNIX
    ::umask(S_IRWXG | S_IRWXO);
#endif
}

} // namespace cli
