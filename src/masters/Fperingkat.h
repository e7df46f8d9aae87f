#pragma once

#include "forms/RecordForm.h"

// The rank window: rank codes with their daily wage and position title. Every save makes the
// employee window's rank look-up read the ranks again.
class Fperingkat : public forms::RecordForm
{
    Q_OBJECT

public:
    explicit Fperingkat(QWidget *parent = nullptr);

protected:
    void afterSaveRefresh() override;
};
