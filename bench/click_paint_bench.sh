#!/usr/bin/env bash
# Click to paint while the live spectrum runs, under a bare X server (Xvfb, no window manager)
# and a private PulseAudio server: an XTest probe clicks the main window's format option
# buttons and a bare Qt window's buttons in turn, and times each click from the press to the
# first change of the button's pixels on the screen.
# Then the same with the help window open (Help > How to Use): its navigation tabs clicked in
# turn, against the bare window again and against a bare Qt window holding only a tab widget of
# the same size (bench/bare_tabs_window.cpp, what a page switch of that size costs here; it
# sends its pixels as the program does, through the X connection rather than MIT-SHM), and a
# search on its Search tab timed from Return to the first change of the result list
# (HELP_WINDOW=0 leaves the help window out).
# Usage: bench/click_paint_bench.sh [runs]   (default 8 clicks a window after 2 warm-ups)
# Target: the program's median at most 3 x the bare window's, in both cases.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
source "$ROOT/scripts/lib/pulse.sh"
source "$ROOT/scripts/lib/xvfb.sh"

RUNS=${1:-8}
TARGET_RATIO=3
WORK=$ROOT/build/bench-click
build_bench click_paint_probe sorvinta_click_target bare_buttons_window bare_tabs_window
BIN=$BENCH_BUILD/bench

XVFB_PID=
APP_PID=
BARE_PID=
TABS_PID=
cleanup() {
    local status=$? p
    set +e
    for p in "$APP_PID" "$BARE_PID" "$TABS_PID" "$XVFB_PID"; do
        [ -n "$p" ] && kill "$p" 2>/dev/null && wait "$p" 2>/dev/null
    done
    stop_private_pulse
    exit "$status"
}
trap cleanup EXIT

start_window_session "$WORK"

SORVINTA_BENCH_WIDGETS="optFreq(1) optFreq(2) qt_tabwidget_tabbar searchField searchResults" "$BIN/sorvinta_click_target" \
    >"$WORK/sorvinta.out" 2>"$WORK/sorvinta.err" &
APP_PID=$!
# The bare window sits in the bottom right corner, clear of the main window.
SORVINTA_BENCH_WIDGETS="first second" "$BIN/bare_buttons_window" 1070 710 \
    >"$WORK/bare.out" 2>"$WORK/bare.err" &
BARE_PID=$!
# The bare tab window stands at the left edge, clear of the main window and the help window.
# The program turns MIT-SHM off (app/main.cpp), and so does this window, so that the two send
# a page switch's pixels alike and the ratio shows what the program adds to it.
if [ "${HELP_WINDOW:-1}" = 1 ]; then
    QT_XCB_NO_MITSHM=1 SORVINTA_BENCH_WIDGETS="qt_tabwidget_tabbar" "$BIN/bare_tabs_window" 0 60 \
        >"$WORK/tabs.out" 2>"$WORK/tabs.err" &
    TABS_PID=$!
fi

# box FILE NAME: the reported rectangle of a widget, as the probe takes it ("x y w h").
box() {
    local i line
    for i in $(seq 150); do
        line=$(awk -v n="$2" '$1 == "widget" && $2 == n { print $3, $4, $5, $6; exit }' "$1")
        [ -n "$line" ] && { echo "$line"; return 0; }
        sleep 0.1
    done
    say "no place for $2 in $1"
    exit 2
}
read -r -a APP_BOXES <<<"$(box "$WORK/sorvinta.out" "optFreq(1)") $(box "$WORK/sorvinta.out" "optFreq(2)")"
read -r -a BARE_BOXES <<<"$(box "$WORK/bare.out" first) $(box "$WORK/bare.out" second)"

# The first capture tick comes one second after the window loads.
sleep 3
STREAMS=$(pactl list source-outputs 2>/dev/null | grep -c "application.process.id = \"$APP_PID\"" || true)
[ "$STREAMS" -gt 0 ] || say "the program holds no record stream: its spectrum is not running"

"$BIN/click_paint_probe" "$RUNS" sorvinta "${APP_BOXES[@]}" bare "${BARE_BOXES[@]}" \
    >"$WORK/probe.out"
for p in "$APP_PID" "$BARE_PID"; do
    kill -0 "$p" 2>/dev/null || { say "a measured window ended early; see $WORK/*.err"; exit 2; }
done

# With the help window open (Help > How to Use, from the keyboard): its navigation tabs.
HELP=
if [ "${HELP_WINDOW:-1}" = 1 ]; then
    "$BIN/click_paint_probe" --keys "@$((APP_BOXES[0] + 20)),$((APP_BOXES[1] + 10))" Alt_L+h Return
    for _ in $(seq 100); do
        grep -q '^widget qt_tabwidget_tabbar#1 ' "$WORK/sorvinta.out" && break
        sleep 0.1
    done
    if grep -q '^widget qt_tabwidget_tabbar#1 ' "$WORK/sorvinta.out"; then
        read -r -a TAB_BOXES <<<"$(box "$WORK/sorvinta.out" "qt_tabwidget_tabbar#1") $(box "$WORK/sorvinta.out" "qt_tabwidget_tabbar#0")"
        read -r -a BARE_TABS <<<"$(box "$WORK/tabs.out" "qt_tabwidget_tabbar#1") $(box "$WORK/tabs.out" "qt_tabwidget_tabbar#0")"
        "$BIN/click_paint_probe" "$RUNS" help "${TAB_BOXES[@]}" bare "${BARE_BOXES[@]}" \
            baretabs "${BARE_TABS[@]}" >"$WORK/probe-help.out"
        HELP=$WORK/probe-help.out
        # A search on the Search tab: Return to the first change of the result list.
        read -r -a SEARCH_TAB <<<"$(box "$WORK/sorvinta.out" "qt_tabwidget_tabbar#2")"
        "$BIN/click_paint_probe" --keys "@$((SEARCH_TAB[0] + SEARCH_TAB[2] / 2)),$((SEARCH_TAB[1] + SEARCH_TAB[3] / 2))"
        read -r -a FIELD <<<"$(box "$WORK/sorvinta.out" searchField)"
        read -r -a RESULTS <<<"$(box "$WORK/sorvinta.out" searchResults)"
        "$BIN/click_paint_probe" --keys "@$((FIELD[0] + FIELD[2] / 2)),$((FIELD[1] + FIELD[3] / 2))"
        "$BIN/click_paint_probe" --search "$RUNS" "${RESULTS[@]}" recording spectrum \
            >>"$WORK/probe-help.out"
    else
        say "the help window did not show; its clicks are left out"
    fi
fi

awk -v target="$TARGET_RATIO" -v streams="$STREAMS" '
    FNR == 1 { file++ }
    /^median / { key = $2 file; median[key] = $3; low[key] = $4; high[key] = $5 }
    function row(name, key) {
        printf "%-34s %9.2f %9.2f %9.2f\n", name, median[key], low[key], high[key]
    }
    function verdict(what, ours, base,    ratio) {
        ratio = median[base] > 0 ? median[ours] / median[base] : 999
        printf "ratio %s %.1f, target <= %s: %s\n", what, ratio, target, ratio <= target ? "ok" : "MISSED"
        return ratio > target
    }
    END {
        printf "click to paint under Xvfb, XTest press to the first changed pixel of the button\n"
        printf "(the program with its live spectrum running: %d record stream(s) open)\n", streams
        printf "%-34s %9s %9s %9s\n", "window", "median ms", "min ms", "max ms"
        row("sorvinta, format option button", "sorvinta1")
        row("bare Qt window, push button", "bare1")
        missed = verdict("main window / bare", "sorvinta1", "bare1")
        if (file > 1) {
            row("sorvinta help window, tab", "help2")
            row("bare Qt window, same run", "bare2")
            row("bare Qt tab window, no MIT-SHM", "baretabs2")
            missed += verdict("help window / bare", "help2", "bare2")
            if (median["baretabs2"] > 0)
                printf "ratio help window / bare tab window %.1f (the same page switch without the program)\n", median["help2"] / median["baretabs2"]
            if (("search2") in median)
                printf "help search, Return to the first change of the results: median %.2f ms (min %.2f, max %.2f)\n", median["search2"], low["search2"], high["search2"]
        }
        exit missed > 0
    }' "$WORK/probe.out" $HELP
