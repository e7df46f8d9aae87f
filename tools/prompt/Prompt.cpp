#include "Prompt.h"

#include <cstdio>
#include <iostream>
#include <string>

#ifdef Q_OS_WIN
#include <windows.h>
#else
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

// While it lives, what is typed on the terminal (or the Windows console) is not shown; does
// nothing when the input is not one.
class HiddenTyping
{
public:
    explicit HiddenTyping(bool wanted)
    {
#ifdef Q_OS_WIN
        m_input = GetStdHandle(STD_INPUT_HANDLE);
        m_quiet = wanted && GetConsoleMode(m_input, &m_saved);
        if (m_quiet)
            SetConsoleMode(m_input, m_saved & ~DWORD(ENABLE_ECHO_INPUT));
#else
        m_quiet = wanted && isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &m_saved) == 0;
        if (m_quiet) {
            termios silent = m_saved;
            silent.c_lflag &= ~tcflag_t(ECHO);
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
        }
#endif
    }

    ~HiddenTyping()
    {
        if (!m_quiet)
            return;
#ifdef Q_OS_WIN
        SetConsoleMode(m_input, m_saved);
#else
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &m_saved);
#endif
        // The typed line's end was not shown either.
        std::fputs("\n", stdout);
    }

    HiddenTyping(const HiddenTyping &) = delete;
    HiddenTyping &operator=(const HiddenTyping &) = delete;

private:
    bool m_quiet = false;
#ifdef Q_OS_WIN
    HANDLE m_input = nullptr;
    DWORD m_saved = 0;
#else
    termios m_saved{};
#endif
};

} // namespace

std::optional<QString> askLine(const QString &prompt, bool hidden)
{
    std::fputs(qPrintable(prompt), stdout);
    std::fflush(stdout);
    const HiddenTyping hiding(hidden);
    return readLine();
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
