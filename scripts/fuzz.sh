#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for SECONDS (default 60)
# on its seed corpus tests/fuzz/corpus/<name>/. A target is any executable the build puts in
# build-fuzz/fuzz/ (one zel_add_fuzzer line in tests/fuzz/CMakeLists.txt); new inputs it finds go
# to build-fuzz/corpus/<name>/, so the repository's seeds stay as they are, and a crashing input
# to build-fuzz/findings/<name>/. Exits non-zero when a target finds something.
#
#   bash scripts/fuzz.sh [SECONDS] [NAME...]        NAME: only these targets (e.g. ini risposta)
set -euo pipefail

REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
SECONDS_EACH=${1:-60}
[ $# -gt 0 ] && shift
BUILD=$REPO/build-fuzz

bash "$REPO/scripts/setup.sh" build-fuzz -DZEL_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++

names=("$@")
if [ ${#names[@]} -eq 0 ]; then
    for exe in "$BUILD"/fuzz/fuzz_*; do [ -x "$exe" ] && names+=("${exe##*/fuzz_}"); done
fi

export ASAN_OPTIONS=detect_leaks=1:intercept_tls_get_addr=0  # as scripts/test.sh, which says why
export LSAN_OPTIONS=suppressions=$REPO/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen

failed=()
for name in "${names[@]}"; do
    seeds=$REPO/tests/fuzz/corpus/$name
    work=$BUILD/corpus/$name
    findings=$BUILD/findings/$name
    mkdir -p "$work" "$findings"
    [ -d "$seeds" ] || { echo "fuzz: no seed corpus $seeds" >&2; failed+=("$name"); continue; }
    echo "=== fuzz_$name: $SECONDS_EACH s ==="
    if ! "$BUILD/fuzz/fuzz_$name" -max_total_time="$SECONDS_EACH" -print_final_stats=1 -timeout=10 \
        -rss_limit_mb=2048 -artifact_prefix="$findings/" "$work" "$seeds" 2>"$BUILD/fuzz_$name.log"; then
        tail -40 "$BUILD/fuzz_$name.log" >&2
        failed+=("$name")
    fi
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)|^#[0-9]+.*DONE' "$BUILD/fuzz_$name.log" || true
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz: findings or failures in: ${failed[*]} (inputs in $BUILD/findings/)" >&2
    exit 1
fi
echo "fuzz: every target ran clean"
