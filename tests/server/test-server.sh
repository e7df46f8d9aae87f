#!/usr/bin/env bash
# A PostgreSQL server for the tests: a new cluster in a temporary folder, reachable through a
# Unix socket in that folder and, for the tests of encrypted connections only, over TLS on
# 127.0.0.1 with a certificate for "localhost" signed by a certificate authority of its own;
# with a password that only the tests' password file holds.
#   test-server.sh start STATE   starts it; writes STATE/server.ini, STATE/pgpass and the
#                                authority's certificate STATE/root.crt
#   test-server.sh stop STATE    stops the server that STATE names and removes its folder
#   test-server.sh pause STATE   stops that server and keeps its data (a server gone away)
#   test-server.sh resume STATE  starts it again on the same data
# As root the server runs as the system user postgres (made if missing): PostgreSQL refuses
# to run as root.
set -euo pipefail

action=${1:?start or stop}
state=$(realpath -m "${2:?state folder}")
# The port is also the TCP port on 127.0.0.1, which another suite may hold: start picks a
# free one.
port=

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
    rm -f "$state/folder" "$state/server.ini" "$state/pgpass" "$state/root.crt"
}

# A certificate authority and the server's certificate for "localhost", valid for a day.
make_certificates() {
    local dir=$1
    mkdir "$dir/tls"
    (
        cd "$dir/tls"
        umask 077
        openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj "/CN=Kelvara test authority" \
            -keyout ca.key -out ca.crt
        openssl req -newkey rsa:2048 -nodes -subj "/CN=localhost" \
            -keyout server.key -out server.csr
        printf 'subjectAltName = DNS:localhost\n' >server.ext
        openssl x509 -req -in server.csr -CA ca.crt -CAkey ca.key -CAcreateserial -days 1 \
            -extfile server.ext -out server.crt
    ) >"$dir/openssl.log" 2>&1 || { cat "$dir/openssl.log" >&2; exit 1; }
    ((EUID == 0)) && chown -R "$owner" "$dir/tls"
    return 0
}

# Starts the server on a free port: a port that another server holds makes it give up.
start_on_free_port() {
    local dir=$1 attempt
    for attempt in 1 2 3 4 5 6 7 8; do
        port=$((20000 + RANDOM % 40000))
        echo "$port" >"$dir/port"
        if as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
            -o "$(server_options "$dir")" start >/dev/null; then
            return 0
        fi
    done
    cat "$dir/server.log" >&2
    exit 1
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
    make_certificates "$dir"
    start_on_free_port "$dir"
    (
        umask 077
        printf '%s:%s:*:kelvara:%s\n' "$dir" "$port" "$password" >"$state/pgpass"
        printf 'localhost:%s:*:kelvara:%s\n' "$port" "$password" >>"$state/pgpass"
    )
    cp "$dir/tls/ca.crt" "$state/root.crt"
    printf '[server]\nhost = %s\nport = %s\ndatabase = postgres\nuser = kelvara\n' \
        "$dir" "$port" >"$state/server.ini"
    echo "PostgreSQL test server on $dir"
}

server_options() {
    printf '%s' "-c listen_addresses='127.0.0.1' -c unix_socket_directories='$1' -c port=$port \
-c fsync=off -c ssl=on -c ssl_cert_file='$1/tls/server.crt' -c ssl_key_file='$1/tls/server.key'"
}

pause() {
    local dir
    dir=$(<"$state/folder")
    as_owner "$bindir/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null
}

resume() {
    local dir
    dir=$(<"$state/folder")
    port=$(<"$dir/port")
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
