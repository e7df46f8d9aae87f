// Saves departments through the record layer until it is killed. Each code is printed only
// after its save reported success, so the parent knows which saves the user was told about.
#include "store/Database.h"
#include "store/Recordset.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s DATABASE PREFIX DESCRIPTION-LENGTH\n", argv[0]);
        return 2;
    }
    store::Database::setPath(QString::fromLocal8Bit(argv[1]));
    const QString prefix = QString::fromLocal8Bit(argv[2]);
    store::Recordset departments(QStringLiteral("Departemen"));
    store::Status status = departments.open();
    // A long description makes every save touch many pages, so that most kills land in the
    // middle of one.
    const QString description(QString::fromLocal8Bit(argv[3]).toInt(), u'x');
    for (int i = 0; status.ok(); ++i) {
        const QString code = QStringLiteral("%1-%2").arg(prefix).arg(i, 6, 10, QLatin1Char('0'));
        status = departments.addNew();
        if (status.ok())
            status = departments.setValue(QStringLiteral("Kodedepartemen"), code);
        if (status.ok())
            status = departments.setValue(QStringLiteral("Keterangan"), description);
        if (status.ok())
            status = departments.update();
        if (status.ok()) {
            std::printf("%s\n", qPrintable(code));
            std::fflush(stdout);
        }
    }
    std::fprintf(stderr, "%s\n", qPrintable(status.message()));
    return 1;
}
