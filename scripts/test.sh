#!/usr/bin/env bash
# Runs every test: installs what is missing, builds, starts Xvfb and the Wine prefix, then
# runs ctest in build/linux (g++, Release), build/clang (clang, Release), build/win32,
# build/win64 (under Wine), build/asan (native, AddressSanitizer and
# UndefinedBehaviorSanitizer), and the engine tests and golden renders in build/plain (the
# engine's plain C++ vector code) and build/aarch64 (under qemu-user; there also the LV2
# bit-identity and LV2 UI tests of the arm64 LV2 bundle). Warnings are errors in
# all of them. Exits non-zero when anything fails.
#   scripts/test.sh            all seven trees
#   scripts/test.sh win32      one tree (or several: linux clang plain aarch64 win32 win64 asan)
# Extra ctest arguments go after --, e.g. scripts/test.sh linux -- -R binary
set -uo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

trees=()
ctest_extra=()
while [ $# -gt 0 ]; do
    if [ "$1" = -- ]; then shift; ctest_extra=("$@"); break; fi
    trees+=("$1"); shift
done
[ ${#trees[@]} -gt 0 ] || trees=(linux clang plain aarch64 win32 win64 asan)
for tree in "${trees[@]}"; do
    case $tree in linux|clang|plain|aarch64|win32|win64|asan) ;;
        *) warn "no tests in a '$tree' tree (linux, clang, plain, aarch64, win32, win64, asan)"; exit 2 ;;
    esac
done

run_start=$(now_s)
"$BRINDLE_ROOT/scripts/install-deps.sh" || exit 1

declare -A build_s test_s result counts
failed=0
for tree in "${trees[@]}"; do
    start=$(now_s)
    targets=()
    read -r -a targets <<<"$(tree_test_targets "$tree")"
    if build_tree "$tree" "${targets[@]}"; then result[$tree]=built; else result[$tree]="BUILD FAILED"; failed=1; fi
    build_s[$tree]=$(($(now_s) - start))
done

cleanup() { stop_wine; stop_xvfb; }
trap cleanup EXIT
# An interrupted run still stops Xvfb and Wine: exiting runs the EXIT trap.
trap 'exit 130' INT TERM HUP
start_xvfb || exit 1
need_wine=0
for tree in "${trees[@]}"; do is_windows_tree "$tree" && need_wine=1; done
if [ $need_wine = 1 ]; then setup_wine || exit 1; fi

for tree in "${trees[@]}"; do
    [ "${result[$tree]}" = built ] || continue
    log="$BRINDLE_BUILD/$tree.ctest.log"
    say "ctest in build/$tree"
    start=$(now_s)
    (
        if [ "$tree" = asan ]; then
            export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1
            export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
            export LSAN_OPTIONS="suppressions=$BRINDLE_ROOT/scripts/lsan.supp:print_suppressions=0"
        fi
        selection=()
        mapfile -t selection < <(tree_test_selection "$tree")
        ctest --test-dir "$BRINDLE_BUILD/$tree" --output-on-failure --no-tests=error \
              -j "$BRINDLE_JOBS" "${selection[@]}" "${ctest_extra[@]}"
    ) 2>&1 | tee "$log"
    rc=${PIPESTATUS[0]}
    test_s[$tree]=$(($(now_s) - start))
    counts[$tree]=$(grep -Eo '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    if [ "$rc" = 0 ]; then result[$tree]=passed; else result[$tree]=FAILED; failed=1; fi
done

echo
say "summary (build and test seconds; logs in $BRINDLE_BUILD/<tree>.log and <tree>.ctest.log)"
for tree in "${trees[@]}"; do
    printf '   %-6s %-13s build %4s s  test %4s s  %s\n' "$tree" "${result[$tree]}" \
        "${build_s[$tree]}" "${test_s[$tree]:--}" "${counts[$tree]:-}"
done
say "total $(($(now_s) - run_start)) s"
if [ $failed != 0 ]; then
    warn "some trees failed"
    exit 1
fi
say "all tests passed"
