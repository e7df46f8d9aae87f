#pragma once

#include <QString>

namespace store {

// Tells a restore that a program has the database open, even while it reads or writes
// nothing and so holds none of the engine's locks. Every connection of the program and the
// tools marks the database's folder as in use for as long as it is open; a restore takes the
// folder for itself and is refused while anyone else has it. The lock is on the folder, never
// on the database file: a lock of our own on the file would be dropped with the engine's
// when either closes it.
class InUse
{
public:
    enum class Kind { Shared, Alone };

    // Marks the folder of the database at path; held() tells whether it could, and a Shared
    // mark waits for no one: a restore in progress makes it fail at once.
    InUse(const QString &database, Kind kind);
    ~InUse();
    InUse(const InUse &) = delete;
    InUse &operator=(const InUse &) = delete;

    bool held() const { return m_held; }

private:
    int m_handle = -1;
    bool m_held = false;
};

} // namespace store
