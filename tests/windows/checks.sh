# shellcheck shell=bash
# The checks of windows-test.sh, one function each; sourced. Each returns non-zero and says
# why on failure.

program_files='C:\Program Files\Kelvara'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvara'
main_title='Program Utama - Kelvara PT. MARDEKO INDONESIA'
access_tables=(Departemen Peringkat Pegawai Periode Cuti TPassword)

new_prefix() {
    wineboot --init && wine_idle && [[ -d $drive_c/windows ]]
}

# The cross-built tests of the suite with the labels that concern a desk, through ctest, which
# starts each under Wine (the cross build names wine as its emulator). One line per test.
suite_labels='^(store|masters|leave|reports|tools)$'
# Tests that cannot run under Wine, each with its reason in the README.
suite_skipped='^(package)$'

run_suite() {
    local plugins= dir log line name
    [[ -f $build/CTestTestfile.cmake ]] || { check "cross-built tests present" false; return; }
    for dir in "${prefixes[@]/%//plugins}"; do
        [[ -d $dir ]] && plugins+="$(winpath "$dir");"
    done
    log=$work/suite.log
    (
        cd "$build" || exit 1
        QT_PLUGIN_PATH=$plugins \
            timeout 3600 ctest -L "$suite_labels" -E "$suite_skipped" --output-on-failure \
            --timeout 600
    ) >"$log" 2>&1
    while IFS= read -r line; do
        [[ $line =~ Test\ +\#[0-9]+:\ ([^ ]+)\ \.+\ *(\*+)?\ *([A-Za-z]+) ]] || continue
        name=${BASH_REMATCH[1]}
        if [[ ${BASH_REMATCH[3]} == Passed ]]; then
            check "suite under Wine: $name" true
        else
            check "suite under Wine: $name" suite_failure "$name" "$log"
        fi
    done <"$log"
    grep -q 'tests passed' "$log" || check "suite under Wine: ctest ran" suite_failure "" "$log"
}

suite_failure() {
    if [[ -n $1 ]]; then
        sed -n "/ $1 /,/Test *#/p" "$2" | head -n 60
    else
        tail -n 30 "$2"
    fi
    return 1
}

install_silently() {
    [[ -f $setup ]] || fail "no setup program at $setup"
    wine_run 300 "$setup" /S || fail "the setup program failed"
    wine_idle
    local file
    for file in kelvara.exe kelvara-initdb.exe kelvara-import.exe kelvara-report.exe \
        kelvara-user.exe uninstall.exe platforms/qwindows.dll fonts/P052-Roman.otf \
        fonts/fonts-urw-base35-copyright.txt manual/index.html; do
        [[ -f $installed/$file ]] || fail "not installed: $file"
    done
}

registered() {
    local values
    [[ -f "$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Kelvara.lnk" ]] ||
        fail "no Start-menu entry Kelvara"
    values=$(wine reg query "$uninstall_key" | tr -d '\r') || fail "no Uninstall key"
    echo "$values"
    grep -Eq 'DisplayName +REG_SZ +Kelvara$' <<<"$values" &&
        grep -Eq "DisplayVersion +REG_SZ +$version\$" <<<"$values" &&
        grep -Eq 'Publisher +REG_SZ +.+' <<<"$values" &&
        grep -Eq 'DisplayIcon +REG_SZ +.+kelvara\.ico' <<<"$values" &&
        grep -Eq 'UninstallString +REG_SZ +.+uninstall\.exe"$' <<<"$values" &&
        grep -Eq 'QuietUninstallString +REG_SZ +.+uninstall\.exe" /S$' <<<"$values"
}

demo_database() {
    wine_run 120 "$program_files\\kelvara-initdb.exe" --demo || fail "kelvara-initdb failed"
    [[ -f $database ]] || fail "no database at $database"
    [[ $(sqlite3 "$database" 'SELECT count(*) FROM Pegawai') -gt 0 ]]
}

# The sign-in typed as a clerk types it; the main window stays open for system_info.
sign_in() {
    wine "$program_files\\kelvara.exe" >"$work/kelvara.log" 2>&1 &
    local login
    wait_for 120 window_named Login || { screenshot no-login; fail "no sign-in window"; }
    login=$(window_named Login)
    xdotool windowactivate --sync "$login" 2>/dev/null || xdotool windowfocus --sync "$login"
    xdotool type --delay 50 admin
    xdotool key Tab
    xdotool type --delay 50 admin
    xdotool key Return
    wait_for 60 window_named "$main_title" || { screenshot no-main; fail "no main window"; }
    screenshot main-window
}

# A program of the test's own stands in for MSINFO32: it leaves a file behind when started.
system_info() {
    local marker=$drive_c/system-info-started.txt main
    x86_64-w64-mingw32-gcc -o "$drive_c/msinfo-stand-in.exe" "$here/msinfo-stand-in.c" ||
        fail "cannot build the stand-in"
    wine reg add 'HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO' /v PATH /t REG_SZ \
        /d 'C:\msinfo-stand-in.exe' /f || fail "reg add failed"
    main=$(window_named "$main_title")
    [[ -n $main ]] || fail "the main window is not open"
    xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
    xdotool key F5
    wait_for 30 window_named "About Program" || { screenshot no-about; fail "no about box"; }
    screenshot about
    xdotool windowfocus --sync "$(window_named "About Program")"
    xdotool key alt+s
    wait_for 30 test -f "$marker" || { screenshot no-system-info; fail "not started"; }
    wineserver -k
    wine_idle
}

# The slips' totals as the database's own view computes them, in the form the reports print.
expected_totals() {
    sqlite3 "$1" 'SELECT "Total Uang Cuti" FROM QupahSisaCuti' | sed 's/\.0$//' | sort -u
}

holds_totals() {
    local pdf=$1 text total missing=0
    text=$(pdftotext -layout "$pdf" -) || fail "pdftotext cannot read $pdf"
    while IFS= read -r total; do
        grep -qF -- "$total" <<<"$text" || { echo "missing amount $total"; missing=1; }
    done < <(expected_totals "$database")
    [[ $(expected_totals "$database" | wc -l) -gt 0 ]] && ((missing == 0))
}

slips_pdf() {
    wine_run 120 "$program_files\\kelvara-report.exe" DataReport2 --pdf 'C:\slips.pdf' ||
        fail "kelvara-report failed"
    holds_totals "$drive_c/slips.pdf"
}

import_access() {
    local table mdb sqlite
    cp "$source_dir/tests/fixtures/access/sample.mdb" "$drive_c/sample.mdb"
    wine_run 120 "$program_files\\kelvara-import.exe" 'C:\sample.mdb' --db 'C:\imported.mdb' ||
        fail "kelvara-import failed"
    for table in "${access_tables[@]}"; do
        mdb=$(mdb-count "$drive_c/sample.mdb" "$table")
        sqlite=$(sqlite3 "$drive_c/imported.mdb" "SELECT count(*) FROM $table")
        echo "$table: $mdb in Access, $sqlite imported"
        [[ $mdb == "$sqlite" && $mdb -gt 0 ]] || return 1
    done
}

# The suite's PostgreSQL server, reached over TCP on 127.0.0.1 with TLS required; the password
# from a password file that names that address.
server_report() {
    bash "$source_dir/tests/server/test-server.sh" start "$server_state" ||
        fail "the server does not start"
    local port password ini=$drive_c/server.ini
    port=$(sed -n 's/^port = //p' "$server_state/server.ini")
    password=$(head -n 1 "$server_state/pgpass" | cut -d: -f5)
    printf '127.0.0.1:%s:*:kelvara:%s\n' "$port" "$password" >"$drive_c/pgpass.conf"
    PGPASSFILE=$server_state/pgpass createdb -h "$(<"$server_state/folder")" -p "$port" \
        -U kelvara kelvara_wine || fail "createdb failed"
    printf '[server]\nhost = 127.0.0.1\nport = %s\ndatabase = kelvara_wine\nuser = kelvara\n%s\n' \
        "$port" 'sslmode = require' >"$ini"
    export PGPASSFILE='C:\pgpass.conf'
    wine_run 120 "$program_files\\kelvara-initdb.exe" --demo --server 'C:\server.ini' ||
        fail "kelvara-initdb --server failed"
    wine_run 120 "$program_files\\kelvara-report.exe" DataReport2 --server 'C:\server.ini' \
        --pdf 'C:\server-slips.pdf' || fail "kelvara-report --server failed"
    unset PGPASSFILE
    holds_totals "$drive_c/server-slips.pdf"
}

uninstall_silently() {
    wine_run 120 "$program_files\\uninstall.exe" /S || fail "the uninstaller failed"
    # The uninstaller copies itself away and goes on from there: wait for every program.
    wine_idle
    [[ ! -e $installed ]] || { find "$installed"; fail "Program Files\\Kelvara is still there"; }
    [[ ! -e "$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Kelvara.lnk" ]] ||
        fail "the Start-menu entry is still there"
    ! wine reg query "$uninstall_key" >/dev/null 2>&1 || fail "the Uninstall key is still there"
    [[ -f $database ]] || fail "the database is gone"
}
