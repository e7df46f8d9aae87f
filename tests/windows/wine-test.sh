#!/usr/bin/env bash
# Runs one cross-built test under Wine for ctest (the cross build's emulator). Without a
# console window Qt's test log on Windows goes to the debugger only: the test writes it to a
# file, which is printed after it.
log=$(mktemp /tmp/kelvara-test.XXXXXX.txt)
wine "$@" -o "$(winepath -w "$log"),txt"
status=$?
cat "$log"
rm -f "$log"
exit $status
