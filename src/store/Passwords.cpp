#include "store/Passwords.h"

#include <sodium.h>

namespace store::passwords {

namespace {

// Two passes over 32 MiB: a guess costs an attacker real memory, while a sign-in on an office
// desktop takes a tenth of a second. libsodium's own "moderate" preset takes seconds here.
constexpr unsigned long long OpsLimit = 2;
constexpr size_t MemLimit = size_t(32) << 20;

const QString Prefix = QStringLiteral("$argon2id$");

bool ready()
{
    static const bool initialised = sodium_init() >= 0;
    return initialised;
}

} // namespace

QString hash(const QString &password)
{
    if (!ready())
        return {};
    const QByteArray utf8 = password.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, utf8.constData(), size_t(utf8.size()), OpsLimit, MemLimit) != 0)
        return {};
    return QString::fromLatin1(out);
}

bool isHash(const QString &stored)
{
    return stored.startsWith(Prefix);
}

bool matches(const QString &stored, const QString &typed)
{
    if (!isHash(stored))
        return stored == typed;
    if (!ready())
        return false;
    const QByteArray hashed = stored.toLatin1();
    const QByteArray utf8 = typed.toUtf8();
    return crypto_pwhash_str_verify(hashed.constData(), utf8.constData(), size_t(utf8.size())) == 0;
}

} // namespace store::passwords
