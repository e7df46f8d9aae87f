#pragma once

#include "forms/RecordForm.h"
#include "store/Leave.h"
#include "store/Recordset.h"

class QLineEdit;

// The leave processing window: per employee and leave card the entitlement, the days taken
// and the days that remain, with the money amounts of every record on the browse page.
class FCuti : public forms::RecordForm
{
    Q_OBJECT

public:
    explicit FCuti(QWidget *parent = nullptr);

protected:
    void afterAddNew() override;
    std::optional<platform::Refusal> checkRecord(platform::DataControl::Action action,
                                                 platform::PendingRecord &record) override;

private:
    void buildFields();
    void openLookups();
    void showEmployeeName(const QString &nip);

    store::Snapshot *m_employees = nullptr; // Adopegawai, the list of DataCombo1
    store::Snapshot *m_cards = nullptr;     // Adodc2, the list of DataCombo2
    store::Recordset m_names;               // Data2, the employee-name look-up
    platform::DataCombo *m_nip = nullptr;
    platform::DataCombo *m_card = nullptr;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_entitlement = nullptr;
    QLineEdit *m_taken = nullptr;
    QLineEdit *m_remaining = nullptr;
};
