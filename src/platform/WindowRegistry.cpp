#include "platform/WindowRegistry.h"

#include <QHash>

namespace platform {

namespace {

QHash<QByteArray, QPointer<QWidget>> &windows()
{
    static QHash<QByteArray, QPointer<QWidget>> loaded;
    return loaded;
}

} // namespace

QWidget *WindowRegistry::lookup(const char *className)
{
    return windows().value(QByteArray(className)).data();
}

void WindowRegistry::enrol(const char *className, QWidget *window)
{
    // Windows have no owner: closing one deletes it, which unloads it.
    window->setAttribute(Qt::WA_DeleteOnClose);
    windows().insert(QByteArray(className), window);
}

void WindowRegistry::raise(QWidget *window)
{
    window->show();
    if (window->isMinimized())
        window->showNormal();
    window->raise();
    window->activateWindow();
}

void WindowRegistry::closeAll()
{
    const auto loaded = windows().values();
    windows().clear();
    for (const QPointer<QWidget> &window : loaded) {
        if (window)
            delete window.data();
    }
}

} // namespace platform
