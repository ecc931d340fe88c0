#!/usr/bin/env bash
# The soak run: builds the native tree (build/linux) and renders an hour of audio (sample
# time, offline, a few minutes of wall time) through build/linux/plugin/brindleLoop.so with
# random automation of all twelve parameters, program changes, preset and bank chunks (the
# plug-in's own, made up and damaged), tempo and sample-rate changes, suspends and MIDI notes
# in all eight mode combinations, then the separate NaN checks. Prints its figures and exits
# non-zero when the output is not finite, exceeds the level the settings allow, or memory
# grows.
#   scripts/soak.sh                      60 minutes of audio, seed 1
#   scripts/soak.sh --minutes 240 --seed 7
#   scripts/soak.sh --plugin other/brindleLoop.so
# The test suite runs a two-minute version (ctest -R soak).
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

args=("$@")
have_minutes=0
for a in "${args[@]}"; do [ "$a" = --minutes ] && have_minutes=1; done
[ $have_minutes = 1 ] || args=(--minutes 60 "${args[@]}")

build_tree linux brindleloop-soak brindleLoop
exec "$BRINDLE_BUILD/linux/bin/brindleloop-soak" "${args[@]}"
