#pragma once

#include <QString>

namespace store::passwords {

// An argon2id hash of the password in the PHC string format ("$argon2id$v=19$..."); empty
// when the hash could not be made (out of memory).
QString hash(const QString &password);

// True when the stored value is such a hash rather than a password kept as plain text.
bool isHash(const QString &stored);

// Whether the typed password is the one stored: a hash is verified, a plain-text value from
// an older database is compared exactly, letter case significant.
bool matches(const QString &stored, const QString &typed);

} // namespace store::passwords
