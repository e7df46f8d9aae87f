#include "store/Leave.h"

#include "store/Values.h"

#include <algorithm>
#include <cmath>

namespace store {

std::optional<QString> remainingAfter(double remaining, double taken, double entitlement)
{
    const double left = remaining - taken;
    if (!(taken <= LeaveEntitlementDays && left >= 0 && left <= entitlement))
        return std::nullopt;
    // Written from the operands' scale: the subtraction's leftovers never reach the database.
    return writeNumber(left, std::max(std::fabs(remaining), std::fabs(taken)));
}

} // namespace store
