#pragma once

namespace store {

// The days of leave every leave record starts with, and the most days one record may take.
constexpr int LeaveEntitlementDays = 18;

} // namespace store
