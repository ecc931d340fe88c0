# Shared by the project's scripts (sourced, not run): paths, build trees, Xvfb and Wine.
# shellcheck shell=bash

BRINDLE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BRINDLE_BUILD=${BRINDLE_BUILD:-$BRINDLE_ROOT/build}
BRINDLE_JOBS=${BRINDLE_JOBS:-2}
BRINDLE_TREES=(linux win32 win64)

say() { printf '== %s\n' "$*"; }
warn() { printf '!! %s\n' "$*" >&2; }

now_s() { date +%s; }

# CMake arguments of one build tree.
tree_args() {
    case $1 in
        linux) ;;
        win32) echo "-DCMAKE_TOOLCHAIN_FILE=$BRINDLE_ROOT/cmake/toolchain-i686-w64-mingw32.cmake" ;;
        win64) echo "-DCMAKE_TOOLCHAIN_FILE=$BRINDLE_ROOT/cmake/toolchain-x86_64-w64-mingw32.cmake" ;;
        # Sanitizer run: native, tests and the tools they drive, no benchmarks. GCC leaves
        # out-of-range float-to-integer conversions out of -fsanitize=undefined: add them.
        asan) echo "-DBRINDLE_SANITIZE=ON -DBRINDLE_BENCH=OFF -DCMAKE_CXX_FLAGS=-fsanitize=float-cast-overflow" ;;
        *) warn "unknown build tree '$1' (linux, win32, win64, asan)"; return 1 ;;
    esac
}

is_windows_tree() { [ "$1" = win32 ] || [ "$1" = win64 ]; }

# The plug-in binary a tree builds.
plugin_file() {
    if is_windows_tree "$1"; then echo "$BRINDLE_BUILD/$1/plugin/brindleLoop.dll"
    else echo "$BRINDLE_BUILD/$1/plugin/brindleLoop.so"; fi
}

# Configures (every time: cheap, and it picks up new test and tool folders) and builds one
# tree. The full log goes to build/<tree>.log; on failure its end is shown.
build_tree() {
    local tree=$1 dir="$BRINDLE_BUILD/$1" log="$BRINDLE_BUILD/$1.log" args start
    args=$(tree_args "$tree") || return 1
    mkdir -p "$BRINDLE_BUILD"
    start=$(now_s)
    # shellcheck disable=SC2086  # args is a list of words
    if ! { cmake -S "$BRINDLE_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo $args &&
           cmake --build "$dir" -j "$BRINDLE_JOBS"; } >"$log" 2>&1; then
        warn "building $tree failed; the end of $log:"
        tail -n 60 "$log" >&2
        return 1
    fi
    say "built $tree in $(($(now_s) - start)) s"
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

# A Wine prefix of our own inside the build tree; created once. The overrides keep Wine
# from offering to install Mono and Gecko, which would wait on a dialog.
setup_wine() {
    export WINEPREFIX="$BRINDLE_BUILD/wineprefix"
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
