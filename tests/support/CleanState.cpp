#include "CleanState.h"

#include "ScriptedDialogs.h"

#include "platform/BusyPointer.h"
#include "platform/Registry.h"
#include "platform/WindowRegistry.h"
#include "store/Database.h"
#include "store/History.h"

#include <QCoreApplication>
#include <QEvent>

void startClean()
{
    platform::WindowRegistry::closeAll();
    // Windows that closed themselves go now, not in the middle of the next test.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    platform::busy::setNormal();
    ScriptedDialogs::installUnscripted();
    platform::Registry::install(nullptr);
    store::Database::close();
    store::Database::setPath(QString());
    store::Database::setServerFile(QString());
    store::history::setActor(QString());
}
