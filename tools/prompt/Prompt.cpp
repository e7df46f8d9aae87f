#include "Prompt.h"

#include <cstdio>
#include <iostream>
#include <string>

#ifdef Q_OS_UNIX
#include <termios.h>
#include <unistd.h>
#endif

namespace prompt {

namespace {

std::optional<QString> readLine()
{
    std::string line;
    if (!std::getline(std::cin, line))
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return QString::fromStdString(line);
}

} // namespace

std::optional<QString> askLine(const QString &prompt, bool hidden)
{
    std::fputs(qPrintable(prompt), stdout);
    std::fflush(stdout);
#ifdef Q_OS_UNIX
    termios saved{};
    const bool quiet = hidden && isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &saved) == 0;
    if (quiet) {
        termios silent = saved;
        silent.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
    }
#else
    Q_UNUSED(hidden);
    const bool quiet = false;
#endif
    const std::optional<QString> line = readLine();
#ifdef Q_OS_UNIX
    if (quiet) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fputs("\n", stdout);
    }
#endif
    return line;
}

std::optional<QString> newPassword(bool fromStdin, QString &problem)
{
    std::optional<QString> first =
        fromStdin ? readLine() : askLine(QStringLiteral("Password: "), true);
    if (first && !fromStdin) {
        const std::optional<QString> again = askLine(QStringLiteral("Ulangi password: "), true);
        if (again != first) {
            problem = QStringLiteral("Kedua password tidak sama.");
            return std::nullopt;
        }
    }
    if (!first || first->isEmpty()) {
        problem = QStringLiteral("Password tidak boleh kosong.");
        return std::nullopt;
    }
    return first;
}

} // namespace prompt
