#!/bin/sh
# Builds the Access reader's library for kelvara-import on Windows: the copy of mdbtools'
# libmdb that Debian's kexi source package carries (src/migration/mdb/3rdparty/mdbtools),
# patched by mdb-patches/*.patch (each says why), over the project's own GLib stand-in
# (tools/import/windows/glib) instead of GLib.
#
# Interface (for the library script and the suite):
#   mdb.sh KEXI_SOURCE PREFIX
#       KEXI_SOURCE: the kexi source tree as `apt-get source kexi` unpacks it (read only;
#       the sources are copied to a temporary folder and patched there).
#       PREFIX gets lib/libmdb.a and include/mdbtools.h + include/glib.h; the import is then
#       configured with -DKELVARA_MDB=bundled -DKELVARA_MDB_PREFIX=PREFIX.
#   mdb.sh --fetch DIR
#       runs `apt-get source kexi` in DIR (needs the deb-src entry of the machine's Debian
#       archive) and prints the path of the unpacked tree.
#   mdb.sh --inputs
#       prints the files of the repository the library is built from, to hash for a cache.
# Environment: CC (default x86_64-w64-mingw32-gcc-posix), AR (default: the one beside CC),
# CFLAGS (added to the compiler's flags). For the native checks: CC=gcc AR=ar, or clang with
# sanitizers in CFLAGS.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
stand_in=$(cd "$here/../../tools/import/windows/glib" && pwd)

if [ "${1:-}" = --inputs ]; then
    printf '%s\n' "$here/mdb.sh" "$stand_in/glib.h" "$stand_in/glib.c" "$here"/mdb-patches/*.patch
    exit 0
fi
if [ "${1:-}" = --fetch ]; then
    [ $# -eq 2 ] || { echo "usage: $0 --fetch DIR" >&2; exit 2; }
    mkdir -p "$2"
    (cd "$2" && apt-get source kexi >"$2/apt-get-source.log" 2>&1) ||
        { cat "$2/apt-get-source.log" >&2; exit 1; }
    find "$2" -mindepth 1 -maxdepth 1 -type d -name 'kexi-*' | head -n 1
    exit 0
fi
[ $# -eq 2 ] || { echo "usage: $0 KEXI_SOURCE PREFIX | --fetch DIR | --inputs" >&2; exit 2; }

source_dir=$1/src/migration/mdb/3rdparty/mdbtools
prefix=$2
CC=${CC:-x86_64-w64-mingw32-gcc-posix}
case $CC in
*-gcc-posix) AR=${AR:-${CC%-gcc-posix}-gcc-ar-posix} ;;
*) AR=${AR:-ar} ;;
esac
[ -f "$source_dir/include/mdbtools.h" ] || { echo "no libmdb in $1" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -R "$source_dir/." "$work/"
for patch in "$here"/mdb-patches/*.patch; do
    patch -s -p1 -d "$work" <"$patch"
done

# The same order as kexi's own build; BUILDING_LIBMDB keeps Windows' dllimport off, the
# library being static. The third party's warnings are its own; the stand-in has none.
objects=
for name in catalog data dump file iconv index like map mem money options props sargs \
    stats table worktable write; do
    # shellcheck disable=SC2086 # CFLAGS holds several flags
    "$CC" -std=gnu99 -O2 -g -w -DBUILDING_LIBMDB=1 ${CFLAGS:-} -I"$stand_in" \
        -I"$work/include" -c "$work/libmdb/$name.c" -o "$work/$name.o"
    objects="$objects $work/$name.o"
done
# shellcheck disable=SC2086
"$CC" -std=c11 -O2 -g -Wall -Wextra -Werror ${CFLAGS:-} -c "$stand_in/glib.c" -o "$work/glib.o"

mkdir -p "$prefix/lib" "$prefix/include"
rm -f "$prefix/lib/libmdb.a"
# shellcheck disable=SC2086
"$AR" rcs "$prefix/lib/libmdb.a" $objects "$work/glib.o"
cp "$work/include/mdbtools.h" "$stand_in/glib.h" "$prefix/include/"
