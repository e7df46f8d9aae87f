#pragma once

#include <QString>

#include <optional>

namespace store {

// The days of leave every leave record starts with, and the most days one record may take.
constexpr int LeaveEntitlementDays = 18;

// The remaining days a leave record stores once the days taken are subtracted from the
// remaining days it holds, as the text written to the database. None when the save must be
// refused: more days taken than the entitlement of 18, or a remainder that would fall below
// nothing or rise above the record's entitlement (asked as "within the limits", so that a
// reading that is no number at all is refused too).
std::optional<QString> remainingAfter(double remaining, double taken, double entitlement);

} // namespace store
