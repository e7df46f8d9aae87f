#!/bin/bash
# Builds every library the Windows programs link, each from Debian 12's own source package at
# the version Debian carries, with Debian's mingw-w64, into a cache outside the checkout:
#   ~/.cache/kelvara-windows/<library>-<hash>
# The hash covers the library's build function below, its Debian version, the toolchain and the
# hashes of the libraries it builds on, so that changing one library rebuilds only it and what
# links it. A finished folder holds a file `built`; a folder without it is built again.
#
#   scripts/windows/build-libs.sh [--prefixes FILE] [LIBRARY...]
# With no library named it builds them all. --prefixes writes the finished prefixes, separated
# by ';', for CMake (KELVARA_WINDOWS_PREFIXES).
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
CACHE=${KELVARA_WINDOWS_CACHE:-$HOME/.cache/kelvara-windows}
TOOLCHAIN=$ROOT/cmake/mingw-w64.cmake
TRIPLET=x86_64-w64-mingw32
JOBS=${JOBS:-2}
ALL=(zlib sqlite libsodium openssl libpq libxlsxwriter qtbase qsqlite libmdb)

declare -A PACKAGE=([zlib]=zlib [sqlite]=sqlite3 [libsodium]=libsodium [openssl]=openssl
    [libpq]=postgresql-15 [libxlsxwriter]=libxlsxwriter [qtbase]=qt6-base [qsqlite]=qt6-base
    [libmdb]=kexi)
declare -A DEPENDS=([libpq]=openssl [libxlsxwriter]=zlib [qsqlite]="qtbase sqlite")
declare -A HASH PREFIX

log() { printf '%s kelvara-windows: %s\n' "$(date -u +%H:%M:%S)" "$*" >&2; }

# The archive's source packages: a deb-src entry for each deb entry of the same Debian archive
# the machine already uses, added once.
ensure_deb_src() {
    if [ -n "$(version_of zlib 2>/dev/null)" ]; then
        return
    fi
    local list=/etc/apt/sources.list.d/kelvara-src.sources
    log "adding the archive's source packages ($list)"
    if ls /etc/apt/sources.list.d/*.sources >/dev/null 2>&1 &&
        grep -q '^Types: deb$' /etc/apt/sources.list.d/*.sources; then
        grep -h -v '^#' /etc/apt/sources.list.d/debian.sources | sed 's/^Types: deb$/Types: deb-src/' >"$list"
    else
        grep -h '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' >"${list%.sources}.list"
    fi
    apt-get update
}

# The version of a source package to build: the one the machine's own binary packages came
# from when the archive still serves it, else the newest the archive serves. The choice is kept
# beside the download, so that a later run decides the same without asking the archive.
version_of() {
    local package=$1 memo=$CACHE/src/download/$1.version installed version
    if [ -s "$memo" ]; then
        cat "$memo"
        return
    fi
    installed=$(dpkg-query -W -f '${source:Package} ${source:Version}\n' | awk -v p="$package" '$1 == p {print $2; exit}')
    mkdir -p "$CACHE/src/download"
    for version in $( (apt-cache showsrc "$package" | awk '/^Version:/ {print $2}' | grep -Fx "$installed"
        apt-cache showsrc "$package" | awk '/^Version:/ {print $2}' | sort -Vr) | awk '!seen[$0]++'); do
        if (cd "$CACHE/src/download" && apt-get source --download-only "$package=$version") >&2; then
            echo "$version" | tee "$memo"
            return
        fi
    done
    log "no source of $package can be downloaded"
    return 1
}

# The unpacked source of a Debian package (patches applied), kept for the next build.
source_of() {
    local package=$1 version=$2 dir=$CACHE/src/$1-${2#*:}
    if [ ! -d "$dir" ]; then
        rm -rf "$dir.tmp"
        dpkg-source --no-check -x "$CACHE/src/download/${package}_${version#*:}.dsc" "$dir.tmp" >&2
        mv "$dir.tmp" "$dir"
    fi
    echo "$dir"
}

cmake_cross() {
    cmake -G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
        -DKELVARA_WINDOWS_PREFIXES="$(deps_prefixes "$LIB")" "$@"
}

configure_cross() {
    ./configure --host=$TRIPLET CC=$TRIPLET-gcc-posix CXX=$TRIPLET-g++-posix "$@"
}

# ---- one function per library: build_<name> SOURCE PREFIX BUILDDIR ----

# Debian's zlib source leaves out the win32 folder, and with it the DLL's version resource,
# which its CMake build then does without.
build_zlib() {
    local src=$1 prefix=$2
    cp -r "$src"/. source
    sed -i 's/^if(MINGW)$/if(FALSE)/' source/CMakeLists.txt
    cmake_cross -S source -B . -DCMAKE_INSTALL_PREFIX="$prefix"
    make -j"$JOBS" zlib
    make install
}

# The amalgamation is made by the build machine's own compiler and Tcl (SQLite's configure
# does not cross-build its generators), then compiled into a DLL with the same compile-time
# options as Debian's own libsqlite3.
build_sqlite() {
    local src=$1 prefix=$2
    "$src/configure" --disable-tcl --disable-readline
    make sqlite3.c sqlite3.h
    mkdir -p "$prefix/bin" "$prefix/lib/pkgconfig" "$prefix/include"
    $TRIPLET-gcc-posix -shared -O2 -fno-strict-aliasing -DSQLITE_SECURE_DELETE \
        -DSQLITE_ENABLE_COLUMN_METADATA -DSQLITE_ENABLE_FTS3 -DSQLITE_ENABLE_FTS3_PARENTHESIS \
        -DSQLITE_ENABLE_FTS4 -DSQLITE_ENABLE_FTS5 -DSQLITE_ENABLE_RTREE=1 -DSQLITE_SOUNDEX=1 \
        -DSQLITE_ENABLE_UNLOCK_NOTIFY -DSQLITE_OMIT_LOOKASIDE=1 -DSQLITE_ENABLE_DBSTAT_VTAB \
        -DSQLITE_ALLOW_ROWID_IN_VIEW -DSQLITE_ENABLE_UPDATE_DELETE_LIMIT=1 \
        -DSQLITE_ENABLE_LOAD_EXTENSION -DSQLITE_ENABLE_JSON1 -DSQLITE_LIKE_DOESNT_MATCH_BLOBS \
        -DSQLITE_THREADSAFE=1 -DSQLITE_ENABLE_FTS3_TOKENIZER=1 -DSQLITE_USE_URI=1 \
        -DSQLITE_MAX_SCHEMA_RETRY=25 -DSQLITE_ENABLE_PREUPDATE_HOOK -DSQLITE_ENABLE_SESSION \
        -DSQLITE_ENABLE_STMTVTAB -DSQLITE_MAX_VARIABLE_NUMBER=250000 -DSQLITE_ENABLE_MATH_FUNCTIONS \
        sqlite3.c -o "$prefix/bin/libsqlite3-0.dll" -Wl,--out-implib,"$prefix/lib/libsqlite3.dll.a"
    cp sqlite3.h "$src/src/sqlite3ext.h" "$prefix/include/"
    printf '%s\n' "prefix=$prefix" 'Name: SQLite' 'Description: SQL database engine' \
        "Version: $(cat "$src/VERSION")" "Libs: -L$prefix/lib -lsqlite3" "Cflags: -I$prefix/include" \
        >"$prefix/lib/pkgconfig/sqlite3.pc"
}

# Debian's source carries no configure script; it is made as Debian's build makes it.
build_libsodium() {
    local src=$1 prefix=$2
    cp -r "$src"/. source
    (cd source && autoreconf -fi)
    source/configure --host=$TRIPLET --prefix="$prefix" --disable-static
    make -j"$JOBS"
    make install
}

# The two libraries and their headers; the openssl program and the engines are not needed.
build_openssl() {
    local src=$1 prefix=$2
    "$src/Configure" mingw64 --cross-compile-prefix=$TRIPLET- --prefix="$prefix" \
        --libdir=lib shared no-tests no-engine no-module
    make -j"$JOBS" build_libs
    make install_dev
}

# Only the client library, with OpenSSL so that sslmode works as on Linux.
build_libpq() {
    local src=$1 prefix=$2 ssl=${PREFIX[openssl]}
    "$src/configure" --host=$TRIPLET --prefix="$prefix" --with-ssl=openssl \
        --without-readline --without-zlib --without-icu --without-llvm --without-gssapi \
        CPPFLAGS="-I$ssl/include" LDFLAGS="-L$ssl/lib"
    make -C src/interfaces/libpq -j"$JOBS"
    make -C src/interfaces/libpq install
    make -C src/include install
}

build_libxlsxwriter() {
    local src=$1 prefix=$2
    cmake_cross -S "$src" -B . -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=ON \
        -DZLIB_ROOT="${PREFIX[zlib]}" -DUSE_SYSTEM_MINIZIP=OFF -DBUILD_TESTS=OFF -DBUILD_EXAMPLES=OFF
    make -j"$JOBS"
    make install
}

# Qt's widgets, print support and test modules, with SQL for the suite's own checks. Host tools
# (moc, rcc, uic) are Debian's own Qt 6.4.2 in /usr. The Windows platform plugin is built
# without tablet input: Debian's source leaves out the Wacom header wintab.h. The sed lines
# change nothing when run a second time on the kept source.
build_qtbase() {
    local src=$1 prefix=$2 build=$3 plugin=$1/src/plugins/platforms/windows
    sed -i 's/CONDITION QT_FEATURE_tabletevent/CONDITION OFF/' "$plugin/CMakeLists.txt"
    sed -i 's/QT_CONFIG(tabletevent)/0/' "$plugin"/qwindowscontext.cpp \
        "$plugin"/qwindowspointerhandler.cpp "$plugin"/qwindowspointerhandler.h
    # Without OpenGL, Qt 6.4 still takes the dynamic OpenGL branch here and fails to compile.
    sed -i 's/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/' \
        "$plugin/qwindowswindow.cpp"
    # Print support uses the DirectWrite font engine, which Qt 6.4 builds only with Direct2D;
    # the DirectWrite font database stays out with Direct2D, and the platform plugin keeps to
    # its default GDI font database.
    sed -i 's/^\(qt_internal_extend_target(Gui CONDITION\) QT_FEATURE_direct2d AND \(QT_FEATURE_directwrite AND WIN32\)$/\1 \2/' \
        "$src/src/gui/CMakeLists.txt"
    sed -i 's/^#if QT_CONFIG(directwrite3)$/#if QT_CONFIG(directwrite3) \&\& QT_CONFIG(direct2d)/' \
        "$plugin/qwindowsintegration.cpp"
    cmake_cross -S "$src" -B "$build" -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_QMAKE_TARGET_MKSPEC=win32-g++ -DQT_USE_CCACHE=ON -DBUILD_SHARED_LIBS=ON \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
        -DFEATURE_network=OFF -DFEATURE_opengl=OFF -DFEATURE_dbus=OFF -DFEATURE_vulkan=OFF \
        -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_direct2d=OFF \
        -DFEATURE_freetype=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=ON \
        -DFEATURE_sql=ON -DFEATURE_sql_sqlite=OFF -DFEATURE_sql_odbc=OFF \
        -DFEATURE_sql_psql=OFF -DFEATURE_sql_mysql=OFF -DFEATURE_sql_ibase=OFF \
        -DFEATURE_sql_oci=OFF -DFEATURE_sql_db2=OFF \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF \
        -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_doubleconversion=OFF
    make -C "$build" -j"$JOBS"
    make -C "$build" install
}

# Qt SQL's SQLite driver, built apart from Qt against the SQLite above: the suite plays a
# second program on a database file through it.
build_qsqlite() {
    local src=$1 prefix=$2 built
    cmake_cross -S "$src/src/plugins/sqldrivers" -B . -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DSQLite3_ROOT="${PREFIX[sqlite]}" -DFEATURE_sql_sqlite=ON -DFEATURE_system_sqlite=ON \
        -DFEATURE_sql_odbc=OFF -DFEATURE_sql_psql=OFF -DFEATURE_sql_mysql=OFF \
        -DFEATURE_sql_ibase=OFF -DFEATURE_sql_oci=OFF -DFEATURE_sql_db2=OFF
    make -j"$JOBS"
    built=$(find . -name qsqlite.dll | head -1)
    install -D "$built" "$prefix/plugins/sqldrivers/qsqlite.dll"
}

# The Access reader: the copy of libmdb in Debian's kexi source, over the project's own GLib
# stand-in (scripts/windows/mdb.sh says how).
build_libmdb() {
    local src=$1 prefix=$2
    sh "$ROOT/scripts/windows/mdb.sh" "$src" "$prefix"
}

# ---- driver ----

lib_hash() {
    local lib=$1 dep deps=""
    for dep in ${DEPENDS[$lib]:-}; do
        deps+="${HASH[$dep]} "
    done
    {
        declare -f "build_$lib" || true
        if [ "$lib" = libmdb ] && [ -e "$ROOT/scripts/windows/mdb.sh" ]; then
            sh "$ROOT/scripts/windows/mdb.sh" --inputs | xargs cat
        fi
        echo "${PACKAGE[$lib]} $(version_of "${PACKAGE[$lib]}") $deps"
        cat "$TOOLCHAIN"
        $TRIPLET-g++-posix --version | head -1
    } | sha256sum | cut -c1-12
}

deps_prefixes() {
    local dep out=""
    for dep in ${DEPENDS[$1]:-}; do
        out+="${PREFIX[$dep]};"
    done
    echo "${out%;}"
}

build_one() {
    LIB=$1
    local prefix=${PREFIX[$LIB]} package=${PACKAGE[$LIB]}
    if [ -e "$prefix/built" ]; then
        return
    fi
    if [ "$LIB" = libmdb ] && [ ! -e "$ROOT/scripts/windows/mdb.sh" ]; then
        log "no scripts/windows/mdb.sh: the Access reader is not built"
        return
    fi
    local version src build=$CACHE/build/$LIB started
    version=$(version_of "$package")
    log "building $LIB from $package $version into $prefix (log: $CACHE/logs/$LIB.log)"
    src=$(source_of "$package" "$version")
    rm -rf "$prefix" "$build"
    mkdir -p "$build" "$CACHE/logs"
    started=$(date +%s)
    # Started apart and waited for, so that set -e stops the build at its first failing step
    # (inside an if or a || it would not).
    (cd "$build" && "build_$LIB" "$src" "$prefix" "$build") >"$CACHE/logs/$LIB.log" 2>&1 &
    if ! wait $!; then
        log "building $LIB failed; the end of its log:"
        tail -30 "$CACHE/logs/$LIB.log" >&2
        exit 1
    fi
    echo "$package $version built in $(($(date +%s) - started)) s" >"$prefix/built"
    rm -rf "$build"
    log "$(cat "$prefix/built")"
}

main() {
    local out="" lib wanted=()
    while [ $# -gt 0 ]; do
        case $1 in
        --prefixes) out=$2; shift 2 ;;
        *) wanted+=("$1"); shift ;;
        esac
    done
    [ ${#wanted[@]} -gt 0 ] || wanted=("${ALL[@]}")
    ensure_deb_src
    for lib in "${ALL[@]}"; do
        HASH[$lib]=$(lib_hash "$lib")
        PREFIX[$lib]=$CACHE/$lib-${HASH[$lib]}
    done
    for lib in "${wanted[@]}"; do
        build_one "$lib"
    done
    if [ -n "$out" ]; then
        local all=""
        for lib in "${ALL[@]}"; do
            if [ -e "${PREFIX[$lib]}/built" ]; then
                all+="${PREFIX[$lib]};"
            fi
        done
        echo "${all%;}" >"$out"
    fi
}

# On one line, so that bash has read the exit before it runs: an edit of this file while it
# runs is never read as more commands.
main "$@"; exit $?
