#pragma once

#include "platform/reportengine/Report.h"
#include "store/Departments.h"

#include <QStringList>

#include <optional>

// The layouts of the leave payment reports and of the payment slip.
namespace reports {

using platform::reportengine::ReportDefinition;

// The report for all staff, bound to LaporanUpah.
ReportDefinition dataReport1();
// A department's report: the all-staff layout with that department's row of differences.
ReportDefinition departmentReport(const store::DepartmentReport &department);
// The payment slip, one slip per row of LaporanUpah.
ReportDefinition dataReport2();

// The history of changes to the data, newest first, bound to Riwayat.
ReportDefinition historyReport();

// The reports by name (DataReport1, LaporanSDM, Laporanpersonalia, Laporanproduksi,
// Laporansi, DataReport2, Riwayat); nothing for any other name.
QStringList reportNames();
std::optional<ReportDefinition> reportNamed(const QString &name);

} // namespace reports
