#pragma once

#include "platform/reportengine/ReportWindow.h"

// The five leave payment reports, each a single-instance preview window. Closing any of them
// brings the report selection dialog back.
class PaymentReport : public platform::reportengine::ReportWindow
{
    Q_OBJECT

public:
    using ReportWindow::ReportWindow;

protected:
    void reportClosed() override;
};

// The report for all staff.
class DataReport1 : public PaymentReport
{
    Q_OBJECT

public:
    DataReport1();
};

// A department's report: the one of the departments' table whose report is named as the
// window's class.
class DepartmentPaymentReport : public PaymentReport
{
    Q_OBJECT

public:
    explicit DepartmentPaymentReport(const char *report);
};

class LaporanSDM : public DepartmentPaymentReport
{
    Q_OBJECT

public:
    LaporanSDM() : DepartmentPaymentReport(staticMetaObject.className()) {}
};

class Laporanpersonalia : public DepartmentPaymentReport
{
    Q_OBJECT

public:
    Laporanpersonalia() : DepartmentPaymentReport(staticMetaObject.className()) {}
};

class Laporanproduksi : public DepartmentPaymentReport
{
    Q_OBJECT

public:
    Laporanproduksi() : DepartmentPaymentReport(staticMetaObject.className()) {}
};

class Laporansi : public DepartmentPaymentReport
{
    Q_OBJECT

public:
    Laporansi() : DepartmentPaymentReport(staticMetaObject.className()) {}
};

// Shows the report of the department of this name (exactly as the departments' table writes
// it), beside the window that asked when it opens now; false when no department of that name
// has a report.
bool showDepartmentReport(const QString &department, const QWidget *asking = nullptr);
