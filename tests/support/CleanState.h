#pragma once

// What one test leaves behind never reaches the next: every window closed, the arrow pointer,
// no database open, the machine's registry in place of any stand-in, and a message service
// that fails the test at once on a box no script answers. Every test that opens windows calls
// it from init() and cleanup(); a TestDatabase calls it as it comes and as it goes.
void startClean();
