#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace platform {

// The registry roots the program reads from.
enum class RegistryRoot { LocalMachine };

// The three registry calls the program makes, kept as raw as the platform's own (status codes,
// a caller's buffer, a size in and out) so that the lookup above them can be tested with a
// stand-in. A status of 0 is success.
class Registry
{
public:
    using Handle = quintptr;

    static constexpr long Success = 0;
    static constexpr long FileNotFound = 2;
    static constexpr long AccessDenied = 5;
    static constexpr long MoreData = 234;

    // Query, set, create sub-key, enumerate sub-keys, notify, create link, read control.
    static constexpr quint32 FullAccess = 0x2003F;
    static constexpr quint32 TypeString = 1;
    static constexpr quint32 TypeNumber = 4;

    virtual ~Registry() = default;

    // The machine's registry, or the stand-in installed in its place.
    static Registry &instance();
    // Puts a stand-in in place of the machine's registry; nullptr puts it back. The caller
    // keeps ownership.
    static void install(Registry *registry);

    virtual long openKey(RegistryRoot root, const QByteArray &path, quint32 access,
                         Handle *key) = 0;
    // Copies the value into data, which holds *size bytes; on success *size is the number of
    // bytes stored and *type the value's type.
    virtual long queryValue(Handle key, const QByteArray &name, quint32 *type, char *data,
                            quint32 *size) = 0;
    virtual long closeKey(Handle key) = 0;
};

struct RegistryValue
{
    bool found = false;
    QString text;
};

// Reads one value the way the about box needs it: the key opened with full access, at most
// 1024 bytes, a string as its text, a 32-bit number as "&h" and hexadecimal digits.
RegistryValue readRegistryValue(Registry &registry, RegistryRoot root, const QString &path,
                                const QString &name);

// Where the Windows registry is missing: knows the one value the about box reads first, the
// path of the system-information program, and answers it with a well-known desktop program
// found on the search path. Finds nothing when none is installed.
class StandInRegistry : public Registry
{
public:
    // An empty list searches the system's search path.
    explicit StandInRegistry(QStringList searchPaths = {});

    long openKey(RegistryRoot root, const QByteArray &path, quint32 access, Handle *key) override;
    long queryValue(Handle key, const QByteArray &name, quint32 *type, char *data,
                    quint32 *size) override;
    long closeKey(Handle key) override;

    // The first of the well-known programs found, as a full path; empty when none is.
    QString systemInformationProgram() const;

private:
    QStringList m_searchPaths;
};

} // namespace platform
