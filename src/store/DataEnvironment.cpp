#include "store/DataEnvironment.h"

#include "store/Departments.h"
#include "store/History.h"
#include "store/Snapshot.h"

#include <vector>

namespace store {

namespace {

struct Command
{
    QString name;
    QString source;
};

const std::vector<Command> &commands()
{
    static const std::vector<Command> list = [] {
        std::vector<Command> made = {
            {QStringLiteral("Pegawai"), QStringLiteral("Pegawai")},
            {QStringLiteral("Departemen"), QStringLiteral("Departemen")},
            {QStringLiteral("Peringkat"), QStringLiteral("Peringkat")},
            {QStringLiteral("Cuti"), QStringLiteral("Cuti")},
            {QStringLiteral("LaporanUpah"), QStringLiteral("QupahSisaCuti")}};
        for (const DepartmentReport &row : DepartmentReports)
            made.push_back({QLatin1String(row.command), QLatin1String(row.view)});
        made.push_back({QStringLiteral("Kartu"), QStringLiteral("Periode")});
        made.push_back({QStringLiteral("Riwayat"), history::view()});
        return made;
    }();
    return list;
}

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
    for (const Command &c : commands())
        names << c.name;
    return names;
}

QString DataEnvironment::sourceOf(const QString &command) const
{
    for (const Command &c : commands()) {
        if (command.compare(c.name, Qt::CaseInsensitive) == 0)
            return c.source;
    }
    return {};
}

QString DataEnvironment::rowSetOf(const QString &command) const
{
    for (const Command &c : commands()) {
        if (command.compare(c.name, Qt::CaseInsensitive) == 0)
            return QStringLiteral("rs") + c.name;
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
