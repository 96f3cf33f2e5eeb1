#!/usr/bin/env bash
# The grid, search and lookup benchmarks on the embedded engine and on a Firebird server on
# loopback: builds them in build/, starts the project's server (scripts/fbserver.sh, root
# build/fbbench, port 3050 or 3051, or FBSERVER_PORTS), runs each benchmark (each prints its
# figures for both and then both side by side) and stops the server at the end, also on failure
# or interruption.
#
#   bash scripts/bench.sh [griglia] [ricerca] [lookup]     default: all three
set -euo pipefail

REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=$REPO/build
ROOT=$BUILD/fbbench
NAMES=("$@")
[ ${#NAMES[@]} -gt 0 ] || NAMES=(griglia ricerca lookup)
for name in "${NAMES[@]}"; do
    case "$name" in
        griglia | ricerca | lookup) ;;
        *) echo "usage: bash scripts/bench.sh [griglia] [ricerca] [lookup]" >&2; exit 2 ;;
    esac
done

[ -f "$BUILD/build.ninja" ] || bash "$REPO/scripts/setup.sh" build
targets=()
for name in "${NAMES[@]}"; do targets+=("bench_$name"); done
cmake --build "$BUILD" --target "${targets[@]}"

STARTED=false
stop() { if $STARTED; then bash "$REPO/scripts/fbserver.sh" stop "$ROOT" || true; STARTED=false; fi; }
trap stop EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

STARTED=true
bash "$REPO/scripts/fbserver.sh" start "$ROOT"
set -a
# shellcheck disable=SC1091
. "$ROOT/server.env"
set +a
export FIREBIRD_LOCK=$BUILD/fblock
mkdir -p "$FIREBIRD_LOCK"
rc=0
for name in "${NAMES[@]}"; do
    echo "### bench_$name"
    "$BUILD/bin/bench_$name" || rc=$?
done
exit "$rc"
