#!/usr/bin/env bash
# Builds the Debian package from the finished build, unpacks it into a scratch root and
# checks what a desktop needs: the five programs, the icon, a valid desktop entry, the
# runtime dependencies, and that the unpacked programs run.
#   package.sh BUILD_DIR
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log"; fail "cpack failed"; }
debs=("$scratch"/out/kelvara_*.deb)
[[ -f ${debs[0]} ]] || fail "no .deb written"
deb=${debs[0]}

root=$scratch/root
dpkg-deb -x "$deb" "$root"
for program in kelvara kelvara-initdb kelvara-report kelvara-import; do
    [[ -x $root/usr/bin/$program ]] || fail "usr/bin/$program missing or not executable"
done
[[ -f $root/usr/share/icons/hicolor/scalable/apps/kelvara.svg ]] || fail "scalable icon missing"
[[ -f $root/usr/share/icons/hicolor/256x256/apps/kelvara.png ]] || fail "256x256 icon missing"
entry=$root/usr/share/applications/kelvara.desktop
desktop-file-validate "$entry" || fail "desktop entry does not validate"
grep -qx 'Name=Kelvara' "$entry" || fail "desktop entry is not named Kelvara"
grep -qx 'Exec=kelvara' "$entry" || fail "desktop entry does not start kelvara"
grep -q '^Categories=.*Office' "$entry" || fail "desktop entry is not in Office"

depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6sql6 libqt6sql6-sqlite libqt6printsupport6 libsqlite3-0 libmdb3 libsodium23; do
    named="(^|[ ,])$lib([ ,(]|\$)"
    [[ $depends =~ $named ]] || fail "Depends lacks $lib: $depends"
done
[[ $(dpkg-deb -f "$deb" Version) == 1.0.0 ]] || fail "version is not 1.0.0"
[[ $(dpkg-deb -f "$deb" Description) != *";"* ]] || fail "description holds a list separator"

# The unpacked programs work on their own, against the system's libraries.
db=$scratch/demo.mdb
"$root/usr/bin/kelvara-initdb" --demo "$db" >/dev/null || fail "unpacked kelvara-initdb failed"
QT_QPA_PLATFORM=offscreen "$root/usr/bin/kelvara-report" DataReport1 --db "$db" --pdf "$scratch/r.pdf" \
    >/dev/null || fail "unpacked kelvara-report failed"
[[ -s $scratch/r.pdf ]] || fail "unpacked kelvara-report wrote no PDF"
echo "package test passed: $(basename "$deb")"
