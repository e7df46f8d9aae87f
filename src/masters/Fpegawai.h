#pragma once

#include "forms/RecordForm.h"
#include "store/Recordset.h"

class QLineEdit;

// The employee window. The rank and department codes are picked from lists; the rank's title
// is copied into the employee and the department's name is shown beside its code.
class Fpegawai : public forms::RecordForm
{
    Q_OBJECT

public:
    explicit Fpegawai(QWidget *parent = nullptr);

    // Reads the ranks of the rank look-up again (after the rank window saved one).
    store::Status refreshRankLookup();

private:
    void lookUpRank(const QString &code);
    void lookUpDepartment(const QString &code);

    store::Recordset m_ranks;       // Dataperingkat
    store::Recordset m_departments; // Data2
    QLineEdit *m_title = nullptr;
    QLineEdit *m_departmentName = nullptr;
};
