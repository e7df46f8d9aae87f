#pragma once

#include "platform/reportengine/ReportWindow.h"

// The payment slips, one per leave record. Closing it brings nothing else back.
class DataReport2 : public platform::reportengine::ReportWindow
{
    Q_OBJECT

public:
    DataReport2();
};
