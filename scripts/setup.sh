#!/usr/bin/env bash
# Installs what Kelvara needs from Debian's packages, where missing: to build and run it
# (debian-packages.txt), and for each NAME given also the list debian-packages-NAME.txt
# ("test": what the tests need; "windows-test": what the checks under Wine need).
# Runs as root, or through sudo otherwise.
#   setup.sh [NAME...]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
lists=("$here/debian-packages.txt")
for name in "$@"; do
    [[ -f $here/debian-packages-$name.txt ]] || { echo "no package list $name" >&2; exit 2; }
    lists+=("$here/debian-packages-$name.txt")
done
mapfile -t wanted < <(cat "${lists[@]}" | grep -v -E '^\s*(#|$)')

missing=()
for pkg in "${wanted[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$pkg")
done
((${#missing[@]} == 0)) && exit 0

echo "Memasang paket: ${missing[*]}"
sudo=()
if ((EUID != 0)); then
    command -v sudo >/dev/null || { echo "Jalankan sebagai root atau pasang sudo." >&2; exit 1; }
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq "${missing[@]}"
