#pragma once

namespace platform {

// Maps the fonts the reports and windows name (Arial, Times New Roman, Book Antiqua,
// AvantGarde Md BT, MS Sans Serif) to the closest free fonts installed, so that layouts keep
// their widths. Call once after the application object exists; calling again does no harm.
void installFontSubstitutes();

} // namespace platform
