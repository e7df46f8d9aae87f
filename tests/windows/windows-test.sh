#!/usr/bin/env bash
# Checks the Windows build under Wine, headless, in a Wine prefix of its own: the cross-built
# tests of the store, the record windows, leave, the reports and the tools; then the setup
# program end to end, as a clerk's desk would meet it. Each check prints one PASS or FAIL line;
# the last line counts them, and the exit code is non-zero when any failed.
#   windows-test.sh BUILD [PREFIXES]
# BUILD is the cross build (make windows): bin/ holds the programs and the tests with what they
# load, and kelvara-VERSION-setup.exe the setup program. PREFIXES, the library folders
# separated by ';', lend the tests Qt plugins that bin/ lacks.
# KELVARA_WINE_KEEP=1 keeps the scratch folder (the prefix, the screenshots) for a look.
set -uo pipefail

build=$(realpath "${1:?build folder}")
IFS=';' read -r -a prefixes <<<"${2:-}"
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
version=$(sed -n 's/^project(kelvara VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
setup=$build/kelvara-$version-setup.exe

work=$(mktemp -d /tmp/kelvara-wine.XXXXXX)
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko installer dialogs in a fresh prefix: the programs need neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
drive_c=$WINEPREFIX/drive_c
installed="$drive_c/Program Files/Kelvara"
database="$drive_c/Kelvara/DB PT Mardeko.mdb"
server_state=$work/server
xvfb_pid=

passed=0
failed=0

source "$here/wine-lib.sh"

cleanup() {
    wineserver -k 2>/dev/null
    [[ -f $server_state/folder ]] && bash "$source_dir/tests/server/test-server.sh" stop \
        "$server_state" >/dev/null 2>&1
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
    if [[ ${KELVARA_WINE_KEEP:-} == 1 ]]; then
        echo "Scratch folder kept: $work"
    else
        rm -rf "$work"
    fi
}
trap cleanup EXIT

source "$here/checks.sh"

start_display || { echo "FAIL: Xvfb does not start"; echo "0 passed, 1 failed"; exit 1; }
check "a fresh Wine prefix (wineboot --init)" new_prefix
if [[ ${KELVARA_WINE_SUITE:-1} == 1 ]]; then
    run_suite
fi
check "the setup program installs silently (/S)" install_silently
check "Start-menu entry and Apps and Features registration" registered
check "kelvara-initdb.exe --demo creates C:\\Kelvara\\DB PT Mardeko.mdb" demo_database
check "kelvara.exe: admin/admin typed into the sign-in, the main window appears" sign_in
check "the about box's System Info starts the program the registry names" system_info
check "kelvara-report.exe DataReport2 --pdf writes slips with the demo's amounts" slips_pdf
check "kelvara-import.exe brings sample.mdb across with every row" import_access
check "kelvara-report.exe --server prints from PostgreSQL over TLS (sslmode=require)" \
    server_report
check "the silent uninstaller removes Program Files\\Kelvara and keeps the database" uninstall_silently

echo "$passed passed, $failed failed"
((failed == 0))
