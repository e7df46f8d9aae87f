#!/usr/bin/env bash
# Makes Kelvara's setup program for 64-bit Windows from a cross-built tree.
#   make-setup.sh BUILD OUTPUT PREFIXES...
# BUILD holds the five cross-built programs; PREFIXES are the installed library folders (as
# separate arguments or separated by ';', as the library script writes them) whose bin/
# holds DLLs, Qt's among them. Gathers into BUILD/setup-stage the programs, the Qt
# plugins they load, every DLL they need that Windows does not have (found by reading their
# import tables, so none is missing and none is extra), the report fonts Windows lacks with
# their licences, the manual pages as HTML and the icon; then runs makensis.
set -euo pipefail

build=$(realpath "${1:?build folder}")
output=$(realpath -m "${2:?setup program}")
shift 2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/prefixes.sh"
source_dir=$(cd "$here/../.." && pwd)
version=$(sed -n 's/^project(kelvara VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
stage=$build/setup-stage

programs=(kelvara kelvara-initdb kelvara-import kelvara-report kelvara-user)
# The Qt plugins the programs load on Windows: the platform and the native style. Print
# support and PNG (the icons' format) are built into Qt's own libraries.
plugins=(platforms/qwindows.dll styles/qwindowsvistastyle.dll)
# Windows' own DLLs, which the setup program never carries.
system_dll='^(api-ms-win-.*|kernel32|user32|gdi32|gdiplus|advapi32|shell32|shlwapi|ole32|oleaut32|comdlg32|comctl32|winspool\.drv|winmm|ws2_32|wsock32|crypt32|secur32|bcrypt|ncrypt|iphlpapi|netapi32|userenv|uxtheme|dwmapi|imm32|version|setupapi|mpr|wtsapi32|dwrite|d2d1|d3d9|d3d11|d3d12|dxgi|dcomp|opengl32|msvcrt|ucrtbase|ntdll|rpcrt4|authz|normaliz|dnsapi|wldap32|shcore|wininet|psapi)(\.dll)?$'

mingw_dirs=()
for dir in /usr/lib/gcc/x86_64-w64-mingw32/*-posix /usr/x86_64-w64-mingw32/lib; do
    [[ -d $dir ]] && mingw_dirs+=("$dir")
done

fail() { echo "make-setup: $*" >&2; exit 1; }

find_program() {
    find "$build" -path "$stage" -prune -o -type f -name "$1.exe" -print | sort | head -n 1
}

# Where a DLL the programs name lives, or nothing for one of Windows' own.
find_dll() {
    local name=$1 dir found
    for dir in "${prefixes[@]/%//bin}" "${prefixes[@]/%//lib}" "${prefixes[@]}" \
        "$build" "${mingw_dirs[@]}"; do
        [[ -d $dir ]] || continue
        found=$(find "$dir" -maxdepth 1 -iname "$name" -print -quit)
        [[ -n $found ]] && { echo "$found"; return; }
    done
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
        [[ -n $path ]] || fail "$(basename "$1") needs $name, found in no library folder"
        cp "$path" "$stage/$name"
        copy_needs "$stage/$name"
    done
}

stage_programs() {
    local program path plugin
    for program in "${programs[@]}"; do
        path=$(find_program "$program")
        [[ -n $path ]] || fail "$program.exe not found in $build"
        cp "$path" "$stage/"
        copy_needs "$path"
    done
    for plugin in "${plugins[@]}"; do
        [[ -f $qt/plugins/$plugin ]] || fail "Qt plugin $plugin not found in $qt/plugins"
        mkdir -p "$stage/$(dirname "$plugin")"
        cp "$qt/plugins/$plugin" "$stage/$plugin"
        copy_needs "$stage/$plugin"
    done
}

# The faces the program puts in place of Arial, Times New Roman, Book Antiqua and AvantGarde
# where Windows lacks them, from Debian's font packages, with their licences.
stage_fonts() {
    local liberation=/usr/share/fonts/truetype/liberation urw=/usr/share/fonts/opentype/urw-base35
    local face
    mkdir -p "$stage/fonts"
    for face in Sans Serif; do
        cp "$liberation"/Liberation"$face"-{Regular,Bold,Italic,BoldItalic}.ttf "$stage/fonts/"
    done
    cp "$urw"/P052-{Roman,Bold,Italic,BoldItalic}.otf "$urw"/URWGothic-{Book,Demi}.otf \
        "$stage/fonts/"
    cp /usr/share/doc/fonts-liberation/copyright "$stage/fonts/LICENSE-Liberation.txt"
    cp /usr/share/doc/fonts-urw-base35/copyright "$stage/fonts/LICENSE-URW.txt"
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
icotool -c -o "$stage/kelvara.ico" "$source_dir"/assets/icons/kelvara-{16,24,32,48,64,128}.png
write_lists
makensis -V2 -INPUTCHARSET UTF8 -DSTAGE="$stage" -DOUTFILE="$output" -DVERSION="$version" \
    "$here/kelvara.nsi"
echo "Program pemasangan: $output"
