#include "ScratchGuard.h"

#include <QFile>

#include <csignal>
#include <cstdio>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace accessimport {

namespace {

// The handler may only touch what is ready before the signal comes: fixed buffers, filled
// before the handlers are set.
constexpr size_t PathRoom = 4096;
char scratchFile[PathRoom];
char journalFile[PathRoom];
using Handler = void (*)(int);
// Ctrl+C, a kill, and closing the terminal the import runs in (not on Windows).
#ifdef SIGHUP
constexpr int Stops[] = {SIGINT, SIGTERM, SIGHUP};
#else
constexpr int Stops[] = {SIGINT, SIGTERM};
#endif
constexpr size_t StopCount = sizeof Stops / sizeof Stops[0];
Handler previous[StopCount] = {};

size_t slotOf(int signal)
{
    size_t at = 0;
    while (at + 1 < StopCount && Stops[at] != signal)
        ++at;
    return at;
}

void removeFile(const char *path)
{
#ifdef Q_OS_UNIX
    ::unlink(path);
#else
    std::remove(path);
#endif
}

extern "C" void removeScratchAndStop(int signal)
{
    removeFile(scratchFile);
    removeFile(journalFile);
    std::signal(signal, previous[slotOf(signal)]);
    std::raise(signal);
}

bool copyPath(char (&into)[PathRoom], const QByteArray &path)
{
    if (size_t(path.size()) >= PathRoom)
        return false;
    std::memcpy(into, path.constData(), size_t(path.size()) + 1);
    return true;
}

} // namespace

ScratchGuard::ScratchGuard(const QString &path)
{
    const QByteArray file = QFile::encodeName(path);
    if (!copyPath(scratchFile, file) || !copyPath(journalFile, file + "-journal"))
        return;
    for (size_t at = 0; at < StopCount; ++at)
        previous[at] = std::signal(Stops[at], removeScratchAndStop);
    m_armed = true;
}

ScratchGuard::~ScratchGuard()
{
    if (!m_armed)
        return;
    for (size_t at = 0; at < StopCount; ++at)
        std::signal(Stops[at], previous[at]);
}

void syncFolder(const QString &folder)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(folder);
#endif
}

} // namespace accessimport
