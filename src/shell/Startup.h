#pragma once

#include <QString>

namespace store {
class Status;
}

namespace shell {

// What follows the splash: the sign-in window when the database opens; the first-run window
// when its place holds no database yet, or an Access file; otherwise a message that says why
// the program cannot start, after which no window is left. A database that another program
// holds is offered to be tried again.
void showFirstWindow();

// Shows the sign-in window unless the database cannot be opened, which it then says.
void showSignIn();

// Why the database cannot be opened, with its path and the engine's text.
QString cannotOpenText(const store::Status &status);

// At a sign-in: the day's backup of a database file unless the day has one. A failure, or one
// of the backup taken before an upgrade, is said once and keeps nobody from working.
void backUpToday();

} // namespace shell
