#pragma once

namespace platform::busy {

// The program-wide mouse pointer: the hourglass while a record source works, the arrow once
// a record is current again. Setting it twice does not stack.
void setBusy();
void setNormal();
bool isBusy();

} // namespace platform::busy
