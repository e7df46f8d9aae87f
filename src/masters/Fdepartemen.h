#pragma once

#include "masters/RecordForm.h"

// The department window: codes and names of the departments.
class Fdepartemen : public masters::RecordForm
{
    Q_OBJECT

public:
    explicit Fdepartemen(QWidget *parent = nullptr);
};
