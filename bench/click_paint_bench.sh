#!/usr/bin/env bash
# Click to paint while the live spectrum runs, under a bare X server (Xvfb, no window manager)
# and a private PulseAudio server: an XTest probe clicks the main window's format option
# buttons and a bare Qt window's buttons in turn, and times each click from the press to the
# first change of the button's pixels on the screen.
# Usage: bench/click_paint_bench.sh [runs]   (default 8 clicks a window after 2 warm-ups)
# Target: the program's median at most 3 x the bare window's.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
source "$ROOT/scripts/lib/pulse.sh"
source "$ROOT/scripts/lib/xvfb.sh"

RUNS=${1:-8}
TARGET_RATIO=3
WORK=$ROOT/build/bench-click
build_bench click_paint_probe sorvinta_click_target bare_buttons_window
BIN=$BENCH_BUILD/bench

XVFB_PID=
APP_PID=
BARE_PID=
cleanup() {
    local status=$? p
    set +e
    for p in "$APP_PID" "$BARE_PID" "$XVFB_PID"; do
        [ -n "$p" ] && kill "$p" 2>/dev/null && wait "$p" 2>/dev/null
    done
    stop_private_pulse
    exit "$status"
}
trap cleanup EXIT

rm -rf "$WORK"
mkdir -p "$WORK/tmp"
start_private_pulse "$WORK/pulse"
start_private_xvfb "$WORK/xvfb.log" 1280x800x24 ||
    { say "no X display could be started; see $WORK/xvfb.log"; exit 2; }
export DISPLAY=":$DISPLAY_NO" QT_QPA_PLATFORM=xcb
# The program's single-instance lock falls back to the temporary folder: one of its own here.
export TMPDIR=$WORK/tmp HOME=$WORK/pulse/home

SORVINTA_BENCH_WIDGETS="optFreq(1) optFreq(2)" "$BIN/sorvinta_click_target" \
    >"$WORK/sorvinta.out" 2>"$WORK/sorvinta.err" &
APP_PID=$!
# The bare window sits in the bottom right corner, clear of the main window.
SORVINTA_BENCH_WIDGETS="first second" "$BIN/bare_buttons_window" 1070 710 \
    >"$WORK/bare.out" 2>"$WORK/bare.err" &
BARE_PID=$!

# boxes FILE: the reported rectangles of a program's two buttons, as the probe takes them.
boxes() {
    local i
    for i in $(seq 150); do
        grep -q '^widgets-done' "$1" && break
        sleep 0.1
    done
    [ "$(grep -c '^widget ' "$1")" -eq 2 ] || { say "no button places in $1"; exit 2; }
    awk '/^widget / { printf "%s %s %s %s ", $3, $4, $5, $6 }' "$1"
}
read -r -a APP_BOXES <<<"$(boxes "$WORK/sorvinta.out")"
read -r -a BARE_BOXES <<<"$(boxes "$WORK/bare.out")"

# The first capture tick comes one second after the window loads.
sleep 3
STREAMS=$(pactl list source-outputs 2>/dev/null | grep -c "application.process.id = \"$APP_PID\"" || true)
[ "$STREAMS" -gt 0 ] || say "the program holds no record stream: its spectrum is not running"

"$BIN/click_paint_probe" "$RUNS" sorvinta "${APP_BOXES[@]}" bare "${BARE_BOXES[@]}" \
    >"$WORK/probe.out"
for p in "$APP_PID" "$BARE_PID"; do
    kill -0 "$p" 2>/dev/null || { say "a measured window ended early; see $WORK/*.err"; exit 2; }
done

awk -v target="$TARGET_RATIO" -v streams="$STREAMS" '
    /^median / { median[$2] = $3; low[$2] = $4; high[$2] = $5 }
    END {
        printf "click to paint under Xvfb, XTest press to the first changed pixel of the button\n"
        printf "(the program with its live spectrum running: %d record stream(s) open)\n", streams
        printf "%-30s %9s %9s %9s\n", "window", "median ms", "min ms", "max ms"
        printf "%-30s %9.2f %9.2f %9.2f\n", "sorvinta, format option button", median["sorvinta"], low["sorvinta"], high["sorvinta"]
        printf "%-30s %9.2f %9.2f %9.2f\n", "bare Qt window, push button", median["bare"], low["bare"], high["bare"]
        ratio = median["bare"] > 0 ? median["sorvinta"] / median["bare"] : 999
        printf "ratio %.1f, target <= %s: %s\n", ratio, target, ratio <= target ? "ok" : "MISSED"
        exit ratio > target
    }' "$WORK/probe.out"
