#include "reports/PaymentReports.h"

#include "platform/WindowRegistry.h"
#include "reports/Dialog.h"
#include "reports/ReportLayouts.h"

void PaymentReport::reportClosed()
{
    platform::WindowRegistry::show<Dialog>();
}

DataReport1::DataReport1() : PaymentReport(reports::dataReport1())
{
}

namespace {

const store::DepartmentReport &departmentOf(const char *report)
{
    for (const store::DepartmentReport &row : store::DepartmentReports) {
        if (qstrcmp(row.report, report) == 0)
            return row;
    }
    Q_UNREACHABLE(); // every department report class is named in the table
}

// Shows the window whose class the report names.
template <typename... Windows> bool showNamed(const char *report)
{
    return ((qstrcmp(report, Windows::staticMetaObject.className()) == 0 &&
             platform::WindowRegistry::show<Windows>()) ||
            ...);
}

} // namespace

DepartmentPaymentReport::DepartmentPaymentReport(const char *report)
    : PaymentReport(reports::departmentReport(departmentOf(report)))
{
}

bool showDepartmentReport(const QString &department)
{
    for (const store::DepartmentReport &row : store::DepartmentReports) {
        if (department == QLatin1String(row.department))
            return showNamed<LaporanSDM, Laporanpersonalia, Laporanproduksi, Laporansi>(row.report);
    }
    return false;
}
