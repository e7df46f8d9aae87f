#pragma once

#include <QComboBox>

namespace store {
class Snapshot;
}

namespace platform {

// An editable combo box whose list is one column of a snapshot. Its value is its text, chosen
// from the list or typed; every change of the value, by the user or by code, is announced.
class DataCombo : public QComboBox
{
    Q_OBJECT

public:
    explicit DataCombo(QWidget *parent = nullptr);

    // Lists the rows of a snapshot by their list column; the box yields the bound column's
    // value (empty: the list column's). The text is left empty.
    void setRowSource(store::Snapshot *rows, const QString &listColumn,
                      const QString &boundColumn = {});

    QString value() const { return currentText(); }
    // Sets the value and announces it, even when it is the value shown.
    void setValue(const QString &value);

Q_SIGNALS:
    void valueChanged(const QString &value);

private:
    QString m_boundColumn;
};

} // namespace platform
