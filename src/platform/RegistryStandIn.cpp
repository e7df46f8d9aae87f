#include "platform/Registry.h"

#include <QStandardPaths>

#include <cstring>

namespace platform {

namespace {

const Registry::Handle MsinfoKey = 1;

bool sameName(const QByteArray &a, const char *b)
{
    // Registry names ignore letter case.
    return a.compare(QByteArray(b), Qt::CaseInsensitive) == 0;
}

// Desktop programs that show what the machine is made of, best first.
const char *const WellKnownPrograms[] = {
    "hardinfo2",           "hardinfo",          "kinfocenter", "gnome-system-monitor",
    "mate-system-monitor", "xfce4-taskmanager", "lshw-gtk",
};

} // namespace

StandInRegistry::StandInRegistry(QStringList searchPaths) : m_searchPaths(std::move(searchPaths))
{
}

QString StandInRegistry::systemInformationProgram() const
{
    for (const char *name : WellKnownPrograms) {
        const QString found =
            QStandardPaths::findExecutable(QString::fromLatin1(name), m_searchPaths);
        if (!found.isEmpty())
            return found;
    }
    return QString();
}

long StandInRegistry::openKey(RegistryRoot root, const QByteArray &path, quint32, Handle *key)
{
    if (root != RegistryRoot::LocalMachine ||
        !sameName(path, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"))
        return FileNotFound;
    *key = MsinfoKey;
    return Success;
}

long StandInRegistry::queryValue(Handle key, const QByteArray &name, quint32 *type, char *data,
                                 quint32 *size)
{
    if (key != MsinfoKey || !sameName(name, "PATH"))
        return FileNotFound;
    const QString program = systemInformationProgram();
    if (program.isEmpty())
        return FileNotFound;

    // Stored as the platform stores a string: with its closing zero.
    const QByteArray stored = program.toLocal8Bit() + '\0';
    const quint32 needed = quint32(stored.size());
    if (needed > *size) {
        *size = needed;
        return MoreData;
    }
    std::memcpy(data, stored.constData(), needed);
    *size = needed;
    *type = TypeString;
    return Success;
}

long StandInRegistry::closeKey(Handle)
{
    return Success;
}

} // namespace platform
