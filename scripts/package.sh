#!/usr/bin/env bash
# Builds the release packages into build/packages:
#   brindleloop_<version>_<arch>.deb    the Linux build: /usr/lib/vst/brindleLoop.so, the tools
#                                       in /usr/bin, presets and documentation under /usr/share
#                                       (CPack from build/linux; Depends from dpkg-shlibdeps)
#   brindleLoop-<version>-windows.zip   win32/ and win64/brindleLoop.dll and .clap, presets/, README.txt
#                                       (both Windows trees installed into one folder)
#   scripts/package.sh            both
#   scripts/package.sh deb|zip    one
# Builds only the targets the packages hold, in the usual trees.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

out=$BRINDLE_BUILD/packages
what=${1:-all}
case $what in deb|zip|all) ;; *) sed -n '2,10p' "$0"; exit 2 ;; esac
mkdir -p "$out"

# The project's version as CMake read it when it configured the tree.
tree_version() {
    sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BRINDLE_BUILD/$1/CMakeCache.txt"
}

make_deb() {
    build_tree linux brindleLoop brindleLoop_clap brindleloop-info brindleloop-render || exit 1
    local version work
    version=$(tree_version linux)
    work="$out/.deb"
    rm -rf "$work"
    cpack -G DEB --config "$BRINDLE_BUILD/linux/CPackConfig.cmake" -B "$work" >"$out/deb.log" 2>&1 ||
        { tail -n 40 "$out/deb.log" >&2; die "cpack failed; see $out/deb.log"; }
    mv "$work"/brindleloop_"$version"_*.deb "$out/"
    rm -rf "$work"
    local deb
    deb=$(ls "$out"/brindleloop_"$version"_*.deb)
    say "$deb"
    dpkg-deb --field "$deb" Package Version Architecture Depends Installed-Size | sed 's/^/   /'
    dpkg-deb --contents "$deb" | awk '$NF !~ /\/$/ {print "   " $NF}'
}

make_zip() {
    build_tree win32 brindleLoop brindleLoop_clap || exit 1
    build_tree win64 brindleLoop brindleLoop_clap || exit 1
    local version name stage tree
    version=$(tree_version win32)
    [ "$version" = "$(tree_version win64)" ] || die "the Windows trees were configured from different versions"
    name="brindleLoop-$version-windows"
    stage="$out/.zip/$name"
    rm -rf "$out/.zip" "$out/$name.zip"
    for tree in win32 win64; do
        cmake --install "$BRINDLE_BUILD/$tree" --prefix "$stage" --strip >"$out/zip-$tree.log" 2>&1 ||
            { cat "$out/zip-$tree.log" >&2; die "installing $tree failed"; }
    done
    (cd "$out/.zip" && cmake -E tar cf "$out/$name.zip" --format=zip "$name")
    rm -rf "$out/.zip"
    say "$out/$name.zip"
    cmake -E tar tf "$out/$name.zip" | grep -v '/$' | sed 's/^/   /'
}

[ "$what" = zip ] || make_deb
[ "$what" = deb ] || make_zip
