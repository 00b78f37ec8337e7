# Shared by the benchmark scripts: one release build in build/bench.
# shellcheck shell=bash
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib/common.sh"

BENCH_BUILD=$ROOT/build/bench

# build_bench TARGET...: configures the release build once and builds the given targets.
build_bench() {
    ensure_packages
    if [ ! -f "$BENCH_BUILD/build.ninja" ]; then
        cmake -S "$ROOT" -B "$BENCH_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DSORVINTA_BENCH=ON -DSORVINTA_TESTS=OFF >/dev/null
    fi
    ninja -C "$BENCH_BUILD" -j 2 "$@" >/dev/null
}

# start_window_session WORK: a fresh WORK folder, a private PulseAudio server in WORK/pulse and a
# private 1280x800 Xvfb display (XVFB_PID), with what a Qt program needs to show there exported.
# The caller sources scripts/lib/pulse.sh and scripts/lib/xvfb.sh, and stops XVFB_PID and the
# server in its own clean-up.
start_window_session() {
    local work=$1
    rm -rf "$work"
    mkdir -p "$work/tmp"
    start_private_pulse "$work/pulse"
    start_private_xvfb "$work/xvfb.log" 1280x800x24 ||
        { say "no X display could be started; see $work/xvfb.log"; exit 2; }
    export DISPLAY=":$DISPLAY_NO" QT_QPA_PLATFORM=xcb
    # A home of its own: the program keeps its lock and its takes under it, apart from any
    # running copy.
    export TMPDIR=$work/tmp HOME=$work/pulse/home
}
