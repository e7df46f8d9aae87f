#pragma once

#include <QString>

// The rules for a user name the tools take, and how they show one stored earlier.
namespace cli {

// Why name cannot be a user's: empty, blanks at its start or end, control characters, or
// characters that show nothing (zero-width, direction controls) and would let two names
// look alike. Empty when it can.
QString userNameProblem(const QString &name);

// The form in which two names are one user: composed alike (NFC) and case folded, so that
// "Ümit" typed with a combining mark and "üMIT" are the same as "Ümit".
QString userNameKey(const QString &name);

// A text as the terminal may show it: control and invisible characters written as <U+XXXX>,
// never passed on as escape sequences.
QString printable(const QString &text);

} // namespace cli
