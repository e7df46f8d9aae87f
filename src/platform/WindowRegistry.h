#pragma once

#include <QPointer>
#include <QWidget>

namespace platform {

// Windows that exist at most once. Showing one loads it on first use (its constructor is its
// load handling) and otherwise brings the loaded one to the front; a window may also be
// loaded without being shown. Closing a window unloads it: it is deleted, and the next show
// loads it afresh.
class WindowRegistry
{
public:
    template <typename W> static W *find()
    {
        return qobject_cast<W *>(lookup(W::staticMetaObject.className()));
    }

    // Loads the window hidden if it is not loaded; returns the one instance.
    template <typename W> static W *load()
    {
        if (W *existing = find<W>())
            return existing;
        W *window = new W;
        enrol(W::staticMetaObject.className(), window);
        return window;
    }

    // Loads the window if needed, shows it modeless and brings it to the front. A loaded
    // window that has a shownAgain() (a report, which reads its rows anew) is told first.
    template <typename W> static W *show()
    {
        W *window = find<W>();
        if constexpr (requires { window->shownAgain(); }) {
            if (window)
                window->shownAgain();
        }
        if (!window)
            window = load<W>();
        raise(window);
        return window;
    }

    // Closes every loaded window (the end of a test).
    static void closeAll();

private:
    static QWidget *lookup(const char *className);
    static void enrol(const char *className, QWidget *window);
    static void raise(QWidget *window);
};

} // namespace platform
