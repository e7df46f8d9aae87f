// Imports an Access file as kelvara-import does, but after the first row is copied says
// "copying" and waits for a line on standard input: a test signals it there, in the middle
// of the copy.
//   import_child SOURCE.mdb TARGET
#include "import/Importer.h"
#include "import/MdbSource.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    QString error;
    const auto source = accessimport::openAccess(QString::fromLocal8Bit(argv[1]), error);
    if (!source)
        return 1;
    accessimport::Importer importer(*source);
    importer.setProgress(1, [](const QString &, qint64 done, qint64) {
        if (done != 1)
            return;
        std::puts("copying");
        std::fflush(stdout);
        std::getchar();
    });
    return importer.run(QString::fromLocal8Bit(argv[2])).written ? 0 : 1;
}
