#pragma once

#include <QString>

namespace accessimport {

// While it lives, an interruption (Ctrl+C, a kill, the terminal or console window closed)
// leaves no scratch database at path behind. On Unix the signal handler removes the file and
// its journal, then does what the signal did before. On Windows the open file cannot be
// removed from the console's handler thread, so the handler only asks the import to stop
// (interrupted()); the import then rolls back and removes the file itself. One import at a
// time; the previous handlers come back when it ends.
class ScratchGuard
{
public:
    explicit ScratchGuard(const QString &path);
    ~ScratchGuard();
    ScratchGuard(const ScratchGuard &) = delete;
    ScratchGuard &operator=(const ScratchGuard &) = delete;

    // True once the user asked the import to stop where it cannot be stopped at once.
    static bool interrupted();

private:
    bool m_armed = false;
};

// Makes a rename in the folder durable (on systems that need it).
void syncFolder(const QString &folder);

} // namespace accessimport
