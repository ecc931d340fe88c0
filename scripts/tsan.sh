#!/usr/bin/env bash
# Builds the thread-stress test under ThreadSanitizer (g++ -fsanitize=thread, tree
# build/tsan) and runs it: the audio thread processing without pause while a host/editor
# thread changes the engine and a third thread reads what the editor reads.
#   scripts/tsan.sh              3000 blocks (about 70 s of audio)
#   scripts/tsan.sh 20000        more blocks
# Races that are part of the design (see README, "Hardening") are listed, with the reason,
# in tests/stress/tsan.supp; set BRINDLE_TSAN_ALL=1 to see every report anyway.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

BLOCKS=${1:-3000}
build_tree tsan stress_tests

options="halt_on_error=1:second_deadlock_stack=1:history_size=7"
if [ "${BRINDLE_TSAN_ALL:-0}" != 1 ]; then
    options="$options:suppressions=$BRINDLE_ROOT/tests/stress/tsan.supp:print_suppressions=1"
fi
say "running the thread stress under ThreadSanitizer ($BLOCKS blocks)"
# ASLR on newer kernels can break TSan's memory map; run without it when setarch allows.
runner=()
if setarch "$(uname -m)" -R true 2>/dev/null; then runner=(setarch "$(uname -m)" -R); fi
BRINDLE_STRESS_BLOCKS=$BLOCKS TSAN_OPTIONS=$options "${runner[@]}" "$BRINDLE_BUILD/tsan/tests/stress/stress_tests"
say "ThreadSanitizer found nothing outside the documented races"
