#pragma once

#include "platform/reportengine/ReportWindow.h"

// The history of changes to the data, newest first: who changed which value of which record,
// when, and what it was before.
class LaporanRiwayat : public platform::reportengine::ReportWindow
{
    Q_OBJECT

public:
    LaporanRiwayat();
};
