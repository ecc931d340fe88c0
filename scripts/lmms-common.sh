# What the LMMS scripts share (sourced after common.sh): LMMS 1.2 from Debian (its VST server
# runs Windows VST 2 DLLs under Wine) in a home, Wine prefix and configuration of its own, under
# Xvfb, driven with xdotool.
# shellcheck shell=bash

# Checks the DLL is built, installs what is missing, makes $work/home (HOME) and $work/vst
# holding the DLL, starts Xvfb and the Wine prefix $work/wineprefix, and writes LMMS's
# configuration: dummy audio and MIDI (no sound card under Xvfb), the plug-in window shown as
# EMBED says (default: on its own; embedding needs a window manager's help that Xvfb alone does
# not give). Stops all of it on exit.
#   lmms_session WORK DLL [EMBED]
lmms_session() {
    local dll=$2 embed=${3:-none}
    work=$1
    [ -f "$dll" ] || { warn "no DLL at $dll: build it first (scripts/build.sh win32)"; return 1; }
    # LMMS's VST support lives in its i386 build: the VST effect and server are i386 libraries.
    install_packages lmms:i386 lmms-vst-server:i386 xdotool x11-apps imagemagick xvfb wine wine32:i386 ||
        return 1
    rm -rf "$work/home" "$work/vst"
    mkdir -p "$work/home/lmms" "$work/vst"
    cp "$dll" "$work/vst/brindleLoop.dll"
    export HOME="$work/home"
    lmms_pid=""
    trap lmms_stop EXIT
    trap 'exit 130' INT TERM HUP
    start_xvfb || return 1
    setup_wine "$work/wineprefix" || return 1
    cat >"$HOME/.lmmsrc.xml" <<CONFIG
<?xml version="1.0"?>
<!DOCTYPE lmms-config-file>
<lmms version="1.2.2">
  <app nomsgaftersetup="1" nommpz="1" openlastproject="0" disablebackup="1"/>
  <mixer audiodev="Dummy (no sound output)" mididev="Dummy (no MIDI support)"/>
  <paths workingdir="$HOME/lmms/" vstdir="$work/vst/" ladspadir="" sf2dir="" gigdir="" defaultsf2=""/>
  <ui vstembedmethod="$embed" enableautosave="0" displaydbfs="0"/>
</lmms>
CONFIG
}

lmms_stop() {
    [ -n "$lmms_pid" ] && kill "$lmms_pid" 2>/dev/null
    [ -n "$lmms_pid" ] && wait "$lmms_pid" 2>/dev/null
    stop_wine
    stop_xvfb
}

# Starts LMMS on a project; its output goes to $work/lmms.log (lmms_log), its pid to lmms_pid.
lmms_start() {
    lmms_log="$work/lmms.log"
    say "starting LMMS with $1 (log: $lmms_log)"
    lmms --allowroot "$1" >"$lmms_log" 2>&1 &
    lmms_pid=$!
}

# Waits up to $2 seconds for a visible window whose name matches $1 and prints its id.
wait_window() {
    local w
    for _ in $(seq 1 "$2"); do
        w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
        [ -n "$w" ] && { echo "$w"; return 0; }
        sleep 1
    done
    return 1
}

# LMMS opens its setup dialog at the first start with a new configuration: accept it with a click
# on OK (XTest: there is no window manager to give a window the focus for keys).
accept_setup() {
    local id=$1 X Y WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$id")" || return 1
    say "accepting \"$(xdotool getwindowname "$id")\""
    xdotool mousemove $((X + WIDTH - 140)) $((Y + HEIGHT - 29)) click 1
}
