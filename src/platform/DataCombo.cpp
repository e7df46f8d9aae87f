#include "platform/DataCombo.h"

#include "platform/SnapshotModel.h"
#include "store/Snapshot.h"

#include <QLineEdit>
#include <QListView>

namespace platform {

DataCombo::DataCombo(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // The typed text is the value: no completion rewrites it.
    setCompleter(nullptr);
    // Sizing to the contents would measure every entry of a long list.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(4);
    auto *list = new QListView(this);
    list->setUniformItemSizes(true);
    setView(list);
    setMaxVisibleItems(12);
    connect(this, &QComboBox::editTextChanged, this, &DataCombo::valueChanged);
}

void DataCombo::setRowSource(store::Snapshot *rows, const QString &listColumn,
                             const QString &boundColumn)
{
    m_boundColumn = boundColumn.isEmpty() ? listColumn : boundColumn;
    const QString text = currentText();
    const QSignalBlocker quiet(this);
    setModel(SnapshotModel::of(rows));
    setModelColumn(rows ? std::max(0, rows->columnIndex(listColumn)) : 0);
    setCurrentIndex(-1);
    setEditText(text);
}

void DataCombo::setValue(const QString &value)
{
    // The value is announced also when it stays the same: the record shown has changed, and
    // what hangs on the value (a look-up) must follow that record.
    if (value != currentText())
        setEditText(value);
    else
        Q_EMIT valueChanged(value);
}

} // namespace platform
