#pragma once

// The program speaks Indonesian whatever the system's language: Qt's own texts (the standard
// buttons, the file, print and page set-up dialogs, the text boxes' context menu, the
// command-line help) come from the program's own catalogue, and dates, month and day names
// follow the Indonesian locale.
namespace language {

// Call once, right after the application object exists and before the first window or
// command-line parser is made. Returns false when the catalogue could not be loaded.
bool useIndonesian();

} // namespace language
