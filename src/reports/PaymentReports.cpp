#include "reports/PaymentReports.h"

#include "platform/Appearance.h"
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

// Shows a report; one that opens now opens beside the window that asked for it, which stays
// in sight for the next choice.
template <typename Report> bool showBeside(const QWidget *asking)
{
    using platform::WindowRegistry;
    const bool opening = !WindowRegistry::find<Report>();
    Report *report = WindowRegistry::show<Report>();
    if (report && opening && asking)
        platform::placeBeside(report, asking);
    return report;
}

// Shows the window whose class the report names.
template <typename... Windows> bool showNamed(const char *report, const QWidget *asking)
{
    return ((qstrcmp(report, Windows::staticMetaObject.className()) == 0 &&
             showBeside<Windows>(asking)) ||
            ...);
}

} // namespace

DepartmentPaymentReport::DepartmentPaymentReport(const char *report)
    : PaymentReport(reports::departmentReport(departmentOf(report)))
{
}

bool showDepartmentReport(const QString &department, const QWidget *asking)
{
    for (const store::DepartmentReport &row : store::DepartmentReports) {
        if (department == QLatin1String(row.department))
            return showNamed<LaporanSDM, Laporanpersonalia, Laporanproduksi, Laporansi>(row.report,
                                                                                        asking);
    }
    return false;
}
