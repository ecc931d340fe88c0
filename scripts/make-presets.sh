#!/usr/bin/env bash
# Writes the factory presets into presets/ (or the folder given) with brindleloop-render's
# --save-preset and --save-bank, so every file holds the plug-in's own chunk as hosts save it.
# The values are chosen for what each preset's line in the README says; the render tests check
# those lines on the demo loop and that this script still writes the committed files.
#   scripts/make-presets.sh [folder]        (needs build/linux, or BRINDLE_RENDER=tool)
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

tool=${BRINDLE_RENDER:-$BRINDLE_BUILD/linux/bin/brindleloop-render}
out=${1:-$BRINDLE_ROOT/presets}
[ -x "$tool" ] || { warn "no $tool: build it first (scripts/build.sh linux)"; exit 1; }
mkdir -p "$out"

# What each value gives (size v: grid units of 1/256 bar, repeat v: passes, bits, a cutoff's
# working value, which the filter design turns into 9000 w + 50 Hz) is each parameter's rule in
# engine/ParameterTable.h.
preset() {
    local file=$1 name=$2
    shift 2
    "$tool" --quiet --name "$name" --save-preset "$out/$file" "$@"
}

preset sixteenth-stutter.fxp "Sixteenth Stutter" \
    --param size=1 --param repeat=0.113 --param knak=0.05 --param dry/wet=1 --param threshold=0.15
preset grain-buzz.fxp "Grain Buzz" \
    --param size=0 --param repeat=1 --param knak=0 --param dry/wet=1 --param threshold=0.15
preset half-roll.fxp "Half Roll" \
    --param size=0.5 --param repeat=0.242 --param knak=0.2 --param dry/wet=0.5 --param threshold=0.15
preset lofi-crush.fxp "Lo-Fi Crush" \
    --param size=0.77 --param repeat=0.05 --param knak=0.1 --param bits=0.0967742 --param dry/wet=1
preset dub-shadow.fxp "Dub Shadow" \
    --param size=1 --param repeat=0.242 --param knak=0.3 --param dry/wet=0.6 \
    --post-filter lp --param post-cutoff=0.2 --param post-reso=0.3
preset kick-catcher.fxp "Kick Catcher" \
    --param size=1 --param repeat=0.113 --param knak=0.1 --param dry/wet=1 --param threshold=0.3 \
    --pre-filter lp --param pre-cutoff=0.15
preset hat-sizzle.fxp "Hat Sizzle" \
    --param size=0.25 --param repeat=0.5 --param knak=0.1 --param dry/wet=0.5 --param threshold=0.02 \
    --pre-filter hp --param pre-cutoff=0.6
preset gated-chop.fxp "Gated Chop" \
    --param size=1 --param repeat=0.242 --param knak=1 --param dry/wet=1
preset radio-repeat.fxp "Radio Repeat" \
    --param size=0.35 --param repeat=0.177 --param knak=0.1 --param dry/wet=1 \
    --post-filter bp --param post-cutoff=0.35 --param post-reso=0.8

# MIDI modes are bank settings, so this one is a bank; its current program holds the values.
"$tool" --quiet --name "MIDI Hold" --save-bank "$out/midi-hold.fxb" \
    --param size=0.25 --param knak=0.05 --param dry/wet=1 --midi-control --note-record-start --repeat-till-noteoff
say "presets written to $out"
