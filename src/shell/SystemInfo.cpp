#include "shell/SystemInfo.h"

#include "platform/Registry.h"

#include <QFileInfo>
#include <QProcess>

namespace shell {

namespace {

const QString ProgramKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString ProgramValue = QStringLiteral("PATH");
const QString FolderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString FolderValue = QStringLiteral("MSINFO");

Programs *&installed()
{
    static Programs *programs = nullptr;
    return programs;
}

// The program file in a folder named by the registry, which separates folders with
// backslashes; elsewhere than Windows those become slashes.
QString programInFolder(const QString &folder)
{
    QString path = folder + QStringLiteral("\\MSINFO32.EXE");
#ifndef Q_OS_WIN
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
    return path;
}

} // namespace

Programs &Programs::instance()
{
    static Programs machine;
    return installed() ? *installed() : machine;
}

void Programs::install(Programs *programs)
{
    installed() = programs;
}

bool Programs::isPlainFile(const QString &path) const
{
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden();
}

bool Programs::start(const QString &program)
{
    if (program.isEmpty())
        return false;
    QProcess process;
    process.setProgram(program);
    return process.startDetached();
}

QString systemInfoProgram(platform::Registry &registry, const Programs &programs)
{
    using platform::RegistryRoot;
    const platform::RegistryValue path =
        platform::readRegistryValue(registry, RegistryRoot::LocalMachine, ProgramKey, ProgramValue);
    if (path.found)
        return path.text;

    const platform::RegistryValue folder =
        platform::readRegistryValue(registry, RegistryRoot::LocalMachine, FolderKey, FolderValue);
    if (!folder.found)
        return QString();
    const QString program = programInFolder(folder.text);
    return programs.isPlainFile(program) ? program : QString();
}

bool startSystemInfo(platform::Registry &registry, Programs &programs)
{
    const QString program = systemInfoProgram(registry, programs);
    return !program.isEmpty() && programs.start(program);
}

} // namespace shell
