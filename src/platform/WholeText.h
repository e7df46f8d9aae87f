#pragma once

class QLineEdit;

namespace platform {

// Keeps the whole text of a box in sight whenever it changes: a box laid out too narrow for
// its value first takes the free room beside it, then a smaller font, and last the width of
// its window over its neighbours. A shorter text gives the box back its own place and font.
// A text far longer than any window is left to scroll as it would.
void showWhole(QLineEdit *box);

} // namespace platform
