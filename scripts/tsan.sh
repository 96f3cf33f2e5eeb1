#!/usr/bin/env bash
# The tests of the program's own threads under ThreadSanitizer (the re-send, and the start-up
# checks run on a worker while the window is made): builds only them (and the stand-in scan
# server they start) in build-tsan/ with -DZEL_TSAN=ON, runs them and fails on any report. Expects the packages
# of scripts/setup.sh.
#
#   bash scripts/tsan.sh
set -euo pipefail

REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=$REPO/build-tsan
TESTS=(tst_invio tst_invioserver tst_avvio)

export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

cmake -S "$REPO" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEL_TSAN=ON
cmake --build "$BUILD" -j "$(nproc)" -t "${TESTS[@]}"

rm -rf "$BUILD/fblock" && mkdir -p "$BUILD/fblock"
export FIREBIRD_LOCK=$BUILD/fblock
# Data races only: the embedded engine holds more locks at once than TSan's deadlock detector
# can track (it aborts on its own CHECK), and its lock order is none of ours. A child started
# by QProcess execs at once, so forking with threads running is safe here.
export TSAN_OPTIONS="halt_on_error=1 detect_deadlocks=0 die_after_fork=0 suppressions=$REPO/scripts/tsan.supp"
regex=$(IFS='|'; echo "^(${TESTS[*]})\$")
ctest --test-dir "$BUILD" -R "$regex" --output-on-failure
echo "tsan: the threads' tests ran clean"
