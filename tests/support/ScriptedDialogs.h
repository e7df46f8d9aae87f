#pragma once

#include "platform/Messages.h"

#include <QList>
#include <QQueue>
#include <QString>

// A stand-in for the dialog service: answers from a script and records what was asked.
// Installs itself for its lifetime.
//
// Every box a test meets is scripted. A message box that no expectation waits for, or whose
// text does not begin with the expected one, fails the test at once, as does an input box or a
// file chooser with no scripted answer; at the script's end, an answer that no box took fails
// it too.
class ScriptedDialogs : public platform::Messages
{
public:
    struct Asked
    {
        bool input = false;
        QString text; // the message or the prompt
        QString title;
        platform::Icon icon = platform::Icon::None;
        platform::Buttons buttons = platform::Buttons::Ok;
    };

    ScriptedDialogs();
    ~ScriptedDialogs() override;

    // Puts the service that fails the test at once on any box (message, input, file) in place,
    // unless a script is installed: no box ever waits for a person who is not there.
    static void installUnscripted();

    // The next message box must begin with this text (the empty text takes any message); it
    // gets this answer.
    void expect(const QString &text, platform::Answer answer = platform::Answer::Ok);
    // The next input box gets this text; the empty text is Cancel.
    void type(const QString &text) { m_inputs.enqueue(text); }
    // The next file chooser picks this file; the empty text cancels it.
    void choose(const QString &file) { m_files.enqueue(file); }

    const QList<Asked> &asked() const { return m_asked; }
    // The last thing asked; an empty record when nothing was.
    Asked last() const { return m_asked.isEmpty() ? Asked{} : m_asked.last(); }
    int count() const { return int(m_asked.size()); }
    void clear() { m_asked.clear(); }

    platform::Answer message(const QString &text, const QString &title, platform::Icon icon,
                             platform::Buttons buttons) override;
    QString input(const QString &prompt, const QString &title) override;
    QString openFileName(const QString &title, const QString &filter) override;

private:
    struct Expected
    {
        QString text;
        platform::Answer answer;
    };

    ScriptedDialogs *m_previous;
    QQueue<Expected> m_expected;
    QQueue<QString> m_inputs;
    QQueue<QString> m_files;
    QList<Asked> m_asked;
};
