#pragma once

#include "forms/RecordForm.h"

// The leave card window: each card's code with the first and last day of its period.
class Fkartucuti : public forms::RecordForm
{
    Q_OBJECT

public:
    explicit Fkartucuti(QWidget *parent = nullptr);
};
