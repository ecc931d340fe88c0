#!/usr/bin/env bash
# Has a real host save preset and bank files of the plug-in: LMMS 1.2 (Debian, i386; its VST
# server runs the 32-bit DLL under Wine) under Xvfb, driven with xdotool. The DLL is loaded as an
# effect of the FX mixer's master channel; in the effect's control window LMMS's own "Save preset"
# writes tests/render/data/lmms-default.fxp and .fxb (the plug-in as loaded), then its "Open
# preset" loads presets/sixteenth-stutter.fxp and "Save preset" writes lmms-stutter.fxp and .fxb.
# LMMS names the saved program after the file. The render tests load what LMMS wrote; they do not
# need LMMS. Not part of the test suite; it installs LMMS, xdotool and ImageMagick when missing.
#   scripts/lmms-presets.sh [path/to/brindleLoop.dll]
set -uo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"
. "$(dirname "${BASH_SOURCE[0]}")/lmms-common.sh"

dll=${1:-$(plugin_file win32)}
work="$BRINDLE_BUILD/lmms-presets"
data="$BRINDLE_ROOT/tests/render/data"
factory="$BRINDLE_ROOT/presets/sixteenth-stutter.fxp"

lmms_session "$work" "$dll" || exit 1
rm -rf "$work/out"
mkdir -p "$work/out" "$data"

project="$work/presets-in-lmms.mmp"
cat >"$project" <<'PROJECT'
<?xml version="1.0"?>
<!DOCTYPE lmms-project>
<lmms-project version="1.0" creator="LMMS" creatorversion="1.2.2" type="song">
  <head timesig_numerator="4" mastervol="100" timesig_denominator="4" bpm="120" masterpitch="0"/>
  <song>
    <trackcontainer width="600" x="5" y="5" maximized="0" height="300" visible="1" type="song" minimized="0">
      <track muted="0" type="2" name="audio" solo="0">
        <sampletrack pan="0" vol="100"><fxchain numofeffects="0" enabled="0"/></sampletrack>
      </track>
    </trackcontainer>
    <fxmixer width="800" x="5" y="310" maximized="0" height="333" visible="1" minimized="0">
      <fxchannel num="0" muted="0" volume="1" name="Master">
        <fxchain numofeffects="1" enabled="1">
          <effect on="1" wet="1" autoquit="1" gate="0" name="vsteffect">
            <vsteffectcontrols plugin="brindleLoop.dll" guivisible="0"/>
            <key><attribute value="brindleLoop.dll" name="file"/></key>
          </effect>
        </fxchain>
      </fxchannel>
    </fxmixer>
  </song>
</lmms-project>
PROJECT

lmms_start "$project"

# The setup dialog of a first start.
setup=$(wait_window '^Setup LMMS$' 60) || { warn "LMMS did not start"; exit 1; }
sleep 1; accept_setup "$setup"
main=$(wait_window 'LMMS 1\.2' 60) || { warn "no LMMS main window"; exit 1; }
sleep 10  # the VST server loads the DLL under Wine
# The points below are those of LMMS 1.2.2's layout in a 1280x1024 main window: the controller
# rack's close box (it covers the effect's buttons), the effect's "Controls" button, and in the
# control window that opens the "Open preset" and "Save preset" buttons.
xdotool windowsize "$main" 1280 1024; sleep 2
xdotool mousemove 1047 407 click 1; sleep 1
xdotool mousemove 760 468 click 1; sleep 3
open_button=(630 635)
save_button=(648 635)

# Clicks a button, waits for the file dialog $2, types the path $3 into its name field.
file_dialog() {
    local -n point=$1
    local dialog
    xdotool mousemove "${point[0]}" "${point[1]}" click 1
    dialog=$(wait_window "^$2\$" 15) || { warn "no \"$2\" dialog"; return 1; }
    xdotool windowfocus "$dialog"; sleep 0.5
    xdotool key ctrl+a; xdotool type --delay 30 "$3"; xdotool key Return
    sleep 3
}
save_as() {
    file_dialog save_button "Save Preset" "$work/out/$1" || return 1
    [ -s "$work/out/$1" ] || { warn "LMMS wrote no $1"; return 1; }
    say "LMMS wrote $1 ($(stat -c %s "$work/out/$1") bytes)"
}
save_as lmms-default.fxp && save_as lmms-default.fxb &&
    file_dialog open_button "Open Preset" "$factory" &&
    save_as lmms-stutter.fxp && save_as lmms-stutter.fxb || { tail -n 20 "$lmms_log"; exit 1; }
cp "$work/out"/lmms-*.fx? "$data/"
say "copied to $data:"; ls -l "$data"/lmms-*
