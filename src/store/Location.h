#pragma once

#include <QString>

namespace store {

// The one place that knows where the company's database lives.
QString databasePath();

} // namespace store
