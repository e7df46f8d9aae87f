#include "ScriptedDialogs.h"

#include <QTest>

ScriptedDialogs::ScriptedDialogs(Mode mode) : m_mode(mode)
{
    platform::Dialogs::install(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    platform::Dialogs::install(nullptr);
    if (!m_expected.isEmpty())
        QTest::qFail(qPrintable(QStringLiteral("expected message box never came: ") +
                                m_expected.head().text),
                     __FILE__, __LINE__);
}

void ScriptedDialogs::expect(const QString &text, platform::Answer answer)
{
    m_expected.enqueue({text, answer});
}

platform::Answer ScriptedDialogs::message(const QString &text, const QString &title,
                                          platform::Icon icon, platform::Buttons buttons)
{
    // The real service shows the application title for an untitled box.
    m_asked << Asked{false, text, title.isEmpty() ? platform::applicationTitle() : title, icon,
                     buttons};
    if (m_mode == Strict) {
        if (m_expected.isEmpty() || !text.startsWith(m_expected.head().text)) {
            QTest::qFail(qPrintable(QStringLiteral("unexpected message box: ") + text), __FILE__,
                         __LINE__);
            return platform::Answer::No;
        }
        return m_expected.dequeue().answer;
    }
    if (!m_answers.isEmpty())
        return m_answers.dequeue();
    return buttons == platform::Buttons::YesNo ? platform::Answer::No : platform::Answer::Ok;
}

QString ScriptedDialogs::input(const QString &prompt, const QString &title)
{
    m_asked << Asked{true, prompt, title.isEmpty() ? platform::applicationTitle() : title,
                     platform::Icon::None, platform::Buttons::Ok};
    if (m_mode == Strict && m_inputs.isEmpty())
        QTest::qFail(qPrintable(QStringLiteral("unexpected input box: ") + prompt), __FILE__,
                     __LINE__);
    return m_inputs.isEmpty() ? QString() : m_inputs.dequeue();
}

QString ScriptedDialogs::openFileName(const QString &title, const QString &filter)
{
    m_asked << Asked{true, filter, title.isEmpty() ? platform::applicationTitle() : title,
                     platform::Icon::None, platform::Buttons::Ok};
    return m_files.isEmpty() ? QString() : m_files.dequeue();
}
