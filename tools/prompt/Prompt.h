#pragma once

#include <QString>

#include <optional>

namespace prompt {

// Reads one line from standard input after showing the prompt; with hidden set, what is typed
// on a terminal is not echoed. No value at the end of the input.
std::optional<QString> askLine(const QString &prompt, bool hidden);

// A new password: with fromStdin one line read from standard input, for scripts; otherwise
// asked twice without echo. No value, with the reason in problem, when it is empty, the two
// differ or the input ended.
std::optional<QString> newPassword(bool fromStdin, QString &problem);

} // namespace prompt
