#include "reports/LaporanRiwayat.h"

#include "reports/ReportLayouts.h"

LaporanRiwayat::LaporanRiwayat() : ReportWindow(reports::historyReport())
{
}
