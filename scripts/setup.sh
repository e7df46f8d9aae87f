#!/usr/bin/env bash
# Installs what Kelvara needs to build, test and run from Debian's packages, where missing.
# Runs as root, or through sudo otherwise.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
mapfile -t wanted < <(grep -v -E '^\s*(#|$)' "$here/debian-packages.txt")

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
