#include "ScriptedDialogs.h"

#include <QCoreApplication>
#include <QTest>

namespace {

// The tests type into Qt's own file dialogs on every system: Windows' native ones take no
// keys from QTest.
void useQtDialogs()
{
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
}
Q_COREAPP_STARTUP_FUNCTION(useQtDialogs)

ScriptedDialogs *current = nullptr;

// Fails the running test, saying what was asked.
void fail(const char *what, const QString &text)
{
    QTest::qFail(qPrintable(QLatin1String(what) + text), __FILE__, __LINE__);
}

// Answers every box by failing the test.
class Unscripted : public platform::Messages
{
public:
    platform::Answer message(const QString &text, const QString &, platform::Icon,
                             platform::Buttons) override
    {
        fail("message box with no script: ", text);
        return platform::Answer::No;
    }
    QString input(const QString &prompt, const QString &) override
    {
        fail("input box with no script: ", prompt);
        return {};
    }
    QString openFileName(const QString &title, const QString &) override
    {
        fail("file chooser with no script: ", title);
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

ScriptedDialogs::ScriptedDialogs() : m_previous(current)
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
        fail("expected message box never came: ", m_expected.head().text);
    else if (!m_inputs.isEmpty())
        fail("scripted input box never came: ", m_inputs.head());
    else if (!m_files.isEmpty())
        fail("scripted file chooser never came: ", m_files.head());
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
    if (m_expected.isEmpty()) {
        fail("message box with no script: ", text);
        return platform::Answer::No;
    }
    if (!text.startsWith(m_expected.head().text)) {
        fail("unexpected message box: ",
             text + QStringLiteral(" (expected: ") + m_expected.head().text + QLatin1Char(')'));
        return platform::Answer::No;
    }
    return m_expected.dequeue().answer;
}

QString ScriptedDialogs::input(const QString &prompt, const QString &title)
{
    m_asked << Asked{true, prompt, title.isEmpty() ? platform::applicationTitle() : title,
                     platform::Icon::None, platform::Buttons::Ok};
    if (m_inputs.isEmpty()) {
        fail("input box with no script: ", prompt);
        return {};
    }
    return m_inputs.dequeue();
}

QString ScriptedDialogs::openFileName(const QString &title, const QString &filter)
{
    m_asked << Asked{true, filter, title.isEmpty() ? platform::applicationTitle() : title,
                     platform::Icon::None, platform::Buttons::Ok};
    if (m_files.isEmpty()) {
        fail("file chooser with no script: ", title);
        return {};
    }
    return m_files.dequeue();
}
