#!/usr/bin/env bash
# End-to-end smoke test: the real program under a virtual X server, driven like a person
# would drive it. Creates the demo database in a throw-away home folder, signs in as
# admin / admin, sees the main window, opens the report dialog with F2 and cancels it, leaves
# through "Keluar" and Yes, and checks that the program ended by itself with exit code 0.
#
#   smoke.sh KELVARA INITDB
set -euo pipefail

kelvara=$1
initdb=$2
if [[ -z ${DISPLAY:-} || ${KELVARA_SMOKE_INNER:-} != 1 ]]; then
    export KELVARA_SMOKE_INNER=1
    exec xvfb-run -a -s "-noreset -screen 0 1280x1024x24" "$0" "$@"
fi

home=$(mktemp -d)
app_pid=
cleanup() {
    if [[ -n $app_pid ]] && kill -0 "$app_pid" 2>/dev/null; then
        kill "$app_pid"
    fi
    rm -rf "$home"
}
trap cleanup EXIT
export HOME=$home
export QT_QPA_PLATFORM=xcb

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Waits until a window whose title is exactly $1 exists; prints its id.
wait_window() {
    local title=$1 deadline=$((SECONDS + 30)) id
    while ((SECONDS < deadline)); do
        id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n 1 || true)
        if [[ -n $id ]]; then
            echo "$id"
            return 0
        fi
        kill -0 "$app_pid" 2>/dev/null || fail "program ended while waiting for '$title'"
        sleep 0.1
    done
    fail "no window '$title' within 30 s"
}

# Waits until the window with id $1 is no longer visible.
wait_gone() {
    local id=$1 deadline=$((SECONDS + 30))
    while ((SECONDS < deadline)); do
        xdotool search --onlyvisible --name '.*' 2>/dev/null | grep -qx "$id" || return 0
        sleep 0.1
    done
    fail "window $id still shown after 30 s"
}

focus() {
    xdotool windowfocus --sync "$1"
}

"$initdb" --demo >/dev/null || fail "kelvara-initdb --demo failed"
[[ -f "$HOME/Kelvara/DB PT Mardeko.mdb" ]] || fail "demo database not created"

"$kelvara" &
app_pid=$!

login=$(wait_window "Login")
focus "$login"
xdotool type --delay 20 admin
xdotool key Tab
xdotool type --delay 20 admin
xdotool key Return
wait_gone "$login"

main=$(wait_window "Program Utama - Kelvara PT. MARDEKO INDONESIA")
focus "$main"
# F2 shows the report selection dialog; its Cancel button (1215 x 375 twips at 4680, 600)
# unloads it again.
xdotool key F2
dialog=$(wait_window "Seleksi Laporan")
xdotool mousemove --window "$dialog" 352 52 click 1
wait_gone "$dialog"

focus "$main"
xdotool key alt+k
question=$(wait_window "Exit Program")
focus "$question"
xdotool key Return

deadline=$((SECONDS + 30))
while kill -0 "$app_pid" 2>/dev/null; do
    ((SECONDS < deadline)) || fail "program still running 30 s after Yes"
    sleep 0.1
done
status=0
wait "$app_pid" || status=$?
app_pid=
[[ $status -eq 0 ]] || fail "program exited with $status"
echo "smoke test passed: sign-in, main window, report dialog, exit"
