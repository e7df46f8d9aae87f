#include "store/DataEnvironment.h"

#include "store/Snapshot.h"

namespace store {

namespace {

struct Command
{
    const char16_t *name;
    const char16_t *source;
};

constexpr Command Commands[] = {
    {u"Pegawai", u"Pegawai"},
    {u"Departemen", u"Departemen"},
    {u"Peringkat", u"Peringkat"},
    {u"Cuti", u"Cuti"},
    {u"LaporanUpah", u"QupahSisaCuti"},
    {u"LapBagianPersonalia", u"QlapPersonalia"},
    {u"LapBagianSDM", u"QlapSDM"},
    {u"LapBagianProduksi", u"QlapProduksi"},
    {u"LapBagianSistemInformasi", u"QlapSI"},
    {u"Kartu", u"Periode"},
};

} // namespace

DataEnvironment &DataEnvironment::instance()
{
    static DataEnvironment *environment = nullptr;
    if (!environment)
        environment = new DataEnvironment;
    return *environment;
}

QStringList DataEnvironment::commandNames() const
{
    QStringList names;
    for (const Command &c : Commands)
        names << QString::fromUtf16(c.name);
    return names;
}

QString DataEnvironment::sourceOf(const QString &command) const
{
    for (const Command &c : Commands) {
        if (command.compare(QString::fromUtf16(c.name), Qt::CaseInsensitive) == 0)
            return QString::fromUtf16(c.source);
    }
    return {};
}

QString DataEnvironment::rowSetOf(const QString &command) const
{
    for (const Command &c : Commands) {
        if (command.compare(QString::fromUtf16(c.name), Qt::CaseInsensitive) == 0)
            return QStringLiteral("rs") + QString::fromUtf16(c.name);
    }
    return {};
}

std::unique_ptr<Snapshot> DataEnvironment::command(const QString &name, Status *status,
                                                   const QStringList &columns) const
{
    const QString source = sourceOf(name);
    if (source.isEmpty()) {
        if (status)
            *status = Status::failure(Status::Kind::Other,
                                      QStringLiteral("Perintah data tidak dikenal: %1").arg(name));
        return nullptr;
    }
    auto snapshot = std::make_unique<Snapshot>(source, columns);
    Status opened = snapshot->refresh();
    if (!opened.ok() && !columns.isEmpty()) {
        snapshot = std::make_unique<Snapshot>(source);
        opened = snapshot->refresh();
    }
    if (status)
        *status = opened;
    if (!opened.ok())
        return nullptr;
    return snapshot;
}

Snapshot *DataEnvironment::bind(const QString &name, QObject *consumer, Status *status) const
{
    std::unique_ptr<Snapshot> rows = command(name, status);
    if (rows)
        rows->setParent(consumer);
    return rows.release();
}

} // namespace store
