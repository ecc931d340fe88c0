#!/usr/bin/env bash
# Opens the 32-bit DLL's editor in a third-party host: LMMS 1.2 from Debian (its VST server runs
# Windows VST 2 DLLs under Wine) under Xvfb. Loads the DLL as a VST effect on a track of a new
# project, asks LMMS to show the effect's window, takes a screenshot of the display into
# docs/editor-lmms.png and says whether the editor window appeared.
# Not part of the test suite: it installs LMMS (i386), xdotool, xwd and ImageMagick when missing.
#   scripts/lmms-editor.sh [path/to/brindleLoop.dll]
set -uo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"
. "$(dirname "${BASH_SOURCE[0]}")/lmms-common.sh"

dll=${1:-$(plugin_file win32)}
work="$BRINDLE_BUILD/lmms"
shot="$BRINDLE_ROOT/docs/editor-lmms.png"

# --- a home, a Wine prefix and a configuration of its own ----------------------------------
mkdir -p "$(dirname "$shot")"
lmms_session "$work" "$dll" "${LMMS_EMBED:-none}" || exit 1
project="$work/editor-in-lmms.mmp"
cat >"$project" <<EOF
<?xml version="1.0"?>
<!DOCTYPE lmms-project>
<lmms-project version="1.0" creator="LMMS" creatorversion="1.2.2" type="song">
  <head timesig_numerator="4" mastervol="100" timesig_denominator="4" bpm="98" masterpitch="0"/>
  <song>
    <trackcontainer width="600" x="5" y="5" maximized="0" height="300" visible="1" type="song" minimized="0">
      <track muted="0" type="2" name="brindleLoop" solo="0">
        <sampletrack pan="0" vol="100">
          <fxchain numofeffects="1" enabled="1">
            <effect on="1" wet="1" autoquit="1" gate="0" name="vsteffect">
              <vsteffectcontrols plugin="brindleLoop.dll" guivisible="1"/>
              <key>
                <attribute value="brindleLoop.dll" name="file"/>
              </key>
            </effect>
          </fxchain>
        </sampletrack>
      </track>
    </trackcontainer>
    <fxmixer width="543" x="5" y="310" maximized="0" height="333" visible="0" minimized="0">
      <fxchannel num="0" muted="0" volume="1" name="Master">
        <fxchain numofeffects="0" enabled="0"/>
      </fxchannel>
    </fxmixer>
  </song>
</lmms-project>
EOF

# --- run it -----------------------------------------------------------------------------------
lmms_start "$project"

# The editor is a 525 by 300 window of the VST server (a Wine process, not LMMS itself); give
# LMMS, the server and Wine up to two minutes to load and show it.
find_editor() {
    local w
    for w in $(xdotool search --onlyvisible --class '' 2>/dev/null); do
        [ "$(xdotool getwindowpid "$w" 2>/dev/null)" = "$lmms_pid" ] && continue
        eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null)"
        if [ "${WIDTH:-0}" = 525 ] && [ "${HEIGHT:-0}" = 300 ]; then echo "$w"; return; fi
    done
}
editor=""
setup_done=0
for _ in $(seq 1 120); do
    kill -0 "$lmms_pid" 2>/dev/null || { warn "LMMS ended"; break; }
    if [ $setup_done = 0 ]; then
        setup=$(xdotool search --onlyvisible --name '^Setup LMMS$' 2>/dev/null | head -n 1)
        if [ -n "$setup" ]; then sleep 1; accept_setup "$setup" && setup_done=1; fi
    fi
    editor=$(find_editor)
    [ -n "$editor" ] && break
    sleep 1
done
sleep "${LMMS_SETTLE:-5}"

say "windows on the display:"
for w in $(xdotool search --onlyvisible --class '' 2>/dev/null); do
    printf '   %s "%s" pid %s %s\n' "$w" "$(xdotool getwindowname "$w" 2>/dev/null)" \
        "$(xdotool getwindowpid "$w" 2>/dev/null)" \
        "$(xdotool getwindowgeometry "$w" 2>/dev/null | tr '\n' ' ' | sed 's/  */ /g')"
done
# The picture is the LMMS main window's area, where the plug-in's window opens.
main=$(xdotool search --onlyvisible --pid "$lmms_pid" --name 'LMMS' 2>/dev/null | head -n 1)
crop=""
if [ -n "$main" ]; then
    eval "$(xdotool getwindowgeometry --shell "$main")"
    crop="-crop ${WIDTH}x${HEIGHT}+${X}+${Y} +repage"
fi
# shellcheck disable=SC2086  # crop is a list of words
xwd -root -silent | convert xwd:- $crop "$shot" && say "screenshot: $shot"
# Does the editor answer real X input through Wine? Each press on the first MIDI switch flips it
# (grey 200,200,200 / orange 247,153,57): presses held 300, 100 and 30 ms, and xdotool's click,
# released at once. Read from the display after each.
colour_at() {
    xwd -root -silent | convert xwd:- -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:
}
if [ -n "$editor" ]; then
    eval "$(xdotool getwindowgeometry --shell "$editor")"
    sx=$((X + 22)); sy=$((Y + 247))   # editor point (22, 247): inside the first switch, off its text
    colour=$(colour_at "$sx" "$sy")
    say "first MIDI switch before: $colour"
    seen=0
    for hold in 0.3 0.1 0.03 0; do
        if [ "$hold" = 0 ]; then xdotool mousemove $((X + 60)) $((Y + 252)) click 1
        else xdotool mousemove $((X + 60)) $((Y + 252)) mousedown 1 sleep "$hold" mouseup 1; fi
        sleep 1
        previous=$colour; colour=$(colour_at "$sx" "$sy")
        [ "$colour" != "$previous" ] && seen=$((seen + 1))
        say "after a press held $hold s: $colour"
    done
    say "$seen of 4 presses flipped the switch"
    # A drag up the first slider ("Atk", at 0) fills its bar: editor point (21, 30) turns from
    # the trough (200,200,220) to the bar colour (135,157,214).
    say "first slider's column at row 30 before a drag: $(colour_at $((X + 21)) $((Y + 30)))"
    xdotool mousemove $((X + 29)) $((Y + 105)) mousedown 1 sleep 0.2 mousemove $((X + 29)) $((Y + 60)) \
        sleep 0.2 mousemove $((X + 29)) $((Y + 20)) sleep 0.2 mouseup 1
    sleep 1
    say "after the drag: $(colour_at $((X + 21)) $((Y + 30)))"
fi
say "LMMS log (last lines):"
tail -n 25 "$lmms_log" | sed 's/^/   /'
if [ -n "$editor" ]; then
    eval "$(xdotool getwindowgeometry --shell "$editor")"
    say "the editor window appeared: window $editor of process $(xdotool getwindowpid "$editor")" \
        "(the VST server), ${WIDTH}x${HEIGHT} at $X,$Y"
    exit 0
fi
warn "the editor window did not appear"
exit 1
