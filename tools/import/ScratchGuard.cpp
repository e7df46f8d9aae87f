#include "ScratchGuard.h"

#include <QFile>

#include <atomic>
#include <csignal>
#include <cstring>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace accessimport {

namespace {

std::atomic_bool stopAsked{false};

#ifdef Q_OS_WIN

// Set when the import has cleaned up, so that a closing console waits for it.
HANDLE finished = nullptr;

BOOL WINAPI askToStop(DWORD event)
{
    stopAsked = true;
    // Windows ends the process when the handler returns from these; give the import the
    // little time Windows allows to roll back and remove its file.
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        WaitForSingleObject(finished, 4000);
    return TRUE;
}

#else

// The handler may only touch what is ready before the signal comes: fixed buffers, filled
// before the handlers are set.
constexpr size_t PathRoom = 4096;
char scratchFile[PathRoom];
char journalFile[PathRoom];
using Handler = void (*)(int);
// Ctrl+C, a kill, and closing the terminal the import runs in.
constexpr int Stops[] = {SIGINT, SIGTERM, SIGHUP};
constexpr size_t StopCount = sizeof Stops / sizeof Stops[0];
Handler previous[StopCount] = {};

size_t slotOf(int signal)
{
    size_t at = 0;
    while (at + 1 < StopCount && Stops[at] != signal)
        ++at;
    return at;
}

extern "C" void removeScratchAndStop(int signal)
{
    ::unlink(scratchFile);
    ::unlink(journalFile);
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

#endif

} // namespace

#ifdef Q_OS_WIN

ScratchGuard::ScratchGuard(const QString &)
{
    stopAsked = false;
    finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_armed = SetConsoleCtrlHandler(askToStop, TRUE) != 0;
}

ScratchGuard::~ScratchGuard()
{
    if (m_armed)
        SetConsoleCtrlHandler(askToStop, FALSE);
    if (finished) {
        SetEvent(finished);
        CloseHandle(finished);
        finished = nullptr;
    }
}

void syncFolder(const QString &)
{
    // NTFS journals a rename itself; a folder cannot be flushed like a file there.
}

#else

ScratchGuard::ScratchGuard(const QString &path)
{
    stopAsked = false;
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
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

#endif

bool ScratchGuard::interrupted()
{
    return stopAsked;
}

} // namespace accessimport
