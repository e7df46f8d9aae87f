#include "platform/WindowRegistry.h"
#include "platform/report/FontSubstitutes.h"
#include "shell/frmSplash.h"

#include <QApplication>

// The program starts with its splash and ends when its last visible window closes.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvara"));
    // The windows and reports name Windows fonts; the free look-alikes must stand in for them
    // before the first window measures its text.
    platform::installFontSubstitutes();
    platform::WindowRegistry::show<frmSplash>();
    return QApplication::exec();
}
