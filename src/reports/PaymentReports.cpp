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

LaporanSDM::LaporanSDM()
    : PaymentReport(reports::departmentReport(reports::Department::SumberDayaManusia))
{
}

Laporanpersonalia::Laporanpersonalia()
    : PaymentReport(reports::departmentReport(reports::Department::Personalia))
{
}

Laporanproduksi::Laporanproduksi()
    : PaymentReport(reports::departmentReport(reports::Department::Produksi))
{
}

Laporansi::Laporansi()
    : PaymentReport(reports::departmentReport(reports::Department::SistemInformasi))
{
}
