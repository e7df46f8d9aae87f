#pragma once

#include <QString>

class QWidget;

namespace platform {

enum class Icon { None, Information, Question };
enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No, Cancel };

// The title a message box or an input box shows when it is given none.
QString applicationTitle();

// Starts noting the window the user last pressed a key or a mouse button in; the program
// does so before its first window.
void watchAskingWindow();
// The window a message box belongs over: the one the user last pressed a key or a button in
// while it is still shown, else the active window; none when neither is there.
QWidget *askingWindow();

// Every message box and input box of the program goes through here, so that tests can answer
// them and check exactly what was asked.
class Messages
{
public:
    virtual ~Messages() = default;

    static Messages &instance();
    // Puts a stand-in in place of the real dialogs; nullptr puts the real ones back. The
    // caller keeps ownership.
    static void install(Messages *dialogs);

    // A modal message box. An empty title shows the application title. For Yes/No, Yes is the
    // default button.
    virtual Answer message(const QString &text, const QString &title, Icon icon,
                           Buttons buttons) = 0;
    // A modal input box with an empty answer field and OK/Cancel; Cancel yields the empty
    // text. An empty title shows the application title.
    virtual QString input(const QString &prompt, const QString &title) = 0;
    // A modal file chooser for an existing file; the empty text when it is cancelled (which
    // is all a stand-in that does not script it answers).
    virtual QString openFileName(const QString &title, const QString &filter);
};

} // namespace platform
