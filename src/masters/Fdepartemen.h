#pragma once

#include "forms/RecordForm.h"

// The department window: codes and names of the departments.
class Fdepartemen : public forms::RecordForm
{
    Q_OBJECT

public:
    explicit Fdepartemen(QWidget *parent = nullptr);
};
