#!/usr/bin/env bash
# Makes Kelvara's setup program for 64-bit Windows from a cross build (make windows).
#   make-setup.sh BUILD OUTPUT
# BUILD/bin holds the five programs with every DLL, Qt plugin and report font they load
# beside them (and the tests with theirs). Gathers into BUILD/setup-stage the programs, the
# Qt plugins they load, the DLLs they need that Windows does not have (found by reading their
# import tables, so that none is missing and the tests' are left out), the report fonts with
# their licences, the manual pages as HTML and the icon; then runs makensis.
set -euo pipefail

build=$(realpath "${1:?build folder}")
output=$(realpath -m "${2:?setup program}")
bin=$build/bin
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
version=$(sed -n 's/^project(kelvara VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
stage=$build/setup-stage

programs=(kelvara kelvara-initdb kelvara-import kelvara-report kelvara-user kelvara-backup)
# The Qt plugins the programs load on Windows: the platform and the native style. Print
# support and PNG (the icons' format) are built into Qt's own libraries.
plugins=(platforms/qwindows.dll styles/qwindowsvistastyle.dll)
# Windows' own DLLs, which the setup program never carries.
system_dll='^(api-ms-win-.*|kernel32|user32|gdi32|gdiplus|advapi32|shell32|shlwapi|ole32|oleaut32|comdlg32|comctl32|winspool\.drv|winmm|ws2_32|wsock32|crypt32|secur32|bcrypt|ncrypt|iphlpapi|netapi32|userenv|uxtheme|dwmapi|imm32|version|setupapi|mpr|wtsapi32|dwrite|d2d1|d3d9|d3d11|d3d12|dxgi|dcomp|opengl32|msvcrt|ucrtbase|ntdll|rpcrt4|authz|normaliz|dnsapi|wldap32|shcore|wininet|psapi)(\.dll)?$'

fail() { echo "make-setup: $*" >&2; exit 1; }

# The DLL in bin/ that a program names, or nothing.
find_dll() {
    find "$bin" -maxdepth 1 -iname "$1" -print -quit
}

imports() {
    x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p' | tr -d '\r'
}

# Copies the DLLs that FILE needs into the stage, and theirs in turn.
copy_needs() {
    local name path
    for name in $(imports "$1"); do
        [[ -e $stage/${name} ]] && continue
        if [[ ${name,,} =~ $system_dll ]]; then continue; fi
        path=$(find_dll "$name")
        [[ -n $path ]] || fail "$(basename "$1") needs $name, which is not in $bin"
        cp "$path" "$stage/$name"
        copy_needs "$stage/$name"
    done
}

stage_programs() {
    local program plugin
    for program in "${programs[@]}"; do
        [[ -f $bin/$program.exe ]] || fail "$program.exe is not in $bin"
        cp "$bin/$program.exe" "$stage/"
        copy_needs "$bin/$program.exe"
    done
    for plugin in "${plugins[@]}"; do
        [[ -f $bin/$plugin ]] || fail "the Qt plugin $plugin is not in $bin"
        mkdir -p "$stage/$(dirname "$plugin")"
        cp "$bin/$plugin" "$stage/$plugin"
        copy_needs "$stage/$plugin"
    done
}

# The faces the program puts in place of the reports' fonts where Windows lacks them, with
# their licences, as the cross build gathered them.
stage_fonts() {
    [[ -d $bin/fonts ]] || fail "no report fonts in $bin/fonts"
    cp -r "$bin/fonts" "$stage/fonts"
}

# The manual pages as HTML pages and an index that links them.
stage_manual() {
    local page name
    mkdir -p "$stage/manual"
    {
        printf '<!DOCTYPE html>\n<html lang="id"><head><meta charset="utf-8">'
        printf '<title>Panduan Kelvara</title></head><body>\n<h1>Panduan Kelvara %s</h1>\n<ul>\n' \
            "$version"
    } >"$stage/manual/index.html"
    for page in "$source_dir"/docs/man/*.1; do
        name=$(basename "$page" .1)
        groff -man -Thtml -P-l "$page" | sed '/^<!-- CreationDate/d' >"$stage/manual/$name.html"
        printf '<li><a href="%s.html">%s</a></li>\n' "$name" "$name" >>"$stage/manual/index.html"
    done
    printf '</ul>\n</body></html>\n' >>"$stage/manual/index.html"
}

# install-files.nsh and uninstall-files.nsh: every staged file by name.
write_lists() {
    local dir file
    : >"$stage/install-files.nsh"
    : >"$stage/uninstall-files.nsh"
    while IFS= read -r dir; do
        local win=${dir#.}
        win=${win//\//\\}
        printf 'SetOutPath "$INSTDIR%s"\n' "$win" >>"$stage/install-files.nsh"
        while IFS= read -r file; do
            printf 'File "${STAGE}%s\\%s"\n' "$win" "$file" >>"$stage/install-files.nsh"
            printf 'Delete "$INSTDIR%s\\%s"\n' "$win" "$file" >>"$stage/uninstall-files.nsh"
        done < <(cd "$stage/$dir" && find . -maxdepth 1 -type f ! -name '*.nsh' -printf '%P\n' |
            sort)
    done < <(cd "$stage" && find . -type d | sort)
    # Folders deepest first, each only when nothing else is left in it.
    (cd "$stage" && find . -mindepth 1 -type d | sort -r) | while IFS= read -r dir; do
        dir=${dir#.}
        printf 'RMDir "$INSTDIR%s"\n' "${dir//\//\\}" >>"$stage/uninstall-files.nsh"
    done
}

rm -rf "$stage"
mkdir -p "$stage"
stage_programs
stage_fonts
stage_manual
cp "$source_dir/LICENSE" "$stage/LICENSE.txt"
# The programs' icon, as the cross build made it for their resources.
cp "$build/windows/kelvara.ico" "$stage/kelvara.ico"
write_lists
makensis -V2 -INPUTCHARSET UTF8 -DSTAGE="$stage" -DOUTFILE="$output" -DVERSION="$version" \
    "$here/kelvara.nsi"
echo "Program pemasangan: $output"
