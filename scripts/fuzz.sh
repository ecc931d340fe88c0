#!/usr/bin/env bash
# Builds and runs the libFuzzer targets of tests/fuzz with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer. The targets link the host boundary, the engine and the editor
# compiled from source; the normal g++ build is not touched. Output goes to build/fuzz.
#
#   scripts/fuzz.sh build                      builds every target
#   scripts/fuzz.sh run TARGET [SECONDS] [-- libFuzzer args]
#                                              runs one target (default 60 s) on a working
#                                              corpus seeded from tests/fuzz/corpus/TARGET
#   scripts/fuzz.sh all [SECONDS]              builds, then runs every target in turn
#   scripts/fuzz.sh merge TARGET               folds the working corpus into the committed
#                                              seeds, keeping only inputs that reach new code
#   scripts/fuzz.sh list                       names the targets
# Targets: chunk, dispatcher, events, engine_ops. A crash leaves its input in
# build/fuzz/artifacts/TARGET; replay it with build/fuzz/bin/TARGET_fuzz FILE.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
OUT=${BRINDLE_BUILD:-$ROOT/build}/fuzz
CXX=${FUZZ_CXX:-clang++}
TARGETS=(chunk dispatcher events engine_ops)
declare -A SOURCE=([chunk]=ChunkFuzz.cpp [dispatcher]=DispatcherFuzz.cpp
                   [events]=EventsFuzz.cpp [engine_ops]=EngineOpsFuzz.cpp)

SANITIZE="-fsanitize=address,undefined -fno-sanitize-recover=all"
CXXFLAGS="-std=c++17 -O1 -g -fno-omit-frame-pointer -Wall -Wextra -Werror -I$ROOT -I$ROOT/tests/fuzz $(pkg-config --cflags cairo cairo-xlib x11) -DBRINDLE_RESOURCE_DIR=$ROOT/resources"
# The effect owns its editor, so the targets link the editor and the Linux toolkit too (without a
# display it runs headless).
LIBS="$(pkg-config --libs cairo cairo-xlib x11)"

say() { printf '== %s\n' "$*"; }
die() { printf '!! %s\n' "$*" >&2; exit 1; }

# The project's code as a host loads it, without the exported entry (libFuzzer owns main).
project_sources() {
    local f
    for f in "$ROOT"/host/*.cpp "$ROOT"/engine/*.cpp "$ROOT/plugin/FreezeEffectEdit.cpp" \
             "$ROOT"/editor/*.cpp "$ROOT"/gui/*.cpp "$ROOT"/gui/x11/*.cpp "$ROOT/resources/EmbeddedPictures.cpp"; do
        echo "$f"
    done
}

build() {
    command -v "$CXX" >/dev/null || die "$CXX not found (Debian: clang, libclang-rt-14-dev)"
    mkdir -p "$OUT/obj" "$OUT/bin"
    local objects=() src obj
    while read -r src; do
        objects+=("$OUT/obj/$(echo "${src#"$ROOT"/}" | tr / _).o")
    done < <(project_sources)
    # Two at a time: the machine's cores are shared.
    project_sources | while read -r src; do echo "$src" "$OUT/obj/$(echo "${src#"$ROOT"/}" | tr / _).o"; done |
        xargs -P 2 -n 2 sh -c "$CXX $CXXFLAGS $SANITIZE -fsanitize=fuzzer-no-link -c \"\$0\" -o \"\$1\"" ||
        die "compiling the project sources failed"
    local target
    for target in "${TARGETS[@]}"; do
        # shellcheck disable=SC2086
        $CXX $CXXFLAGS $SANITIZE -fsanitize=fuzzer "$ROOT/tests/fuzz/${SOURCE[$target]}" \
            "${objects[@]}" $LIBS -o "$OUT/bin/${target}_fuzz" || die "building $target failed"
    done
    say "built ${TARGETS[*]} in $OUT/bin"
}

check_target() {
    [ -n "${SOURCE[$1]:-}" ] || die "unknown target '$1' (${TARGETS[*]})"
    [ -x "$OUT/bin/$1_fuzz" ] || build
}

run() {
    local target=$1 seconds=${2:-60}
    shift 2 || shift $#
    [ "${1:-}" = -- ] && shift
    check_target "$target"
    local corpus="$OUT/corpus/$target" artifacts="$OUT/artifacts/$target/"
    mkdir -p "$corpus" "$artifacts"
    cp -n "$ROOT/tests/fuzz/corpus/$target/"* "$corpus/" 2>/dev/null || true
    say "fuzzing $target for $seconds s (log: $OUT/$target.log)"
    ASAN_OPTIONS=detect_leaks=1:halt_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "$OUT/bin/${target}_fuzz" -max_total_time="$seconds" -max_len=4096 \
        -print_final_stats=1 -artifact_prefix="$artifacts" "$@" "$corpus" 2>&1 | tee "$OUT/$target.log" |
        grep -E '^#[0-9]+[[:space:]]+(INITED|DONE)|ERROR|property broken|SUMMARY|stat::' || true
    local rc=${PIPESTATUS[0]}
    [ "$rc" = 0 ] || die "$target found a fault (exit $rc); input in $artifacts, log $OUT/$target.log"
}

merge() {
    local target=$1
    check_target "$target"
    mkdir -p "$ROOT/tests/fuzz/corpus/$target"
    # Edges only (no hit counts): the committed seeds stay a few dozen small files.
    "$OUT/bin/${target}_fuzz" -merge=1 -use_counters=0 "$ROOT/tests/fuzz/corpus/$target" "$OUT/corpus/$target"
}

case ${1:-} in
    build) build ;;
    run) [ $# -ge 2 ] || die "usage: $0 run TARGET [SECONDS]"; shift; run "$@" ;;
    all) build; for t in "${TARGETS[@]}"; do run "$t" "${2:-60}"; done ;;
    merge) [ $# -ge 2 ] || die "usage: $0 merge TARGET"; merge "$2" ;;
    list) printf '%s\n' "${TARGETS[@]}" ;;
    *) sed -n '2,16p' "$0"; exit 2 ;;
esac
