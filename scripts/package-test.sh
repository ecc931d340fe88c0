#!/usr/bin/env bash
# Installs the Debian package on a clean Debian 12 root and uses it as a user would: builds
# the .deb (scripts/package.sh deb), then, through ../shared/tools/fresh-machine.sh (root,
# debootstrap, a few minutes), installs it with apt-get (which fetches its dependencies),
# lists what it installed, loads /usr/lib/vst/brindleLoop.so with the installed
# brindleloop-info and renders the demo with the installed brindleloop-render and its
# default plug-in; then, with Debian's lilv-utils added as an LV2 user would, lists the installed
# LV2 bundle with lv2ls and renders the demo through it with lv2apply. Not part of scripts/test.sh. Output also in build/package-test.log.
#   scripts/package-test.sh [--no-build]
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

fresh=${BRINDLE_FRESH_MACHINE:-$BRINDLE_ROOT/../shared/tools/fresh-machine.sh}
[ -x "$fresh" ] || die "no fresh-machine.sh at $fresh (set BRINDLE_FRESH_MACHINE)"
[ "$(id -u)" = 0 ] || die "the clean root needs root (chroot, mounts)"
[ "${1:-}" = --no-build ] || "$BRINDLE_ROOT/scripts/package.sh" deb

debs=("$BRINDLE_BUILD"/packages/brindleloop_*.deb)
[ -f "${debs[0]}" ] || die "no package in $BRINDLE_BUILD/packages"
deb=${debs[${#debs[@]} - 1]}
name=$(basename "$deb")

# In /tmp, which apt's unprivileged download user can read.
inside="set -eo pipefail
export DEBIAN_FRONTEND=noninteractive
echo '== apt-get install ./$name'
apt-get update -q >/dev/null
cd /tmp && apt-get install -y -q ./$name 2>&1 | grep -E '^(Setting up|Get:|Unpacking|The following NEW)' | sed 's/^/   /'
echo '== dpkg -s brindleloop'
dpkg -s brindleloop | grep -E '^(Package|Status|Version|Depends|Installed-Size):' | sed 's/^/   /'
echo '== dpkg -L brindleloop (files)'
dpkg -L brindleloop | while read -r f; do if [ -f \"\$f\" ]; then echo \"   \$f\"; fi; done
echo '== brindleloop-info /usr/lib/vst/brindleLoop.so'
brindleloop-info /usr/lib/vst/brindleLoop.so | sed -n '1,12p'
echo '== brindleloop-render --demo -o /tmp/demo.wav'
cd / && brindleloop-render --demo --timing -o /tmp/demo.wav
ls -l /tmp/demo.wav
echo '== apt-get install lilv-utils; lv2ls'
apt-get install -y -q lilv-utils >/dev/null
ls /usr/lib/lv2/brindleLoop.lv2
lv2ls | grep -x urn:fennelworks:brindleloop
echo '== lv2apply -i /tmp/demo.wav -o /tmp/lv2.wav urn:fennelworks:brindleloop'
lv2apply -i /tmp/demo.wav -o /tmp/lv2.wav urn:fennelworks:brindleloop
ls -l /tmp/lv2.wav
echo '== installed and played from /usr/lib/vst and /usr/lib/lv2'"

say "installing $name on a clean Debian 12 root"
"$fresh" run --timeout 30m --tee --log "$BRINDLE_BUILD/package-test.log" \
    --copy "$deb:/tmp/$name" "$BRINDLE_ROOT" -- bash -c "$inside"
