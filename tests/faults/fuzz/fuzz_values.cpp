#include "store/Values.h"

#include <QString>

#include <cctype>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

// The number reader takes whatever a box holds: it must never fail, never give NaN, agree
// with the C library on plain numbers, and read back exactly what the writer wrote.

namespace {

// An optional minus, digits with at most one point and an optional exponent: the texts on
// which strtod is an independent judge (the reader also skips blanks, which strtod does not).
bool isPlainNumber(const std::string &s)
{
    size_t i = s[0] == '-' ? 1 : 0;
    bool digit = false;
    bool point = false;
    for (; i < s.size() && (std::isdigit(static_cast<unsigned char>(s[i])) || s[i] == '.'); ++i) {
        if (s[i] == '.') {
            if (point)
                return false;
            point = true;
        } else {
            digit = true;
        }
    }
    if (!digit)
        return false;
    if (i == s.size())
        return true;
    if (s[i] != 'e' && s[i] != 'E')
        return false;
    if (++i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    if (i == s.size())
        return false;
    for (; i < s.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(s[i])))
            return false;
    }
    return true;
}

void roundTrip(double value)
{
    if (!std::isfinite(value))
        return;
    const QString written = store::writeNumber(value);
    if (written.contains(u'e') || written.contains(u'E'))
        std::abort();
    // Fifteen significant digits: the text reads back within a rounding of the value, and
    // writing what it reads gives the same text again.
    const double read = store::readNumber(written);
    if (std::fabs(read - value) > std::fabs(value) * 6e-15)
        std::abort();
    if (store::writeNumber(read) != written)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    std::setlocale(LC_ALL, "C");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    const double value = store::readNumber(QString::fromUtf8(bytes.data(), qsizetype(size)));
    if (std::isnan(value))
        std::abort();
    roundTrip(value);
    if (!bytes.empty() && isPlainNumber(bytes)) {
        const double expected = std::strtod(bytes.c_str(), nullptr);
        if (std::memcmp(&expected, &value, sizeof value) != 0 && !(expected == 0 && value == 0))
            std::abort();
    }
    // The raw bytes as a double reach values that no short text spells.
    if (size >= sizeof(double)) {
        double raw;
        std::memcpy(&raw, data, sizeof raw);
        roundTrip(raw);
    }
    return 0;
}
