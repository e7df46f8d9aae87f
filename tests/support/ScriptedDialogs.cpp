#include "ScriptedDialogs.h"

ScriptedDialogs::ScriptedDialogs()
{
    platform::Dialogs::install(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    platform::Dialogs::install(nullptr);
}

platform::Answer ScriptedDialogs::message(const QString &text, const QString &title,
                                          platform::Icon icon, platform::Buttons buttons)
{
    // The real service shows the application title for an untitled box.
    m_asked << Asked{false, text, title.isEmpty() ? platform::applicationTitle() : title, icon,
                     buttons};
    if (!m_answers.isEmpty())
        return m_answers.dequeue();
    return buttons == platform::Buttons::YesNo ? platform::Answer::No : platform::Answer::Ok;
}

QString ScriptedDialogs::input(const QString &prompt, const QString &title)
{
    m_asked << Asked{true, prompt, title.isEmpty() ? platform::applicationTitle() : title,
                     platform::Icon::None, platform::Buttons::Ok};
    return m_inputs.isEmpty() ? QString() : m_inputs.dequeue();
}
