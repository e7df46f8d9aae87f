#!/usr/bin/env bash
# Takes the README's screenshot: the main window after signing in to the demo database,
# under a virtual X server, with a throw-away home folder.
#   scripts/screenshot.sh BUILD OUT.png
set -euo pipefail
build=$1
out=$(realpath -m "$2")
if [[ ${KELVARA_SHOT_INNER:-} != 1 ]]; then
    export KELVARA_SHOT_INNER=1
    exec xvfb-run -a -s "-noreset -screen 0 1024x768x24" "$0" "$@"
fi
home=$(mktemp -d)
trap 'kill $pid 2>/dev/null || true; rm -rf "$home"' EXIT
export HOME=$home QT_QPA_PLATFORM=xcb
"$build/tools/initdb/kelvara-initdb" --demo >/dev/null
"$build/src/app/kelvara" &
pid=$!
until id=$(xdotool search --onlyvisible --name '^Login$' 2>/dev/null | head -n 1) && [[ -n $id ]]; do
    sleep 0.2
done
xdotool windowfocus --sync "$id"
xdotool type --delay 20 admin; xdotool key Tab; xdotool type --delay 20 admin; xdotool key Return
sleep 2
import -window root "$out"
convert "$out" -trim +repage "$out"
echo "$out"
