#include "platform/DataGrid.h"

#include "platform/SnapshotModel.h"

#include <QHeaderView>

namespace platform {

DataGrid::DataGrid(QWidget *parent) : QTableView(parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    // Fixed row heights keep a grid of a hundred thousand rows as quick as one of ten.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setDefaultSectionSize(110);
    // Columns fit their content up to a width that leaves room for the others; the sizing
    // looks at a hundred rows, the shown ones first, so a large table sizes as quickly as a
    // small one. The column header's precision counts those rows (left alone, it reads a
    // thousand on every filter keystroke).
    horizontalHeader()->setMaximumSectionSize(MaximumColumnWidth);
    horizontalHeader()->setResizeContentsPrecision(100);
}

void DataGrid::setSource(store::Snapshot *snapshot)
{
    SnapshotModel *rows = SnapshotModel::of(snapshot);
    setModel(rows);
    if (rows)
        connect(rows, &QAbstractItemModel::modelReset, this, &DataGrid::fitColumns);
    fitColumns();
}

void DataGrid::fitColumns()
{
    resizeColumnsToContents();
}

void DataGrid::refresh()
{
    viewport()->update();
}

} // namespace platform
