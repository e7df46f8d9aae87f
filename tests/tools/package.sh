#!/usr/bin/env bash
# Builds the Debian package from the finished build, has lintian judge it (any error fails),
# unpacks it into a scratch root and checks what a desktop needs: the five programs with their
# manual pages, the icons, a valid desktop entry and AppStream metadata, the copyright and
# changelog, the runtime dependencies, and that the unpacked programs run.
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

# Lintian's errors fail the test; its warnings are listed.
lintian --tag-display-limit 0 "$deb" >"$scratch/lintian.log" 2>&1 || true
grep -v 'root privileges' "$scratch/lintian.log" || true
! grep -q '^E: ' "$scratch/lintian.log" || fail "lintian reports errors"

root=$scratch/root
dpkg-deb -x "$deb" "$root"
tools=(kelvara-initdb kelvara-report kelvara-import kelvara-user kelvara-backup)
for program in kelvara "${tools[@]}"; do
    [[ -x $root/usr/bin/$program ]] || fail "usr/bin/$program missing or not executable"
    page=$root/usr/share/man/man1/$program.1.gz
    [[ -f $page ]] || fail "no manual page for $program"
done
# Each tool's manual page names every option its --help lists.
for tool in "${tools[@]}"; do
    page=$(zcat "$root/usr/share/man/man1/$tool.1.gz" | sed 's/\\-/-/g')
    for option in $("$root/usr/bin/$tool" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
        [[ $page == *"$option"* ]] || fail "manual page of $tool lacks $option"
    done
done
[[ -f $root/usr/share/icons/hicolor/scalable/apps/kelvara.svg ]] || fail "scalable icon missing"
for size in 16 24 32 48 64 128 256; do
    icon=$root/usr/share/icons/hicolor/${size}x$size/apps/kelvara.png
    [[ $(file -b "$icon" 2>/dev/null) == *"$size x $size"* ]] || fail "no ${size}px icon"
done
doc=$root/usr/share/doc/kelvara
grep -q '^License: GPL-3+' "$doc/copyright" || fail "copyright names no GPL-3+ licence"
zcat "$doc/changelog.gz" | head -n 1 | grep -q '^kelvara (1\.0\.0)' || fail "changelog lacks 1.0.0"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml >"$scratch/as.log" 2>&1 ||
    { cat "$scratch/as.log"; fail "AppStream metadata does not validate"; }
entry=$root/usr/share/applications/kelvara.desktop
desktop-file-validate "$entry" || fail "desktop entry does not validate"
grep -qx 'Name=Kelvara' "$entry" || fail "desktop entry is not named Kelvara"
grep -qx 'Exec=kelvara' "$entry" || fail "desktop entry does not start kelvara"
grep -q '^Categories=.*Office' "$entry" || fail "desktop entry is not in Office"

depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6printsupport6 libsqlite3-0 libmdb3 libsodium23 libpq5; do
    named="(^|[ ,])$lib([ ,(]|\$)"
    [[ $depends =~ $named ]] || fail "Depends lacks $lib: $depends"
done
# The store reaches each engine one way, through the engine's own library: no Qt SQL and no
# Qt database driver, which can carry a copy of SQLite of its own.
[[ ! $depends =~ libqt6sql6 ]] || fail "Depends names Qt SQL or a Qt database driver: $depends"
[[ $(dpkg-deb -f "$deb" Version) == 1.0.0 ]] || fail "version is not 1.0.0"
[[ $(dpkg-deb -f "$deb" Description) != *";"* ]] || fail "description holds a list separator"

# The unpacked programs work on their own, against the system's libraries.
db=$scratch/demo.mdb
"$root/usr/bin/kelvara-initdb" --demo "$db" >/dev/null || fail "unpacked kelvara-initdb failed"
QT_QPA_PLATFORM=offscreen "$root/usr/bin/kelvara-report" DataReport1 --db "$db" --pdf "$scratch/r.pdf" \
    >/dev/null || fail "unpacked kelvara-report failed"
[[ -s $scratch/r.pdf ]] || fail "unpacked kelvara-report wrote no PDF"
echo "package test passed: $(basename "$deb")"
