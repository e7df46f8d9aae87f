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

class LaporanSDM : public PaymentReport
{
    Q_OBJECT

public:
    LaporanSDM();
};

class Laporanpersonalia : public PaymentReport
{
    Q_OBJECT

public:
    Laporanpersonalia();
};

class Laporanproduksi : public PaymentReport
{
    Q_OBJECT

public:
    Laporanproduksi();
};

class Laporansi : public PaymentReport
{
    Q_OBJECT

public:
    Laporansi();
};
