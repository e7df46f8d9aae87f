#pragma once

#include <QWidget>

class QRadioButton;

namespace platform {
class DataCombo;
}

// "Seleksi Laporan": the choice between the report for all staff and the report of one of
// four departments. It has no close box: OK shows a report, Cancel unloads it.
class Dialog : public QWidget
{
    Q_OBJECT

public:
    explicit Dialog(QWidget *parent = nullptr);

private:
    void build();
    void ok();

    QRadioButton *m_department = nullptr;
    QRadioButton *m_allStaff = nullptr;
    platform::DataCombo *m_departments = nullptr;
};
