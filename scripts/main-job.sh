#!/usr/bin/env bash
# The main job: loads each built plug-in through its entry point and reports what a host sees.
# The .so is read by the native brindleloop-info, each DLL by the Windows build of the same
# tool under Wine. Needs the trees that scripts/build.sh builds.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

trap 'stop_wine; stop_xvfb' EXIT
trap 'exit 130' INT TERM HUP
start_xvfb >/dev/null
setup_wine

status=0
say "Linux 64-bit: $(plugin_file linux)"
"$BRINDLE_BUILD/linux/bin/brindleloop-info" "$(plugin_file linux)" || status=1
for tree in win32 win64; do
    say "Windows ${tree#win}-bit under Wine: $(plugin_file "$tree")"
    wine "$BRINDLE_BUILD/$tree/bin/brindleloop-info.exe" "$(plugin_file "$tree")" || status=1
done

# ---- Demo render --------------------------------------------------------------------------
# The offline host plays its built-in drum loop through the Linux plug-in and times it.
demo="$BRINDLE_BUILD/brindleloop-demo.wav"
say "Demo render through $(plugin_file linux)"
"$BRINDLE_BUILD/linux/bin/brindleloop-render" --demo --timing \
    --plugin "$(plugin_file linux)" -o "$demo" || status=1
# ---- end of demo render -------------------------------------------------------------------

exit $status
