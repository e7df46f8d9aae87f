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
}

void DataGrid::setSource(store::Snapshot *snapshot)
{
    setModel(SnapshotModel::of(snapshot));
}

void DataGrid::refresh()
{
    viewport()->update();
}

} // namespace platform
