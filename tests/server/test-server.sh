#!/usr/bin/env bash
# A PostgreSQL server for the tests: a new cluster in a temporary folder, reachable only
# through a Unix socket in that folder, with a password that only the tests' password file
# holds.
#   test-server.sh start STATE   starts it; writes STATE/server.ini and STATE/pgpass
#   test-server.sh stop STATE    stops the server that STATE names and removes its folder
#   test-server.sh pause STATE   stops that server and keeps its data (a server gone away)
#   test-server.sh resume STATE  starts it again on the same data
# As root the server runs as the system user postgres (made if missing): PostgreSQL refuses
# to run as root.
set -euo pipefail

action=${1:?start or stop}
state=$(realpath -m "${2:?state folder}")
port=5432

bindir=${KELVARA_PG_BINDIR:-}
if [[ -z $bindir ]]; then
    for candidate in $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V -r); do
        [[ -x $candidate/initdb ]] && { bindir=$candidate; break; }
    done
fi
if [[ -z $bindir ]]; then
    initdb_path=$(command -v initdb || true)
    [[ -n $initdb_path ]] || { echo "PostgreSQL server programs not found" >&2; exit 1; }
    bindir=$(dirname "$initdb_path")
fi

owner=postgres
# The server's user may not be able to enter the folder the tests run in.
cd /tmp
as_owner() {
    if ((EUID == 0)); then runuser -u "$owner" -- "$@"; else "$@"; fi
}

stop_recorded() {
    [[ -f $state/folder ]] || return 0
    local dir
    dir=$(<"$state/folder")
    if [[ -d $dir/data ]]; then
        as_owner "$bindir/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
    fi
    [[ $dir == /tmp/kelvara-pg.* ]] && rm -rf "$dir"
    rm -f "$state/folder" "$state/server.ini" "$state/pgpass"
}

start() {
    stop_recorded
    mkdir -p "$state"
    if ((EUID == 0)) && ! getent passwd "$owner" >/dev/null; then
        useradd --system --no-create-home --shell /usr/sbin/nologin "$owner"
    fi
    local dir password
    dir=$(mktemp -d /tmp/kelvara-pg.XXXXXX)
    echo "$dir" >"$state/folder"
    ((EUID == 0)) && chown "$owner" "$dir"
    password=$(head -c 24 /dev/urandom | base64 | tr -d '/+=')
    as_owner sh -c 'umask 077; cat >"$1"' sh "$dir/pwfile" <<<"$password"
    if ! as_owner "$bindir/initdb" -D "$dir/data" -U kelvara --pwfile="$dir/pwfile" \
        --auth=scram-sha-256 --encoding=UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1; then
        cat "$dir/initdb.log" >&2
        exit 1
    fi
    rm -f "$dir/pwfile"
    if ! as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
        -o "$(server_options "$dir")" start >/dev/null; then
        cat "$dir/server.log" >&2
        exit 1
    fi
    (
        umask 077
        printf '%s:%s:*:kelvara:%s\n' "$dir" "$port" "$password" >"$state/pgpass"
    )
    printf '[server]\nhost = %s\nport = %s\ndatabase = postgres\nuser = kelvara\n' \
        "$dir" "$port" >"$state/server.ini"
    echo "PostgreSQL test server on $dir"
}

server_options() {
    printf '%s' "-c listen_addresses='' -c unix_socket_directories='$1' -c port=$port -c fsync=off"
}

pause() {
    local dir
    dir=$(<"$state/folder")
    as_owner "$bindir/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null
}

resume() {
    local dir
    dir=$(<"$state/folder")
    as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
        -o "$(server_options "$dir")" start >/dev/null
}

case $action in
start) start ;;
stop) stop_recorded ;;
pause) pause ;;
resume) resume ;;
*) echo "usage: $0 start|stop|pause|resume STATE" >&2; exit 2 ;;
esac
