#!/usr/bin/env bash
# Installs what Kelvara needs from Debian's packages, where missing: to build and run it
# (debian-packages.txt), and with "test" also what the tests need (debian-packages-test.txt).
# Runs as root, or through sudo otherwise.
#   setup.sh [test]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
lists=("$here/debian-packages.txt")
[[ ${1:-} == test ]] && lists+=("$here/debian-packages-test.txt")
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
