#include "import/MdbSource.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>

// The Access reader takes whatever file it is handed: it must never crash, never touch
// memory out of bounds, never allocate without bound, and every table it opens reads to an
// end. The file goes to disk because the tool reads a file, as the fuzzer's input is read.

namespace {

QString scratchFile()
{
    return QDir::temp().filePath(
        QStringLiteral("fuzz_access-%1.mdb").arg(QCoreApplication::applicationPid()));
}

void readAll(accessimport::Source &source)
{
    for (const QString &name : source.tableNames()) {
        const std::unique_ptr<accessimport::SourceTable> table = source.openTable(name);
        if (!table)
            continue;
        const QList<accessimport::SourceColumn> columns = table->columns();
        accessimport::Row row;
        while (table->next(row)) {
            if (row.size() != columns.size())
                std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = scratchFile();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.close();
    QString error;
    if (const std::unique_ptr<accessimport::Source> source = accessimport::openAccess(path, error))
        readAll(*source);
    return 0;
}
