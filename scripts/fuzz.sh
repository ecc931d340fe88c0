#!/usr/bin/env bash
# Builds and runs the libFuzzer targets of tests/fuzz: a clang tree in build/fuzz configured
# with BRINDLE_FUZZ (AddressSanitizer and UndefinedBehaviorSanitizer, every library
# instrumented for coverage); the normal g++ trees are not touched.
#
#   scripts/fuzz.sh build                      builds every target
#   scripts/fuzz.sh run TARGET [SECONDS] [-- libFuzzer args]
#                                              runs one target (default 60 s) on a working
#                                              corpus seeded from tests/fuzz/corpus/TARGET
#   scripts/fuzz.sh all [SECONDS]              builds, then runs every target in turn
#   scripts/fuzz.sh merge TARGET               folds the working corpus into the committed
#                                              seeds, keeping only inputs that reach new code
#   scripts/fuzz.sh list                       names the targets
# Targets: chunk, dispatcher, events, engine_ops, lv2_state, clap_state, vst3_state. A crash leaves its input in
# build/fuzz/artifacts/TARGET; replay it with build/fuzz/bin/TARGET_fuzz FILE.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

OUT=$BRINDLE_BUILD/fuzz
TARGETS=(chunk dispatcher events engine_ops lv2_state clap_state vst3_state)

build() {
    command -v "${FUZZ_CXX:-clang++}" >/dev/null || die "${FUZZ_CXX:-clang++} not found (Debian: clang, libclang-rt-14-dev)"
    build_tree fuzz "${TARGETS[@]/%/_fuzz}" || exit 1
}

check_target() {
    printf '%s\n' "${TARGETS[@]}" | grep -qx -- "$1" || die "unknown target '$1' (${TARGETS[*]})"
    [ -x "$OUT/bin/$1_fuzz" ] || build
}

run() {
    local target=$1 seconds=${2:-60}
    shift 2 || shift $#
    [ "${1:-}" = -- ] && shift
    check_target "$target"
    local corpus="$OUT/corpus/$target" artifacts="$OUT/artifacts/$target/"
    mkdir -p "$corpus" "$artifacts"
    cp -n "$BRINDLE_ROOT/tests/fuzz/corpus/$target/"* "$corpus/" 2>/dev/null || true
    say "fuzzing $target for $seconds s (log: $OUT/$target.log)"
    # Fontconfig's and X's process-long caches are not leaks of ours (as in the asan tree).
    local rc=0
    ASAN_OPTIONS=detect_leaks=1:halt_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        LSAN_OPTIONS="suppressions=$BRINDLE_ROOT/scripts/lsan.supp:print_suppressions=0" \
        "$OUT/bin/${target}_fuzz" -max_total_time="$seconds" -max_len=4096 \
        -print_final_stats=1 -artifact_prefix="$artifacts" "$@" "$corpus" >"$OUT/$target.log" 2>&1 || rc=$?
    grep -E '^#[0-9]+[[:space:]]+(INITED|DONE)|ERROR|property broken|SUMMARY|stat::' "$OUT/$target.log" || true
    [ "$rc" = 0 ] || die "$target found a fault (exit $rc); input in $artifacts, log $OUT/$target.log"
}

merge() {
    local target=$1
    check_target "$target"
    mkdir -p "$BRINDLE_ROOT/tests/fuzz/corpus/$target" "$OUT/corpus/$target"
    # Edges only (no hit counts): the committed seeds stay a few dozen small files.
    "$OUT/bin/${target}_fuzz" -merge=1 -use_counters=0 "$BRINDLE_ROOT/tests/fuzz/corpus/$target" "$OUT/corpus/$target"
}

case ${1:-} in
    build) build ;;
    run) [ $# -ge 2 ] || die "usage: $0 run TARGET [SECONDS]"; shift; run "$@" ;;
    all) build; for t in "${TARGETS[@]}"; do run "$t" "${2:-60}"; done ;;
    merge) [ $# -ge 2 ] || die "usage: $0 merge TARGET"; merge "$2" ;;
    list) printf '%s\n' "${TARGETS[@]}" ;;
    *) sed -n '2,16p' "$0"; exit 2 ;;
esac
