#include "platform/Registry.h"

#include <windows.h>

namespace platform {

namespace {

HKEY rootKey(RegistryRoot root)
{
    switch (root) {
    case RegistryRoot::LocalMachine:
        return HKEY_LOCAL_MACHINE;
    }
    return HKEY_LOCAL_MACHINE;
}

// The machine's registry through the advapi32 calls, byte for byte.
class WindowsRegistry : public Registry
{
public:
    long openKey(RegistryRoot root, const QByteArray &path, quint32 access, Handle *key) override
    {
        HKEY opened = nullptr;
        const LONG status = RegOpenKeyExA(rootKey(root), path.constData(), 0, access, &opened);
        *key = reinterpret_cast<Handle>(opened);
        return status;
    }

    long queryValue(Handle key, const QByteArray &name, quint32 *type, char *data,
                    quint32 *size) override
    {
        DWORD valueType = 0;
        DWORD valueSize = *size;
        const LONG status =
            RegQueryValueExA(reinterpret_cast<HKEY>(key), name.constData(), nullptr, &valueType,
                             reinterpret_cast<LPBYTE>(data), &valueSize);
        *type = valueType;
        *size = valueSize;
        return status;
    }

    long closeKey(Handle key) override { return RegCloseKey(reinterpret_cast<HKEY>(key)); }
};

} // namespace

Registry &windowsRegistry()
{
    static WindowsRegistry registry;
    return registry;
}

} // namespace platform
