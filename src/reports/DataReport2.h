#pragma once

#include "platform/report/ReportWindow.h"

// The payment slips, one per leave record. Closing it brings nothing else back.
class DataReport2 : public platform::report::ReportWindow
{
    Q_OBJECT

public:
    DataReport2();
};
