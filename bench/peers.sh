#!/usr/bin/env bash
# Side-by-side timing: brindleLoop and three simple peers from Debian's dpf-plugins-vst
# (CycleShifter, a loop player; MaBitcrush, a bit crusher; 3BandEQ), each played by the same
# host, brindleloop-render --timing, over the same input and block size. Prints one table of
# CPU seconds per second of audio (median of the repeats; the runs are interleaved so that
# the machine's other load falls on every plug-in alike).
#
#   bench/peers.sh [--seconds S] [--block N] [--repeats R] [--render PATH] [--plugin PATH]
#                  [--compare PATH]
#
# --compare adds the rows of another build of brindleLoop (an earlier one, say) to the same
# interleaved runs.
#
# The input: 44.1 kHz stereo, a sine and noise with a transient three times a second. Our
# plug-in plays in its default program (the transients freeze and loop it) and in a second
# state with both filters, reduced bits and the loop playing. The peers play with their own
# defaults; CycleShifter has one input and output, MaBitcrush one input (the host gives them
# the left channel). Installs dpf-plugins-vst when it is missing (apt-get, as root); the tests
# do not need it.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
BUILD=$BRINDLE_BUILD
seconds=10
block=512
repeats=9
render="$BUILD/linux/bin/brindleloop-render"
plugin="$BUILD/linux/plugin/brindleLoop.so"
compare=""
while [ $# -gt 0 ]; do
    case $1 in
        --seconds) seconds=$2; shift 2 ;;
        --block) block=$2; shift 2 ;;
        --repeats) repeats=$2; shift 2 ;;
        --render) render=$2; shift 2 ;;
        --plugin) plugin=$2; shift 2 ;;
        --compare) compare=$2; shift 2 ;;
        -h|--help) sed -n '2,20p' "$0"; exit 0 ;;
        *) warn "peers.sh: unknown option $1"; exit 2 ;;
    esac
done

VST=/usr/lib/vst
peers=(CycleShifter MaBitcrush 3BandEQ)
missing=0
for p in "${peers[@]}"; do [ -f "$VST/$p-vst.so" ] || missing=1; done
if [ $missing = 1 ]; then
    say "installing dpf-plugins-vst (the peers)"
    install_packages dpf-plugins-vst >/dev/null || exit 1
fi
if [ ! -x "$render" ] || [ ! -f "$plugin" ]; then
    die "peers.sh: $render or $plugin missing; build first (scripts/build.sh linux)"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 - "$work/input.wav" "$seconds" <<'PY'
import math, random, struct, sys
path, seconds = sys.argv[1], float(sys.argv[2])
rate = 44100
frames = int(seconds * rate)
rng = random.Random(7)
data = bytearray()
for i in range(frames):
    t = i / rate
    since = t % (1.0 / 3.0)                       # a transient three times a second
    hit = 0.8 * math.exp(-since * 200.0) if since < 0.03 else 0.0
    left = 0.1 * math.sin(2 * math.pi * 220.0 * t) + 0.03 * (rng.random() * 2 - 1) + hit * (rng.random() * 2 - 1)
    right = 0.1 * math.sin(2 * math.pi * 330.0 * t) + 0.03 * (rng.random() * 2 - 1) + hit * (rng.random() * 2 - 1)
    data += struct.pack('<ff', left, right)
fmt = struct.pack('<HHIIHH', 3, 2, rate, rate * 8, 8, 32)
with open(path, 'wb') as f:
    f.write(b'RIFF' + struct.pack('<I', 4 + 8 + len(fmt) + 8 + len(data)) + b'WAVE')
    f.write(b'fmt ' + struct.pack('<I', len(fmt)) + fmt)
    f.write(b'data' + struct.pack('<I', len(data)) + data)
PY

# name|plug-in|extra arguments
filters="--pre-filter lp --post-filter bp --param bits=0.5 --param pre-cutoff=0.7 --param post-cutoff=0.5 --param post-reso=0.6 --param dry/wet=0.8"
rows=(
    "brindleLoop, default program|$plugin|"
    "brindleLoop, both filters + bits 0.5|$plugin|$filters"
)
for p in "${peers[@]}"; do rows+=("$p|$VST/$p-vst.so|"); done
if [ -n "$compare" ]; then
    rows+=("compared build, default program|$compare|" "compared build, both filters + bits|$compare|$filters")
fi

declare -A times
for r in $(seq 1 "$repeats"); do
    for i in "${!rows[@]}"; do
        IFS='|' read -r name file extra <<<"${rows[$i]}"
        # shellcheck disable=SC2086  # extra is a list of words
        line=$("$render" "$work/input.wav" -o "$work/out.wav" --plugin "$file" --block "$block" --timing --quiet $extra)
        value=$(sed -n 's/.*: \([0-9.e+-]*\) CPU s per audio s.*/\1/p' <<<"$line")
        [ -n "$value" ] || { echo "peers.sh: no timing from $name: $line" >&2; exit 1; }
        times[$i]="${times[$i]:-} $value"
    done
done

printf '\n%s s of 44.1 kHz stereo, blocks of %s, median of %s interleaved runs\n\n' "$seconds" "$block" "$repeats"
printf '| %-38s | %-22s | %-10s | %-10s |\n' "plug-in" "CPU s per s of audio" "min" "ns/sample"
printf '|%s|%s|%s|%s|\n' "----------------------------------------" "------------------------" "------------" "------------"
declare -A median
for i in "${!rows[@]}"; do
    IFS='|' read -r name _ _ <<<"${rows[$i]}"
    read -r med minimum < <(tr ' ' '\n' <<<"${times[$i]}" | sed '/^$/d' | sort -g |
        awk '{v[NR]=$1} END {m = (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2; print m, v[1]}')
    median[$i]=$med
    ns=$(awk -v m="$med" 'BEGIN {printf "%.2f", m * 1e9 / 44100}')
    printf '| %-38s | %-22s | %-10s | %-10s |\n' "$name" "$med" "$minimum" "$ns"
done
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2fx", a / b}'; }
echo
echo "default program / CycleShifter:        $(ratio "${median[0]}" "${median[2]}")  (target at most 1.2x)"
echo "both filters + bits / 3BandEQ:         $(ratio "${median[1]}" "${median[4]}")  (target at most 1.0x)"
if [ -n "$compare" ]; then
    echo "compared build, default / CycleShifter: $(ratio "${median[5]}" "${median[2]}")"
    echo "compared build, filters / 3BandEQ:      $(ratio "${median[6]}" "${median[4]}")"
fi
