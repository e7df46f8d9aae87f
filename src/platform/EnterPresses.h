#pragma once

class QAbstractButton;

namespace platform {

// Enter on a focused button presses it, as on the platform the users come from (Qt presses a
// focused button with Space only).
void pressOnEnter(QAbstractButton *button);

} // namespace platform
