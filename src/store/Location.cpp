#include "store/Location.h"

#include "store/OwnerOnly.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace store {

namespace {

constexpr QFile::Permissions OwnerFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
constexpr QFile::Permissions OwnerFile = QFile::ReadOwner | QFile::WriteOwner;

// An Access (Jet 3 or Jet 4) file starts with four bytes and then this text.
bool hasAccessHeader(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(19).mid(4) == QByteArrayLiteral("Standard Jet DB");
}

} // namespace

QString databasePath()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\Kelvara\\DB PT Mardeko.mdb");
#else
    return QDir::homePath() + QStringLiteral("/Kelvara/DB PT Mardeko.mdb");
#endif
}

Place placeOf(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink() && !info.exists())
        return Place::DanglingLink;
    if (!info.exists())
        return Place::Nothing;
    if (info.isDir())
        return Place::Folder;
    return hasAccessHeader(path) ? Place::Access : Place::File;
}

QString makeFolders(const QString &folder)
{
    QStringList missing;
    QString at = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    while (!QFileInfo::exists(at)) {
        if (QFileInfo(at).isSymLink())
            return QStringLiteral("symbolic link to nothing: %1").arg(at);
        missing.prepend(at);
        const QString parent = QFileInfo(at).absolutePath();
        if (parent == at)
            break;
        at = parent;
    }
    if (!QFileInfo(at).isDir())
        return QStringLiteral("not a folder: %1").arg(at);
    for (const QString &made : missing) {
        // The umask may take more away than asked for; the permissions are set again after.
        if (!QDir().mkdir(made, OwnerFolder))
            return QStringLiteral("cannot create folder: %1").arg(made);
        if (const QString problem = keepToOwner(made, true); !problem.isEmpty())
            return QStringLiteral("cannot keep the folder to its owner: %1: %2").arg(made, problem);
    }
    return {};
}

QString createOwnerOnly(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, OwnerFile))
        return QStringLiteral("%1: %2").arg(path, file.errorString());
    if (const QString problem = keepToOwner(path, false); !problem.isEmpty()) {
        file.remove();
        return QStringLiteral("cannot keep the file to its owner: %1: %2").arg(path, problem);
    }
    return {};
}

} // namespace store
