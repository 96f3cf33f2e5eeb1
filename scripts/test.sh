#!/usr/bin/env bash
# The whole test suite, twice: on the normal build (build/) and on a build with AddressSanitizer
# and UndefinedBehaviorSanitizer (build-asan/). Installs what is missing, builds both folders,
# starts a private Firebird server on loopback for the client-server tests and stops it at the
# end, also on failure or interruption. Exits non-zero when a build or any test fails.
set -euo pipefail

REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
SERVER_ROOT=$REPO/build/fbserver

export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

stop_server() { bash "$REPO/scripts/fbserver.sh" stop "$SERVER_ROOT" || true; }
trap stop_server EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# One suite: every test program, two at a time (each works in a temporary folder of its own).
# The suite's embedded databases use a Firebird lock folder of their own, so that no other
# Firebird process on the machine can make a test wait for its locks.
run_suite() {
    echo "=== ctest in $1 ==="
    rm -rf "$REPO/$1/fblock" && mkdir -p "$REPO/$1/fblock"
    FIREBIRD_LOCK=$REPO/$1/fblock ctest --test-dir "$REPO/$1" --output-on-failure -j2
}

bash "$REPO/scripts/setup.sh" build

bash "$REPO/scripts/fbserver.sh" start "$SERVER_ROOT"
set -a
# shellcheck source=/dev/null
. "$SERVER_ROOT/server.env"
set +a

failed=()
run_suite build || failed+=(build)

bash "$REPO/scripts/setup.sh" build-asan -DZEL_SANITIZE=ON
# Leaks of the system libraries themselves are suppressed in one commented file; anything else fails.
export ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS=suppressions=$REPO/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
run_suite build-asan || failed+=(build-asan)

if [ ${#failed[@]} -gt 0 ]; then
    echo "test: tests failed in: ${failed[*]}" >&2
    exit 1
fi
echo "test: every test passed in build and build-asan"
