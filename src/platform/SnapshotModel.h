#pragma once

#include <QAbstractTableModel>
#include <QPointer>

#include "store/Snapshot.h"

namespace platform {

// The one item model of a snapshot: every column, headed by its name, showing the display
// text of each value. Grids and combo lists share it.
class SnapshotModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // The model of a snapshot, made on first use and deleted with the snapshot.
    static SnapshotModel *of(store::Snapshot *snapshot);

    store::Snapshot *snapshot() const { return m_snapshot; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    explicit SnapshotModel(store::Snapshot *snapshot);

    QPointer<store::Snapshot> m_snapshot;
};

} // namespace platform
