#include "ScriptedDialogs.h"

#include <QTest>

namespace {

ScriptedDialogs *current = nullptr;

// Answers every box by failing the test where it was asked.
class Unscripted : public platform::Messages
{
public:
    platform::Answer message(const QString &text, const QString &, platform::Icon,
                             platform::Buttons) override
    {
        QTest::qFail(qPrintable(QStringLiteral("message box with no script: ") + text), __FILE__,
                     __LINE__);
        return platform::Answer::No;
    }
    QString input(const QString &prompt, const QString &) override
    {
        QTest::qFail(qPrintable(QStringLiteral("input box with no script: ") + prompt), __FILE__,
                     __LINE__);
        return {};
    }
    QString openFileName(const QString &title, const QString &) override
    {
        QTest::qFail(qPrintable(QStringLiteral("file chooser with no script: ") + title), __FILE__,
                     __LINE__);
        return {};
    }
};

} // namespace

void ScriptedDialogs::installUnscripted()
{
    static Unscripted unscripted;
    if (!current)
        platform::Messages::install(&unscripted);
}

ScriptedDialogs::ScriptedDialogs(Mode mode) : m_mode(mode), m_previous(current)
{
    current = this;
    platform::Messages::install(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    current = m_previous;
    if (current)
        platform::Messages::install(current);
    else
        installUnscripted();
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
    // A notice has one answer; a question's is the test's to choose.
    if (buttons == platform::Buttons::YesNo) {
        QTest::qFail(qPrintable(QStringLiteral("question with no scripted answer: ") + text),
                     __FILE__, __LINE__);
        return platform::Answer::No;
    }
    return platform::Answer::Ok;
}

QString ScriptedDialogs::input(const QString &prompt, const QString &title)
{
    m_asked << Asked{true, prompt, title.isEmpty() ? platform::applicationTitle() : title,
                     platform::Icon::None, platform::Buttons::Ok};
    if (m_inputs.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("input box with no scripted answer: ") + prompt),
                     __FILE__, __LINE__);
        return {};
    }
    return m_inputs.dequeue();
}

QString ScriptedDialogs::openFileName(const QString &title, const QString &filter)
{
    m_asked << Asked{true, filter, title.isEmpty() ? platform::applicationTitle() : title,
                     platform::Icon::None, platform::Buttons::Ok};
    return m_files.isEmpty() ? QString() : m_files.dequeue();
}
