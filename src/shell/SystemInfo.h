#pragma once

#include <QString>

namespace platform {
class Registry;
}

namespace shell {

// What starting the system-information program asks of the machine besides the registry:
// whether a file is there, and starting a program without waiting for it. Tests put a
// stand-in in place so that no real program starts.
class Programs
{
public:
    virtual ~Programs() = default;

    // The machine's, or the stand-in installed in its place.
    static Programs &instance();
    // Puts a stand-in in place; nullptr puts the machine's back. The caller keeps ownership.
    static void install(Programs *programs);

    // Whether the path names a plain file (not a folder, not hidden).
    virtual bool isPlainFile(const QString &path) const;
    // Starts the program in a normal window and returns at once; false when it cannot start.
    virtual bool start(const QString &program);
};

// The system-information program: the path the registry gives for it, taken as it stands,
// else "MSINFO32.EXE" in the folder the registry names for the shared tools, if it is there.
// Empty when there is none.
QString systemInfoProgram(platform::Registry &registry, const Programs &programs);

// Finds and starts the system-information program; false when there is none or it does not
// start.
bool startSystemInfo(platform::Registry &registry, Programs &programs);

} // namespace shell
