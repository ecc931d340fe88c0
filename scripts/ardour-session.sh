#!/usr/bin/env bash
# The LV2 plug-in in Ardour 7 (Debian's ardour), headless through its Lua session tool, as a
# user's session would hold it: a session at 98 BPM with an audio track playing a test signal
# into brindleLoop (size 0.7, changed step values given as LV2 state by a preset), exported
# without and with the effect, saved, reopened and exported again. Each export with the effect
# must equal brindleloop-render playing the export without it through the VST 2 .so at the
# same tempo and settings, sample for sample; the reopened session must still play the changed
# steps (and differ from the default steps). Ardour runs the effect for a few blocks of silence
# before an export starts; the render is given the same silence (searched in whole blocks).
# Not part of the test suite; installs Debian's ardour when missing.
#   scripts/ardour-session.sh [LV2 folder]  (default build/linux/lib/lv2)
#
# The same for the VST 3 bundle (scripts/ardour-session.sh vst3 [folder holding
# brindleLoop.vst3], default build/linux/vst3): Ardour's own VST 3 scanner indexes the bundle, the
# changed steps come from a user preset (.vstpreset) holding the plug-in's state, and Dry/Wet is
# automated in the session (a step from 1 to 0.3 at 2 s); each export with the effect must equal
# the VST 2 .so playing the export without it with the same settings and the same change at the
# same sample (tests/vst3's brindleloop-vst2-automated), and the reopened session must play the
# same again.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

if [ "${1:-}" = vst3 ]; then
    exec "$(dirname "${BASH_SOURCE[0]}")/ardour/vst3-session.sh" "${2:-$BRINDLE_BUILD/linux/vst3}"
fi

lv2_path=${1:-$BRINDLE_BUILD/linux/lib/lv2}
render=${BRINDLE_RENDER:-$BRINDLE_BUILD/linux/bin/brindleloop-render}
plugin=${BRINDLE_PLUGIN:-$(plugin_file linux)}
work="$BRINDLE_BUILD/ardour"
here="$BRINDLE_ROOT/scripts/ardour"
uri=urn:fennelworks:brindleloop
steps=0.1,0.9,0.3,0.7,0.2,0.8,0.4,0.6,0.15,0.85,0.35,0.65,0.25,0.75,0.45,0.55
install_packages ardour
command -v ardour7-lua >/dev/null || die "no ardour7-lua after installing ardour"
[ -x "$render" ] && [ -f "$plugin" ] || die "build the linux tree first"
rm -rf "$work" && mkdir -p "$work/config/ardour7/scripts" "$work/config/ardour7/export" "$work/lv2/steps.lv2"

# Ardour's own folders for this run: the generator script and a float WAV export preset.
cp "$here/brindle_test_signal.lua" "$work/config/ardour7/scripts/"
cat >"$work/config/ardour7/export/brindle-float.preset" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<ExportPreset id="6b1b4c1e-0b7a-4c36-9d6e-b71d1e000001" name="brindleLoop float WAV">
  <ExportFormat id="20b4ab09-6452-4cb3-bd66-b921cdbd2942"/>
  <ExportFilename>
    <Folder relative="1" path="export"/>
    <Field name="label" enabled="1"/>
  </ExportFilename>
</ExportPreset>
XML

# A user preset holding the state: the bank the render tool saves with these steps and size.
"$render" --quiet --param size=0.7 --steps "$steps" --save-bank "$work/steps.fxb"
python3 - "$work/steps.fxb" "$work/lv2/steps.lv2" "$uri" <<'PY'
import base64, struct, sys
data = open(sys.argv[1], 'rb').read()
size = struct.unpack('>i', data[156:160])[0]
assert data[8:12] == b'FBCh' and size == 1476, 'not a bank chunk file'
bank = base64.b64encode(data[160:160 + size]).decode()
uri, out = sys.argv[3], sys.argv[2]
prefixes = ('@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n'
            '@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n'
            '@prefix state: <http://lv2plug.in/ns/ext/state#> .\n@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n\n')
preset = '<urn:brindleloop-test:steps>'
open(out + '/manifest.ttl', 'w').write(prefixes + preset + ' a pset:Preset ; lv2:appliesTo <%s> ; rdfs:seeAlso <steps.ttl> .\n' % uri)
open(out + '/steps.ttl', 'w').write(prefixes + preset + ' a pset:Preset ; lv2:appliesTo <%s> ; rdfs:label "Test steps" ;\n'
    '  state:state [ <%s#bank> [ a <%s#BankChunk> ; rdf:value "%s"^^xsd:base64Binary ] ;\n'
    '                <%s#program> "0"^^xsd:int ] .\n' % (uri, uri, uri, bank, uri))
PY

# Equal to the render of the dry export through the VST 2 .so, given the silence Ardour ran first.
compare() {
    python3 - "$1/dry/export.wav" "$1/wet/export.wav" "$render" "$plugin" "$2" --tempo 98 --param size=0.7 --steps "$steps" <<'PY'
import array, struct, subprocess, sys
def samples(path):
    b = open(path, 'rb').read(); i = 12
    while i < len(b):
        cid, n = b[i:i + 4], struct.unpack('<I', b[i + 4:i + 8])[0]
        if cid == b'data': return b[:i], b[i + 8:i + 8 + n]
        i += 8 + n + (n & 1)
dry, wet, render, plugin, scratch = sys.argv[1:6]
args = sys.argv[6:]
head, body = samples(dry)
wet_samples = array.array('f', samples(wet)[1])
plain = None
for blocks in range(0, 400):
    pad = bytes(8 * 1024 * blocks) + body
    out = bytearray(head + b'data' + struct.pack('<I', len(pad)) + pad)
    struct.pack_into('<I', out, 4, len(out) - 8)
    open(scratch + '/padded.wav', 'wb').write(out)
    subprocess.run([render, scratch + '/padded.wav', '-o', scratch + '/vst.wav', '--plugin', plugin, '--quiet', '--block', '1024'] + args, check=True)
    vst = array.array('f', samples(scratch + '/vst.wav')[1])[2 * 1024 * blocks:]
    if vst == wet_samples:
        print('   equal to the VST 2 render: %d samples compared, after %d blocks of silence' % (len(vst), blocks))
        sys.exit(0)
print('   the export equals no VST 2 render (0..399 blocks of silence before)')
sys.exit(1)
PY
}

# Ardour's Lua session tool now and then crashes while it tears the session down, after the
# work is saved: what counts is the exports and the saved session, not its exit code.
run_session() {
    say "Ardour: $1"
    MODE=$1 SESSION_DIR="$work/session" EXPORT_DIR="$work/$1" STEPS_PRESET=urn:brindleloop-test:steps \
        XDG_CONFIG_HOME="$work/config" LV2_PATH="$lv2_path:$work/lv2" \
        timeout 600 ardour7-lua "$here/session.lua" >"$work/$1.log" 2>&1 || true
    grep -v -E 'Ignored format|^\[WARNING\]|dconf' "$work/$1.log" | sed 's/^/   /'
    grep -q '^saved ' "$work/$1.log" && [ -f "$work/$1/wet/export.wav" ] || die "Ardour did not finish ($work/$1.log)"
}

run_session create
compare "$work/create" "$work"
grep -q "$uri" "$work/session/brindle.ardour" || die "the saved session holds no $uri"
run_session reopen
compare "$work/reopen" "$work"
# The steps are what makes the reopened session sound so: with the default steps it would not.
if python3 - "$work/reopen/wet/export.wav" "$work/create/wet/export.wav" <<'PY'
import sys; sys.exit(0 if open(sys.argv[1], 'rb').read()[-200000:] == open(sys.argv[2], 'rb').read()[-200000:] else 1)
PY
then say "the reopened session plays as the saved one did"; else die "the reopened session plays differently"; fi
"$render" "$work/reopen/dry/export.wav" -o "$work/default-steps.wav" --plugin "$plugin" --quiet --tempo 98 --param size=0.7
cmp -s <(tail -c 200000 "$work/default-steps.wav") <(tail -c 200000 "$work/reopen/wet/export.wav") &&
    die "the default steps give the same audio: the test shows nothing"
say "Ardour: exports equal to the VST 2 render at 98 BPM, and the reopened session holds the changed steps"
