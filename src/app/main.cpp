#include "platform/WindowRegistry.h"
#include "shell/ShellSupport.h"
#include "shell/frmSplash.h"

#include <QApplication>

// The program starts with its splash and ends when its last visible window closes.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvara"));
    shell::prepareProgram();
    platform::WindowRegistry::show<frmSplash>();
    return QApplication::exec();
}
