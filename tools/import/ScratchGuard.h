#pragma once

#include <QString>

namespace accessimport {

// While it lives, SIGINT, SIGTERM and SIGHUP (a closed terminal) first remove the scratch database
// at path (and its journal), then do what they did before: an interrupted import leaves nothing
// behind. One import at a time; the previous handlers come back when it ends.
class ScratchGuard
{
public:
    explicit ScratchGuard(const QString &path);
    ~ScratchGuard();
    ScratchGuard(const ScratchGuard &) = delete;
    ScratchGuard &operator=(const ScratchGuard &) = delete;

private:
    bool m_armed = false;
};

// Makes a rename in the folder durable (on systems that need it).
void syncFolder(const QString &folder);

} // namespace accessimport
