#!/usr/bin/env bash
# The re-send tests under ThreadSanitizer: builds only them (and the stand-in scan server they
# start) in build-tsan/ with -DZEL_TSAN=ON, runs them and fails on any report. Expects the packages
# of scripts/setup.sh.
#
#   bash scripts/tsan.sh
set -euo pipefail

REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=$REPO/build-tsan
TESTS=(tst_invio tst_invioserver)

export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

cmake -S "$REPO" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEL_TSAN=ON
cmake --build "$BUILD" -j "$(nproc)" -t "${TESTS[@]}"

rm -rf "$BUILD/fblock" && mkdir -p "$BUILD/fblock"
export FIREBIRD_LOCK=$BUILD/fblock
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$REPO/scripts/tsan.supp"
regex=$(IFS='|'; echo "^(${TESTS[*]})\$")
ctest --test-dir "$BUILD" -R "$regex" --output-on-failure
echo "tsan: the re-send tests ran clean"
