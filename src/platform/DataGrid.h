#pragma once

#include <QTableView>

namespace store {
class Snapshot;
}

namespace platform {

// A read-only grid on a snapshot: one column per column of the snapshot, headed by its name.
class DataGrid : public QTableView
{
    Q_OBJECT

public:
    explicit DataGrid(QWidget *parent = nullptr);

    void setSource(store::Snapshot *snapshot);
    // Redisplays the rows of the source as they are, without reading them again.
    void refresh();

private:
    static constexpr int MaximumColumnWidth = 260;
    void fitColumns();
};

} // namespace platform
