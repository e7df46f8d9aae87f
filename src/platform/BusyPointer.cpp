#include "platform/BusyPointer.h"

#include <QCursor>
#include <QGuiApplication>

namespace platform::busy {

namespace {
bool busy = false;
}

void setBusy()
{
    if (busy)
        return;
    busy = true;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void setNormal()
{
    if (!busy)
        return;
    busy = false;
    QGuiApplication::restoreOverrideCursor();
}

bool isBusy()
{
    return busy;
}

} // namespace platform::busy
