#!/usr/bin/env bash
# The demo: installs what is missing, builds (build/), creates the demo databases in demo/ with the
# embedded engine, starts the stand-in scan server on 127.0.0.1:8080 and opens the program; the
# server is stopped when the program ends.
#
#   bash scripts/demo.sh            needs a display (DISPLAY or WAYLAND_DISPLAY)
#   bash scripts/demo.sh --check    no window: builds, creates the demo and lets the program check it
#   bash scripts/demo.sh --server   the databases on a Firebird server on loopback instead: the
#                                   project's server (scripts/fbserver.sh, root build/fbdemo, port
#                                   3050 or 3051, or FBSERVER_PORTS) creates them in its folder
#                                   build/fbdemo/db; the INI file's "PercorsoDatabase" and user 1's
#                                   "Archivio" parameter name them as "localhost/PORT:/path/x.fdb".
#                                   The server is stopped at the end, also on failure or interruption.
#                                   Goes with --check as well.
set -euo pipefail

REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BIN=$REPO/build/bin
DEMO=$REPO/demo
FBROOT=$REPO/build/fbdemo
SERVER_ADDRESS=127.0.0.1:8080
# shellcheck source=scripts/ports.sh
. "$REPO/scripts/ports.sh"

CHECK=false
FBSERVER=false
for arg in "$@"; do
    case "$arg" in
        --check) CHECK=true ;;
        --server) FBSERVER=true ;;
        *) echo "usage: bash scripts/demo.sh [--check] [--server]" >&2; exit 2 ;;
    esac
done

if ! $CHECK && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    cat >&2 <<'MSG'
demo: there is no display here (neither DISPLAY nor WAYLAND_DISPLAY is set), so the program's window cannot open.
demo: to install, build and check the demo without a window:  bash scripts/demo.sh --check
demo: to see the window on a virtual display afterwards:      xvfb-run -a -s '-screen 0 1280x900x24' bash scripts/demo.sh
MSG
    exit 1
fi

export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

bash "$REPO/scripts/setup.sh" build

SERVER_PID=
FB_STARTED=false
# True while the child runs (an ended child stays a zombie until it is waited for).
running() {
    local state
    state=$(sed -n 's/^State:[[:space:]]*\(.\).*/\1/p' "/proc/$1/status" 2>/dev/null)
    [ -n "$state" ] && [ "$state" != Z ]
}
stop_server() {
    if [ -n "$SERVER_PID" ] && running "$SERVER_PID"; then
        kill -TERM "$SERVER_PID"
        for _ in $(seq 1 50); do running "$SERVER_PID" || break; sleep 0.1; done
        running "$SERVER_PID" && kill -KILL "$SERVER_PID"
        wait "$SERVER_PID" 2>/dev/null || true
        echo "demo: scan server stopped"
    fi
}
stop_all() {
    stop_server
    if $FB_STARTED; then
        bash "$REPO/scripts/fbserver.sh" stop "$FBROOT" || true
        FB_STARTED=false
    fi
}
trap stop_all EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

DATABASES=()
ARCHIVIO=$DEMO/archivio.fdb
if $FBSERVER; then
    FB_STARTED=true
    bash "$REPO/scripts/fbserver.sh" start "$FBROOT"
    FB_HOST=$(sed -n 's/^ZEL_TEST_FBSERVER=//p' "$FBROOT/server.env")
    FB_DIR=$(sed -n 's/^ZEL_TEST_FBSERVER_DIR=//p' "$FBROOT/server.env")
    DATABASES=(--server "$FB_HOST" --server-dir "$FB_DIR")
    ARCHIVIO=$FB_HOST:$FB_DIR/archivio.fdb
fi
"$BIN/zeldemo" --dir "$DEMO" "${DATABASES[@]}"

if $CHECK; then
    rc=0
    if [ -x "$BIN/ZelScanFile" ]; then
        echo "demo: ZelScanFile --check (offscreen)"
        QT_QPA_PLATFORM=offscreen timeout 120 "$BIN/ZelScanFile" --check || rc=$?
        [ "$rc" = 124 ] && echo "demo: ZelScanFile --check did not end within 120 s" >&2
    else
        echo "demo: build/bin/ZelScanFile is not built yet; checking the demo databases with zeldemo --verify"
        "$BIN/zeldemo" --verify "$DEMO" "${DATABASES[@]}" || rc=$?
    fi
    [ "$rc" = 0 ] && echo "demo: check passed" || echo "demo: check FAILED (exit code $rc)" >&2
    exit "$rc"
fi

if [ ! -x "$BIN/ZelScanFile" ]; then
    echo "demo: build/bin/ZelScanFile is not built yet: there is no program to open" >&2
    exit 1
fi

if [ ! -x "$BIN/zelscansrv" ]; then
    echo "demo: build/bin/zelscansrv is not built yet: re-sends will report that the server cannot be reached"
elif port_listening "${SERVER_ADDRESS##*:}"; then
    echo "demo: port ${SERVER_ADDRESS##*:} is already taken: the program will talk to whatever listens there"
else
    "$BIN/zelscansrv" --listen "$SERVER_ADDRESS" --archivio "$ARCHIVIO" --files "$DEMO/files" \
        --outbox "$DEMO/outbox" >"$DEMO/zelscansrv.log" 2>&1 &
    SERVER_PID=$!
    for _ in $(seq 1 100); do
        port_listening "${SERVER_ADDRESS##*:}" && break
        running "$SERVER_PID" || break
        sleep 0.1
    done
    if ! port_listening "${SERVER_ADDRESS##*:}"; then
        echo "demo: the scan server did not start; its output:" >&2
        cat "$DEMO/zelscansrv.log" >&2
        exit 1
    fi
    echo "demo: scan server listens on http://$SERVER_ADDRESS (log: demo/zelscansrv.log)"
fi

"$BIN/ZelScanFile"
