#include "platform/Registry.h"

namespace platform {

#ifdef Q_OS_WIN
// The advapi32 calls, in RegistryWindows.cpp.
Registry &windowsRegistry();
#endif

namespace {

constexpr quint32 BufferSize = 1024;

Registry *&installed()
{
    static Registry *registry = nullptr;
    return registry;
}

Registry &machineRegistry()
{
#ifdef Q_OS_WIN
    return windowsRegistry();
#else
    static StandInRegistry standIn;
    return standIn;
#endif
}

// The stored bytes, without the zero that ends a string: the last stored byte is dropped
// when it is zero.
QByteArray keptCharacters(const QByteArray &buffer, quint32 size)
{
    const qsizetype stored = qMin<qsizetype>(size, buffer.size());
    if (stored > 0 && buffer.at(stored - 1) == '\0')
        return buffer.left(stored - 1);
    return buffer.left(stored);
}

// Each kept byte from the last to the first as upper-case hexadecimal without leading zeros.
// The text is kept as "&h..." rather than turned into a number.
QString numberText(const QByteArray &kept)
{
    QString digits;
    for (qsizetype i = kept.size() - 1; i >= 0; --i)
        digits += QString::number(uchar(kept.at(i)), 16).toUpper();
    return QStringLiteral("&h") + digits;
}

RegistryValue queryOpenKey(Registry &registry, Registry::Handle key, const QString &name)
{
    QByteArray buffer(BufferSize, '\0');
    quint32 size = BufferSize;
    quint32 type = 0;
    if (registry.queryValue(key, name.toLocal8Bit(), &type, buffer.data(), &size) !=
        Registry::Success)
        return {};

    const QByteArray kept = keptCharacters(buffer, size);
    RegistryValue value{true, QString()};
    if (type == Registry::TypeString)
        value.text = QString::fromLocal8Bit(kept);
    else if (type == Registry::TypeNumber)
        value.text = numberText(kept);
    return value;
}

} // namespace

Registry &Registry::instance()
{
    return installed() ? *installed() : machineRegistry();
}

void Registry::install(Registry *registry)
{
    installed() = registry;
}

RegistryValue readRegistryValue(Registry &registry, RegistryRoot root, const QString &path,
                                const QString &name)
{
    Registry::Handle key = 0;
    if (registry.openKey(root, path.toLocal8Bit(), Registry::FullAccess, &key) != Registry::Success)
        return {};
    const RegistryValue value = queryOpenKey(registry, key, name);
    registry.closeKey(key);
    return value;
}

} // namespace platform
