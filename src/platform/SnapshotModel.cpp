#include "platform/SnapshotModel.h"

#include "store/Snapshot.h"

namespace platform {

SnapshotModel *SnapshotModel::of(store::Snapshot *snapshot)
{
    if (!snapshot)
        return nullptr;
    if (auto *existing =
            snapshot->findChild<SnapshotModel *>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new SnapshotModel(snapshot);
}

SnapshotModel::SnapshotModel(store::Snapshot *snapshot)
    : QAbstractTableModel(snapshot), m_snapshot(snapshot)
{
    connect(snapshot, &store::Snapshot::aboutToChange, this, [this] { beginResetModel(); });
    connect(snapshot, &store::Snapshot::changed, this, [this] { endResetModel(); });
}

int SnapshotModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_snapshot ? 0 : m_snapshot->rowCount();
}

int SnapshotModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_snapshot ? 0 : m_snapshot->columnCount();
}

QVariant SnapshotModel::data(const QModelIndex &index, int role) const
{
    if (!m_snapshot || !index.isValid())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m_snapshot->text(index.row(), index.column());
    return {};
}

QVariant SnapshotModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || !m_snapshot)
        return {};
    if (orientation == Qt::Horizontal)
        return m_snapshot->columnNames().value(section);
    return section + 1;
}

} // namespace platform
