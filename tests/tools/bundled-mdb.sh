#!/bin/sh
# Checks the import against the Access reader of the Windows build (kexi's libmdb over the
# project's GLib stand-in, from scripts/windows/mdb.sh) on this machine: the import tests with
# address and undefined-behaviour sanitizers, then the Access fuzz target.
# Usage: bundled-mdb.sh <source folder> <work folder>. Needs `apt-get source kexi` to answer
# (a deb-src entry for the machine's Debian archive) unless the work folder has it already.
set -eu
src=$1
work=$2
mdb=$src/scripts/windows/mdb.sh
san="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
mkdir -p "$work"

kexi=$(find "$work/kexi" -mindepth 1 -maxdepth 1 -type d -name 'kexi-*' 2>/dev/null | head -n 1)
[ -n "$kexi" ] || kexi=$("$mdb" --fetch "$work/kexi")

CC=gcc AR=ar CFLAGS="$san" "$mdb" "$kexi" "$work/mdb"
cmake -S "$src" -B "$work/build" -DKELVARA_MDB=bundled -DKELVARA_MDB_PREFIX="$work/mdb" \
    -DCMAKE_C_FLAGS="$san" -DCMAKE_CXX_FLAGS="$san" -DCMAKE_EXE_LINKER_FLAGS="$san" \
    >"$work/configure.log" 2>&1 || { cat "$work/configure.log" >&2; exit 1; }
cmake --build "$work/build" -j2 --target test_import_access test_import_convert \
    test_import_rules
# Qt's own allocations that live until exit are no fault of the reader's.
(cd "$work/build" && ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen \
    ctest -R '^test_import_' --output-on-failure)

CC=clang AR=ar CFLAGS="-O1 -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined" \
    "$mdb" "$kexi" "$work/mdb-fuzz"
KELVARA_FUZZ_TARGETS=access \
    KELVARA_FUZZ_CMAKE_ARGS="-DKELVARA_MDB=bundled -DKELVARA_MDB_PREFIX=$work/mdb-fuzz" \
    sh "$src/tests/faults/fuzz/run-fuzz.sh" "$src/tests/faults/fuzz" "$work/fuzz"
