#pragma once

#include "platform/Messages.h"

#include <QList>
#include <QQueue>
#include <QString>

// A stand-in for the dialog service: answers from a script and records what was asked.
// Installs itself for its lifetime.
//
// A question (Yes/No) or an input box with no scripted answer fails the test at once; a
// notice, which has only one answer, gets OK. A strict script also fails the test at once on
// a message box that it did not expect, and at its end on an expected one that never came.
class ScriptedDialogs : public platform::Messages
{
public:
    enum Mode { Lenient, Strict };
    struct Asked
    {
        bool input = false;
        QString text; // the message or the prompt
        QString title;
        platform::Icon icon = platform::Icon::None;
        platform::Buttons buttons = platform::Buttons::Ok;
    };

    explicit ScriptedDialogs(Mode mode = Lenient);
    ~ScriptedDialogs() override;

    // Puts the service that fails the test at once on any message or input box in place,
    // unless a script is installed: no box ever waits for a person who is not there.
    static void installUnscripted();

    // Strict: the next message box must begin with this text; it gets this answer.
    void expect(const QString &text, platform::Answer answer = platform::Answer::Ok);

    // The next message box gets this answer.
    void answer(platform::Answer answer) { m_answers.enqueue(answer); }
    // The next input box gets this text; the empty text is Cancel.
    void type(const QString &text) { m_inputs.enqueue(text); }
    // The next file chooser picks this file (unscripted ones are cancelled).
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

    Mode m_mode;
    ScriptedDialogs *m_previous;
    QQueue<Expected> m_expected;
    QQueue<platform::Answer> m_answers;
    QQueue<QString> m_inputs;
    QQueue<QString> m_files;
    QList<Asked> m_asked;
};
