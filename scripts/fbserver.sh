#!/usr/bin/env bash
# A private Firebird server on loopback for the client-server tests (and for the benchmarks and
# the demo on a server, each with a root of its own).
#
#   bash scripts/fbserver.sh start [ROOT]   start it (ROOT defaults to <repo>/build/fbserver)
#   bash scripts/fbserver.sh stop  [ROOT]   stop the server that `start` left in ROOT
#   bash scripts/fbserver.sh resume [ROOT]  start it again on a root `start` prepared and `stop`
#                                           stopped: same port, same databases (a test that
#                                           stops its server during a session brings it back)
#
# The server gets a Firebird root of its own: links to the system's files, a copy of the
# character-set module (the engine refuses a linked one), its own firebird.conf, databases.conf
# and a copy of the system security database whose SYSDBA password is "quillbent". It listens
# on 127.0.0.1:3050, or on 3051 when 3050 is taken (for example by the system's own server,
# which is never touched); FBSERVER_PORTS="P1 P2 ..." names other ports to try in order (a test
# that runs a server of its own beside the shared one). `start` writes ROOT/server.env:
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

# Starts /usr/sbin/firebird on the prepared root and waits until it listens on port $1.
launch_server() {
    local port=$1
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
}

# Host text of the connection strings for port $1.
host_text() { if [ "$1" = 3050 ]; then echo localhost; else echo "localhost/$1"; fi; }

write_env() {
    printf 'ZEL_TEST_FBSERVER=%s\nZEL_TEST_FBSERVER_DIR=%s\n' "$1" "$ROOT/db" >"$ROOT/server.env"
}

check_can_run() {
    [ "$(id -u)" = 0 ] || { say "the test server runs as root: run this as root"; exit 1; }
    [ -x /usr/sbin/firebird ] || { say "/usr/sbin/firebird is missing (package firebird3.0-server)"; exit 1; }
}

start_server() {
    check_can_run
    stop_server  # a server this root still runs from an interrupted earlier run
    local port='' host candidate
    for candidate in ${FBSERVER_PORTS:-3050 3051}; do
        if ! port_listening "$candidate"; then port=$candidate; break; fi
    done
    [ -n "$port" ] || { say "ports ${FBSERVER_PORTS:-3050 3051} are all taken: no test server can start"; exit 1; }
    host=$(host_text "$port")
    make_root "$port"
    launch_server "$port"
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
    write_env "$host"
    say "server $(cat "$ROOT/server.pid") listens on 127.0.0.1:$port (host text \"$host\", databases in $ROOT/db)"
}

resume_server() {
    check_can_run
    [ -f "$ROOT/firebird.conf" ] && [ -f "$ROOT/db/alias.fdb" ] || { say "$ROOT was never started: use start"; exit 1; }
    if our_server "$(cat "$ROOT/server.pid" 2>/dev/null || true)"; then say "the server of $ROOT already runs"; return; fi
    local port
    port=$(awk -F' *= *' '$1 == "RemoteServicePort" { print $2 }' "$ROOT/firebird.conf")
    if port_listening "$port"; then say "port $port is taken: the server of $ROOT cannot start again"; exit 1; fi
    launch_server "$port"
    write_env "$(host_text "$port")"
    say "server $(cat "$ROOT/server.pid") listens again on 127.0.0.1:$port"
}

case "$ACTION" in
    start) start_server ;;
    stop) stop_server ;;
    resume) resume_server ;;
    *) echo "usage: bash scripts/fbserver.sh start|stop|resume [ROOT]" >&2; exit 2 ;;
esac
