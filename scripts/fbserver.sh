#!/usr/bin/env bash
# A private Firebird server on loopback for the client-server tests.
#
#   bash scripts/fbserver.sh start [ROOT]   start it (ROOT defaults to <repo>/build/fbserver)
#   bash scripts/fbserver.sh stop  [ROOT]   stop the server that `start` left in ROOT
#
# The server gets a Firebird root of its own: links to the system's files, a copy of the
# character-set module (the engine refuses a linked one), its own firebird.conf, databases.conf
# and a copy of the system security database whose SYSDBA password is "quillbent". It listens
# on 127.0.0.1:3050, or on 3051 when 3050 is taken (for example by the system's own server,
# which is never touched). `start` writes ROOT/server.env for the test command:
#   ZEL_TEST_FBSERVER       host text of the connection strings: "localhost" or "localhost/3051"
#   ZEL_TEST_FBSERVER_DIR   folder of the server-side test databases; alias "zeltest" is its alias.fdb
set -euo pipefail

REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ACTION=${1:-}
ROOT=${2:-$REPO/build/fbserver}
ROOT=$(mkdir -p "$ROOT" && cd "$ROOT" && pwd)
SYSTEM_ROOT=/usr/lib/x86_64-linux-gnu/firebird/3.0
SYSTEM_SECURITY=/var/lib/firebird/3.0/system/security3.fdb
PASSWORD=quillbent
# A lock folder of its own: no other Firebird process on the machine (a stopped debugger target,
# the system's server) can hold a lock that our server or its set-up waits for.
export FIREBIRD_LOCK=$ROOT/lock

# shellcheck source=scripts/ports.sh
. "$REPO/scripts/ports.sh"

say() { echo "fbserver: $*" >&2; }

# True when PID $1 is a Firebird server started with root $ROOT (so a reused PID is never killed).
our_server() {
    local pid=$1
    [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null || return 1
    [ "$(readlink "/proc/$pid/exe" 2>/dev/null)" = /usr/sbin/firebird ] || return 1
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "FIREBIRD=$ROOT"
}

stop_server() {
    local pid
    pid=$(cat "$ROOT/server.pid" 2>/dev/null || true)
    if our_server "$pid"; then
        kill -TERM "$pid"
        for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        if kill -0 "$pid" 2>/dev/null; then
            say "server $pid did not stop within 10 s; killing it"
            kill -KILL "$pid" 2>/dev/null || true
        fi
        say "stopped server $pid"
    fi
    rm -f "$ROOT/server.pid" "$ROOT/server.env"
}

make_root() {
    local port=$1
    local item
    for item in UDF include lib plugins plugins.conf firebird.msg; do
        ln -sfn "$SYSTEM_ROOT/$item" "$ROOT/$item"
    done
    rm -rf "$ROOT/intl" && mkdir -p "$ROOT/intl"
    cp "$SYSTEM_ROOT/intl/libfbintl.so" "$ROOT/intl/"
    ln -s "$SYSTEM_ROOT/intl/fbintl.conf" "$ROOT/intl/fbintl.conf"
    cat >"$ROOT/firebird.conf" <<CONF
# Private test server of ZelScanFile: loopback only, its own port and security database.
RemoteBindAddress = 127.0.0.1
RemoteServicePort = $port
ServerMode = SuperClassic
SecurityDatabase = $ROOT/security3.fdb
UdfAccess = None
CONF
    rm -rf "$ROOT/db" "$FIREBIRD_LOCK" && mkdir -p "$ROOT/db" "$FIREBIRD_LOCK"
    cat >"$ROOT/databases.conf" <<CONF
# Alias the client-server tests attach to as <host>:zeltest.
zeltest = $ROOT/db/alias.fdb
CONF
    # The security database is copied and changed while no server of ours uses it.
    cp "$SYSTEM_SECURITY" "$ROOT/security3.fdb"
    FIREBIRD=$ROOT isql-fb -q -user SYSDBA "$ROOT/security3.fdb" >"$ROOT/isql.log" 2>&1 <<SQL || { cat "$ROOT/isql.log" >&2; return 1; }
CREATE OR ALTER USER SYSDBA PASSWORD '$PASSWORD' USING PLUGIN Srp;
COMMIT;
SQL
}

start_server() {
    [ "$(id -u)" = 0 ] || { say "the test server runs as root: run this as root"; exit 1; }
    [ -x /usr/sbin/firebird ] || { say "/usr/sbin/firebird is missing (package firebird3.0-server)"; exit 1; }
    stop_server  # a server this root still runs from an interrupted earlier run
    local port host
    if ! port_listening 3050; then port=3050; host=localhost
    elif ! port_listening 3051; then port=3051; host=localhost/3051
    else say "ports 3050 and 3051 are both taken: no test server can start"; exit 1
    fi
    make_root "$port"
    # setsid execs in place, so $! is the server's own PID.
    FIREBIRD=$ROOT setsid /usr/sbin/firebird </dev/null >"$ROOT/server.out" 2>&1 &
    local pid=$!
    echo "$pid" >"$ROOT/server.pid"
    for _ in $(seq 1 100); do
        port_listening "$port" && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if ! port_listening "$port" || ! kill -0 "$pid" 2>/dev/null; then
        say "the server did not start listening on 127.0.0.1:$port"
        cat "$ROOT/server.out" "$ROOT/firebird.log" >&2 2>/dev/null || true
        stop_server
        exit 1
    fi
    # The alias database, created through the server: this also proves the login works.
    if ! FIREBIRD=$ROOT isql-fb -q >"$ROOT/isql.log" 2>&1 <<SQL; then
CREATE DATABASE '$host:zeltest' USER 'SYSDBA' PASSWORD '$PASSWORD' DEFAULT CHARACTER SET UTF8;
COMMIT;
SQL
        say "cannot create the alias database through the server:"
        cat "$ROOT/isql.log" >&2
        stop_server
        exit 1
    fi
    printf 'ZEL_TEST_FBSERVER=%s\nZEL_TEST_FBSERVER_DIR=%s\n' "$host" "$ROOT/db" >"$ROOT/server.env"
    say "server $pid listens on 127.0.0.1:$port (host text \"$host\", databases in $ROOT/db)"
}

case "$ACTION" in
    start) start_server ;;
    stop) stop_server ;;
    *) echo "usage: bash scripts/fbserver.sh start|stop [ROOT]" >&2; exit 2 ;;
esac
