# Shared by the project's scripts (sourced, not run): paths, build trees, Xvfb and Wine.
# shellcheck shell=bash

BRINDLE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BRINDLE_BUILD=${BRINDLE_BUILD:-$BRINDLE_ROOT/build}
BRINDLE_JOBS=${BRINDLE_JOBS:-2}
BRINDLE_TREES=(linux win32 win64)

say() { printf '== %s\n' "$*"; }
warn() { printf '!! %s\n' "$*" >&2; }
die() { warn "$*"; exit 1; }

now_s() { date +%s; }

# CMake arguments of one build tree, one per line. Warnings are errors in every tree the
# project's scripts build (BRINDLE_WERROR, off for anyone else), the fuzz tree apart.
tree_args() {
    case $1 in
        linux|asan|tsan|clang|plain|aarch64|win32|win64) echo -DBRINDLE_WERROR=ON ;;
    esac
    case $1 in
        linux) ;;
        # The same tree built with clang, as users and distributions also build it.
        clang) printf '%s\n' -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ ;;
        # The engine's plain C++ vector back end on x86, where the others are tested too.
        plain) printf '%s\n' -DBRINDLE_SIMD=plain -DBRINDLE_BENCH=OFF ;;
        # 64-bit ARM Linux, cross-built; its tests run under qemu-user.
        aarch64) printf '%s\n' "-DCMAKE_TOOLCHAIN_FILE=$BRINDLE_ROOT/cmake/toolchain-aarch64-linux-gnu.cmake" \
                     -DBRINDLE_BENCH=OFF ;;
        win32) echo "-DCMAKE_TOOLCHAIN_FILE=$BRINDLE_ROOT/cmake/toolchain-i686-w64-mingw32.cmake" ;;
        win64) echo "-DCMAKE_TOOLCHAIN_FILE=$BRINDLE_ROOT/cmake/toolchain-x86_64-w64-mingw32.cmake" ;;
        # Sanitizer run: native, tests and the tools they drive, no benchmarks. GCC leaves
        # out-of-range float-to-integer conversions out of -fsanitize=undefined: add them.
        asan) printf '%s\n' -DBRINDLE_SANITIZE=ON -DBRINDLE_BENCH=OFF -DCMAKE_CXX_FLAGS=-fsanitize=float-cast-overflow ;;
        # Thread stress under ThreadSanitizer (scripts/tsan.sh): the tests alone.
        tsan) printf '%s\n' -DBRINDLE_BENCH=OFF -DBRINDLE_TOOLS=OFF \
                  "-DCMAKE_CXX_FLAGS=-fsanitize=thread -fno-omit-frame-pointer" \
                  -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread -DCMAKE_SHARED_LINKER_FLAGS=-fsanitize=thread ;;
        # libFuzzer targets (scripts/fuzz.sh): clang, no tests, tools or benchmarks, warnings
        # shown in the log but not fatal.
        fuzz) printf '%s\n' -DBRINDLE_FUZZ=ON -DBRINDLE_TESTS=OFF -DBRINDLE_TOOLS=OFF -DBRINDLE_BENCH=OFF \
                  -DCMAKE_C_COMPILER="${FUZZ_CC:-clang}" -DCMAKE_CXX_COMPILER="${FUZZ_CXX:-clang++}" ;;
        *) warn "unknown build tree '$1' (linux, clang, plain, aarch64, win32, win64, asan, tsan, fuzz)"; return 1 ;;
    esac
}

# The CMake build type of a tree: Release where the shipped optimisation (-O3) is built and
# tested with both compilers, RelWithDebInfo where debug information serves (sanitizers,
# Windows under Wine).
tree_build_type() {
    case $1 in
        linux|clang|plain|aarch64) echo Release ;;
        *) echo RelWithDebInfo ;;
    esac
}

# What test.sh builds and runs in a tree: the targets (none: everything) and the ctest
# selection. The plain and aarch64 trees exist to show the engine plays the same samples
# there: the engine tests and the golden renders. The aarch64 tree also builds the LV2 bundle
# (brindleLoop_lv2: DSP and UI binaries, Turtle written by the generator under qemu) and runs
# the LV2 bit-identity test (the arm64 LV2 DSP against the arm64 VST 2 .so, which the golden
# renders hold to the x86 samples) and the LV2 UI tests (the editor, its pictures and its scale,
# on Xvfb); and its VST 3 binary (Contents/aarch64-linux) with the VST 3 host's tests (factory,
# parameters, state, and bit identity against the arm64 VST 2 .so); likewise the arm64
# brindleLoop.clap's bit-identity test and its exported symbol.
tree_test_targets() {
    case $1 in
        plain) echo brindleLoop engine_tests golden_tests ;;
        aarch64) echo brindleLoop engine_tests golden_tests brindleLoop_lv2 lv2_tests brindleLoop_vst3 vst3_tests brindleLoop_clap clap_tests ;;
    esac
}
tree_test_selection() {
    case $1 in
        plain) printf '%s\n' -R '^(engine_tests|golden_tests)[.]' ;;
        aarch64) printf '%s\n' -R '^((engine_tests|golden_tests|vst3_tests)[.]|lv2_tests[.]Lv2(BitIdentity|Ui|UiScale|UiTurtle)[.]|clap_tests[.]ClapBitIdentity[.]|clap_exports$)' ;;
    esac
}

is_windows_tree() { [ "$1" = win32 ] || [ "$1" = win64 ]; }

# The plug-in binary a tree builds.
plugin_file() {
    if is_windows_tree "$1"; then echo "$BRINDLE_BUILD/$1/plugin/brindleLoop.dll"
    else echo "$BRINDLE_BUILD/$1/plugin/brindleLoop.so"; fi
}

# Configures (every time: cheap, and it picks up new test and tool folders) and builds one
# tree: everything, or only the targets named after it. The full log goes to
# build/<tree>.log; on failure its end is shown.
build_tree() {
    local tree=$1 dir="$BRINDLE_BUILD/$1" log="$BRINDLE_BUILD/$1.log" args=() targets=() start
    shift
    tree_args "$tree" >/dev/null || return 1
    mapfile -t args < <(tree_args "$tree")
    [ $# -gt 0 ] && targets=(--target "$@")
    mkdir -p "$BRINDLE_BUILD"
    start=$(now_s)
    if ! { cmake -S "$BRINDLE_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE="$(tree_build_type "$tree")" "${args[@]}" &&
           cmake --build "$dir" -j "$BRINDLE_JOBS" "${targets[@]}"; } >"$log" 2>&1; then
        warn "building $tree failed; the end of $log:"
        tail -n 60 "$log" >&2
        return 1
    fi
    say "built $tree${targets:+ (${*})} in $(($(now_s) - start)) s"
}

# True when the Debian package (name or name:arch) is installed.
have_package() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

# Installs the Debian packages named that are missing (as root; otherwise says what is
# missing and fails). Waits for another apt to finish; adds the i386 or arm64 architecture
# when a package asks for it.
install_packages() {
    local need=() p
    for p in "$@"; do have_package "$p" || need+=("$p"); done
    [ ${#need[@]} -eq 0 ] && return 0
    if [ "$(id -u)" != 0 ]; then
        warn "missing packages (${need[*]}); run as root to install them"
        return 1
    fi
    # (pgrep is not on a minimal system; there nothing else runs apt either.)
    while command -v pgrep >/dev/null &&
          { pgrep -x apt-get >/dev/null || pgrep -x apt >/dev/null || pgrep -x dpkg >/dev/null; }; do
        say "waiting for another apt to finish"; sleep 5
    done
    local arch
    for arch in i386 arm64; do
        if printf '%s\n' "${need[@]}" | grep -q ":$arch\$" &&
           ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
            dpkg --add-architecture "$arch"
        fi
    done
    DEBIAN_FRONTEND=noninteractive apt-get update -q &&
        DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${need[@]}"
}

# Starts Xvfb on the first free display from :90 on and exports DISPLAY. Stop it with
# stop_xvfb (the callers do that from an EXIT trap).
XVFB_PID=""
start_xvfb() {
    local n i
    for n in $(seq 90 189); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$BRINDLE_BUILD/xvfb.log" 2>&1 &
        XVFB_PID=$!
        for i in $(seq 1 100); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            kill -0 "$XVFB_PID" 2>/dev/null || break
            sleep 0.1
        done
        if [ -e "/tmp/.X11-unix/X$n" ] && kill -0 "$XVFB_PID" 2>/dev/null; then
            export DISPLAY=":$n"
            say "Xvfb on display $DISPLAY (pid $XVFB_PID)"
            return 0
        fi
        # Another server took the display between the check and the start: try the next.
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
        XVFB_PID=""
    done
    warn "no free X display for Xvfb"
    return 1
}

stop_xvfb() {
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
        XVFB_PID=""
    fi
}

# A Wine prefix of our own (build/wineprefix, or the folder named); created once. The
# overrides keep Wine from offering to install Mono and Gecko, which would wait on a dialog.
setup_wine() {
    export WINEPREFIX="${1:-$BRINDLE_BUILD/wineprefix}"
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEDEBUG=-all
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        local start
        start=$(now_s)
        mkdir -p "$WINEPREFIX"
        wineboot -i >"$BRINDLE_BUILD/wineboot.log" 2>&1 || { warn "wineboot failed; see $BRINDLE_BUILD/wineboot.log"; return 1; }
        wineserver -w
        say "Wine prefix created in $(($(now_s) - start)) s: $WINEPREFIX"
    fi
}

# Ends the wine server of our prefix (only ours: it is addressed through WINEPREFIX).
stop_wine() {
    if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
        wineserver -k 2>/dev/null || true
    fi
}
