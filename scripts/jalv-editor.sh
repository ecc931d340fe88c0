#!/usr/bin/env bash
# Opens the LV2 editor in a real LV2 host, as a user would: Debian's jalv.gtk3 under Xvfb with a
# JACK server on the dummy driver. Takes a screenshot of jalv's window into docs/editor-jalv.png,
# drags the Size slider with the pointer (xdotool), then saves jalv's state through its File >
# Save dialog and prints the value jalv holds for the size port before and after the drag.
# Not part of the test suite; installs jackd2, xdotool, x11-apps and ImageMagick when missing.
#   scripts/jalv-editor.sh [LV2 folder holding brindleLoop.lv2]   (default: build/linux/lib/lv2)
set -uo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

lv2_path=${1:-$BRINDLE_BUILD/linux/lib/lv2}
work="$BRINDLE_BUILD/jalv"
shot="$BRINDLE_ROOT/docs/editor-jalv.png"
uri=urn:fennelworks:brindleloop
[ -f "$lv2_path/brindleLoop.lv2/manifest.ttl" ] || die "no brindleLoop.lv2 in $lv2_path: build it first"
install_packages jalv jackd2 xdotool x11-apps imagemagick
rm -rf "$work" && mkdir -p "$work"

jack_pid="" jalv_pid=""
cleanup() {
    [ -n "$jalv_pid" ] && kill "$jalv_pid" 2>/dev/null
    [ -n "$jack_pid" ] && kill "$jack_pid" 2>/dev/null
    wait 2>/dev/null
    stop_xvfb
}
trap cleanup EXIT
start_xvfb || exit 1

# A JACK server of our own name, so that no other one is touched.
export JACK_DEFAULT_SERVER="brindle-jalv-$$" JACK_NO_AUDIO_RESERVATION=1
jackd -n "$JACK_DEFAULT_SERVER" -d dummy -r 44100 -p 512 >"$work/jackd.log" 2>&1 &
jack_pid=$!
sleep 2

# Saves jalv's state into $1 through its File > Save dialog; prints the size port's value.
save_state() {
    local dialog
    xdotool windowfocus --sync "$window" key --clearmodifiers ctrl+s
    dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^Save' | head -n 1)
    [ -n "$dialog" ] || { warn "jalv opened no save dialog"; return 1; }
    # No window manager: the dialog gets the keyboard focus from us.
    xdotool windowfocus --sync "$dialog"
    sleep 1
    xdotool type --delay 20 "$1"
    sleep 0.5
    xdotool key --clearmodifiers Return
    for _ in $(seq 1 50); do [ -f "$1/state.ttl" ] && break; sleep 0.2; done
    [ -f "$1/state.ttl" ] || { warn "jalv saved no state into $1"; return 1; }
    grep -A1 'lv2:symbol "size"' "$1/state.ttl" | grep -o 'pset:value [-0-9.e]*' | head -n 1
}

LV2_PATH="$lv2_path" jalv.gtk3 -s "$uri" >"$work/jalv.log" 2>&1 &
jalv_pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name brindleLoop | head -n 1)
[ -n "$window" ] || { cat "$work/jalv.log"; die "jalv showed no window"; }
sleep 2
# The editor: jalv's descendant window of 525 x 300.
editor=$(xwininfo -tree -id "$window" | awk '/525x300\+/ {print $1; exit}')
[ -n "$editor" ] || { xwininfo -tree -id "$window"; die "no 525x300 editor inside jalv's window"; }
read -r ex ey < <(xwininfo -id "$editor" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}')
say "jalv window $window, editor $editor at $ex,$ey"
xwd -id "$window" -silent | convert xwd:- "$shot" && say "screenshot: $shot"

before=$(save_state "$work/before")
# The Size slider (third from the left): from its middle up towards the top of its travel.
x=$((ex + 15 + 70)) y0=$((ey + 10 + 60)) y1=$((ey + 10 + 25))
xdotool mousemove --sync "$x" "$y0" mousedown 1
for y in $(seq "$y0" -5 "$y1"); do xdotool mousemove --sync "$x" "$y"; sleep 0.05; done
xdotool mouseup 1
sleep 1
xwd -id "$window" -silent | convert xwd:- "$work/after-drag.png"
after=$(save_state "$work/after")
say "size port in jalv's state: before the drag ${before:-none}, after it ${after:-none}"
[ -n "$before" ] && [ -n "$after" ] && [ "$before" != "$after" ] || die "the drag did not reach jalv's port"
say "the drag changed the value jalv holds for the size port"
