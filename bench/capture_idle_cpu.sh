#!/usr/bin/env bash
# CPU use of the idle program while its live spectrum runs, side by side with parecord
# capturing the same real-time source in the same format, under Xvfb.
#
# Usage: bench/capture_idle_cpu.sh [seconds] [program [args...]]
#   seconds  measuring time (default 30), after a 3 s warm-up
#   program  default build/bench/app/sorvinta (a Release build with -DSORVINTA_BENCH=ON)
# Prints the share of one core each process used; exits 1 when the program used 3 % or more.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
source "$ROOT/scripts/lib/pulse.sh"
source "$ROOT/scripts/lib/xvfb.sh"

MEASURE_S=${1:-30}
shift || true
if [ $# -gt 0 ]; then
    PROGRAM=("$@")
else
    build_bench sorvinta
    PROGRAM=("$BENCH_BUILD/app/sorvinta")
fi
TARGET_PERCENT=3
WORK=$ROOT/build/bench-capture-idle

[ -x "${PROGRAM[0]}" ] || { say "no program at ${PROGRAM[0]}"; exit 2; }

XVFB_PID=
APP_PID=
RECORD_PID=
cleanup() {
    local status=$? p
    set +e
    for p in "$APP_PID" "$RECORD_PID" "$XVFB_PID"; do
        [ -n "$p" ] && kill "$p" 2>/dev/null && wait "$p" 2>/dev/null
    done
    stop_private_pulse
    exit "$status"
}
trap cleanup EXIT

rm -rf "$WORK"
mkdir -p "$WORK"
start_private_pulse "$WORK/pulse"

start_private_xvfb "$WORK/xvfb.log" ||
    { say "no X display could be started; see $WORK/xvfb.log"; exit 2; }

# proc_ticks PID: user + system clock ticks the process (all its threads) has used so far.
proc_ticks() {
    # The command name may hold blanks: read the fields after its closing parenthesis.
    sed 's/^.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'
}

DISPLAY=":$DISPLAY_NO" QT_QPA_PLATFORM=xcb HOME="$WORK/pulse/home" "${PROGRAM[@]}" \
    >"$WORK/program.log" 2>&1 &
APP_PID=$!
parecord --device=virtmic --rate=11025 --channels=1 --format=s16le --raw /dev/null \
    >"$WORK/parecord.log" 2>&1 &
RECORD_PID=$!

# The first capture tick comes one second after the window loads.
sleep 3
for p in "$APP_PID" "$RECORD_PID"; do
    kill -0 "$p" 2>/dev/null || { say "a measured process ended early; see $WORK/*.log"; exit 2; }
done

# Is the program capturing at all? Count the record streams its process holds.
STREAMS=$(pactl list source-outputs 2>/dev/null | grep -c "application.process.id = \"$APP_PID\"" || true)

HZ=$(getconf CLK_TCK)
APP_T0=$(proc_ticks "$APP_PID")
REC_T0=$(proc_ticks "$RECORD_PID")
START_NS=$(date +%s%N)
sleep "$MEASURE_S"
APP_T1=$(proc_ticks "$APP_PID")
REC_T1=$(proc_ticks "$RECORD_PID")
END_NS=$(date +%s%N)

percent() { awk -v t="$1" -v hz="$HZ" -v ns="$2" 'BEGIN { printf "%.2f", 100 * t / hz / (ns / 1e9) }'; }
ELAPSED_NS=$((END_NS - START_NS))
APP_PCT=$(percent $((APP_T1 - APP_T0)) "$ELAPSED_NS")
REC_PCT=$(percent $((REC_T1 - REC_T0)) "$ELAPSED_NS")

printf 'measured %s s under Xvfb :%s, source virtmic (1 kHz, real time)\n' "$MEASURE_S" "$DISPLAY_NO"
printf '  %-10s %6s %% of one core  (%s record stream(s) open)\n' "$(basename "${PROGRAM[0]}")" "$APP_PCT" "$STREAMS"
printf '  %-10s %6s %% of one core\n' parecord "$REC_PCT"
printf '  target: program under %s %%\n' "$TARGET_PERCENT"
[ "$STREAMS" -gt 0 ] || say "the program holds no record stream: it is not capturing"

awk -v p="$APP_PCT" -v t="$TARGET_PERCENT" 'BEGIN { exit !(p < t) }'
