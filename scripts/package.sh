#!/usr/bin/env bash
# Builds the release packages into build/packages:
#   brindleloop_<version>_<arch>.deb    the Linux build: /usr/lib/vst/brindleLoop.so, the tools
#                                       in /usr/bin, presets and documentation under /usr/share
#                                       (CPack from build/linux; Depends from dpkg-shlibdeps)
#                                       and /usr/lib/vst3/brindleLoop.vst3/ (x86_64-linux)
#   brindleLoop-<version>-windows.zip   win32/ and win64/brindleLoop.dll and .clap, the VST 3 bundle
#                                       brindleLoop.vst3/ (x86-win, x86_64-win), presets/,
#                                       README.txt (both Windows trees installed into one folder)
#   brindleLoop-<version>-vst3.zip      the VST 3 bundle for all four targets: x86_64-linux,
#                                       aarch64-linux, x86-win, x86_64-win and moduleinfo.json
#                                       (each binary from its own tree)
#   scripts/package.sh                  all three
#   scripts/package.sh deb|zip|vst3     one
# Builds only the targets the packages hold, in the usual trees.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

out=$BRINDLE_BUILD/packages
what=${1:-all}
case $what in deb|zip|vst3|all) ;; *) sed -n '2,15p' "$0"; exit 2 ;; esac
mkdir -p "$out"

# The project's version as CMake read it when it configured the tree.
tree_version() {
    sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BRINDLE_BUILD/$1/CMakeCache.txt"
}

make_deb() {
    build_tree linux brindleLoop brindleLoop_vst3 brindleLoop_clap brindleloop-info brindleloop-render || exit 1
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
    build_tree win32 brindleLoop brindleLoop_vst3 brindleLoop_clap || exit 1
    build_tree win64 brindleLoop brindleLoop_vst3 brindleLoop_clap || exit 1
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

# The four trees' binaries in one bundle, as hosts on every platform take it.
make_vst3() {
    local tree version name stage
    for tree in linux aarch64 win32 win64; do build_tree "$tree" brindleLoop_vst3 || exit 1; done
    version=$(tree_version linux)
    for tree in aarch64 win32 win64; do
        [ "$version" = "$(tree_version "$tree")" ] || die "the trees were configured from different versions"
    done
    name="brindleLoop-$version-vst3"
    stage="$out/.vst3/$name"
    rm -rf "$out/.vst3" "$out/$name.zip"
    mkdir -p "$stage/brindleLoop.vst3/Contents"
    for tree in linux aarch64 win32 win64; do
        cp -R "$BRINDLE_BUILD/$tree/vst3/brindleLoop.vst3/Contents/." "$stage/brindleLoop.vst3/Contents/"
    done
    # Import libraries of the Windows links are of no use to a host.
    find "$stage" -name '*.a' -delete
    (cd "$out/.vst3" && cmake -E tar cf "$out/$name.zip" --format=zip "$name")
    rm -rf "$out/.vst3"
    say "$out/$name.zip"
    cmake -E tar tf "$out/$name.zip" | grep -v '/$' | sed 's/^/   /'
}

case $what in
    deb) make_deb ;;
    zip) make_zip ;;
    vst3) make_vst3 ;;
    all) make_deb; make_zip; make_vst3 ;;
esac
