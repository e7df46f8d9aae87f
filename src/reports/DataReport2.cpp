#include "reports/DataReport2.h"

#include "reports/ReportLayouts.h"

DataReport2::DataReport2() : ReportWindow(reports::dataReport2())
{
}
