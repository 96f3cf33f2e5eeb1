#!/usr/bin/env bash
# The whole test suite, twice: on the normal build (build/) and on a build with AddressSanitizer
# and UndefinedBehaviorSanitizer (build-asan/), then each fuzz target briefly (scripts/fuzz.sh). Installs what is missing, builds both folders,
# starts a private Firebird server on loopback for the client-server tests and stops it at the
# end, also on failure or interruption. Exits non-zero when a build or any test fails.
set -euo pipefail

REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
SERVER_ROOT=$REPO/build/fbserver

export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

SUITE_GROUP=
# Ends what a suite left running (a child server a test did not stop); the suite runs in a
# process group of its own, so nothing else is touched.
end_suite_group() {
    [ -n "$SUITE_GROUP" ] || return 0
    if kill -0 -- "-$SUITE_GROUP" 2>/dev/null; then
        echo "test: processes left running by the suite, now stopped:" >&2
        command -v ps >/dev/null && ps -o pid=,args= -s "$SUITE_GROUP" >&2
        kill -TERM -- "-$SUITE_GROUP" 2>/dev/null || true
        sleep 1
        kill -KILL -- "-$SUITE_GROUP" 2>/dev/null || true
    fi
    SUITE_GROUP=
}
# Each phase's wall time, printed at the end of the run (also when it fails or is interrupted).
PHASES=()
phase() {
    local name=$1 start=$SECONDS rc=0
    shift
    "$@" || rc=$?
    PHASES+=("$(printf '%-16s %4d:%02d' "$name" $(((SECONDS - start) / 60)) $(((SECONDS - start) % 60)))")
    return "$rc"
}
print_phases() {
    [ ${#PHASES[@]} -gt 0 ] || return 0
    echo "=== time of each phase (min:s) ==="
    printf '%s\n' "${PHASES[@]}"
    printf '%-16s %4d:%02d\n' total $((SECONDS / 60)) $((SECONDS % 60))
}
# Stops the servers that tests of build folder $1 ran for themselves (in <build>/fbprivate/): a
# test stops its own, but one that crashed or timed out cannot. They run in sessions of their own,
# outside the suite's group.
stop_private_servers() {
    local root
    for root in "$REPO/$1"/fbprivate/*/; do
        if [ -d "$root" ]; then bash "$REPO/scripts/fbserver.sh" stop "$root" || true; fi
    done
}
finish() {
    end_suite_group
    stop_private_servers build
    stop_private_servers build-asan
    bash "$REPO/scripts/fbserver.sh" stop "$SERVER_ROOT" || true
    print_phases
}
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# One suite: every test program, two at a time (each works in a temporary folder of its own).
# The suite's embedded databases use a Firebird lock folder of their own, so that no other
# Firebird process on the machine can make a test wait for its locks.
run_suite() {
    echo "=== ctest in $1 ==="
    rm -rf "$REPO/$1/fblock" && mkdir -p "$REPO/$1/fblock"
    local rc=0
    # setsid execs in place (a background job of a script is no group leader): $! leads the group.
    FIREBIRD_LOCK=$REPO/$1/fblock setsid ctest --test-dir "$REPO/$1" --output-on-failure -j2 &
    SUITE_GROUP=$!
    wait "$SUITE_GROUP" || rc=$?
    end_suite_group
    stop_private_servers "$1"
    return "$rc"
}

phase setup/packages bash "$REPO/scripts/setup.sh" --packages
phase build bash "$REPO/scripts/setup.sh" --build build

phase "server start" bash "$REPO/scripts/fbserver.sh" start "$SERVER_ROOT"
set -a
# shellcheck source=/dev/null
. "$SERVER_ROOT/server.env"
set +a

failed=()
phase "ctest build" run_suite build || failed+=(build)

# the sanitizer build leaves out the benchmarks, which no test runs
phase build-asan bash "$REPO/scripts/setup.sh" --build build-asan -DZEL_SANITIZE=ON -DZEL_BENCH=OFF
# Leaks of the system libraries themselves are suppressed in one commented file; anything else fails.
# intercept_tls_get_addr=0: the sanitizer runtime of GCC 12 (and clang 14) takes a thread-local
# block of a dlopen'd library (the embedded engine's 40 bytes of libEngine12.so, one per thread
# that enters it) that malloc placed 16 bytes into a page for a glibc 2.19-2.24 block with a
# header, and reads its "address" and "length" from the allocator's own chunk header. At exit the
# leak checker's tracer scans that range on every live thread, the main one included, and dies
# ("Tracer caught signal 11: addr=0x6d8"). The interception serves only those old glibc versions:
# glibc 2.36 mallocs these blocks, so the leak checker finds them and what they point to as it
# finds any other reachable heap block, and the leak check loses nothing.
export ASAN_OPTIONS=detect_leaks=1:intercept_tls_get_addr=0
export LSAN_OPTIONS=suppressions=$REPO/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
phase "ctest asan" run_suite build-asan || failed+=(build-asan)

# Every fuzz target for a few seconds, so that each stays built and clean on its seeds.
phase fuzz bash "$REPO/scripts/fuzz.sh" 5 || failed+=(fuzz)

if [ ${#failed[@]} -gt 0 ]; then
    echo "test: tests failed in: ${failed[*]}" >&2
    exit 1
fi
echo "test: every test passed in build and build-asan, and the fuzz targets ran clean"
