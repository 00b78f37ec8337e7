#!/usr/bin/env bash
# Records 60 s at 48000 Hz, 16 bit, stereo from the real-time test source twice at once: through
# mcisend (the waveaudio command device) and through parecord. Prints the CPU seconds of each over
# the same 60 s and mcisend's resident memory at 10 s and at 60 s.
# Targets: mcisend's CPU at most 1.5 x parecord's; memory growth under 5 MB.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$ROOT/bench/lib.sh"
# shellcheck source=../scripts/lib/pulse.sh
source "$ROOT/scripts/lib/pulse.sh"

SECONDS_TO_RECORD=${SECONDS_TO_RECORD:-60}
BUILD=$BENCH_BUILD
WORK=$ROOT/build/bench-record
PULSE_DIR=$ROOT/build/pulse-record-bench

build_bench mcisend

rm -rf "$WORK"
mkdir -p "$WORK"
# The take spools in the run's own folder, on the same file system as its target.
export XDG_STATE_HOME=$WORK/state
FIFO=$WORK/commands
mkfifo "$FIFO"

MCI_PID=
PAREC_PID=
cleanup() {
    exec 3>&- 2>/dev/null || true
    [ -n "$PAREC_PID" ] && kill "$PAREC_PID" 2>/dev/null || true
    [ -n "$MCI_PID" ] && kill "$MCI_PID" 2>/dev/null || true
    stop_private_pulse
}
trap cleanup EXIT
trap 'exit 1' INT TERM

start_private_pulse "$PULSE_DIR"
sleep 1 # let the helper streams bring the null sinks up to real time

# CPU seconds (user + system) of a running process.
cpu_seconds() {
    awk -v hz="$(getconf CLK_TCK)" '{ printf "%.2f", ($14 + $15) / hz }' "/proc/$1/stat"
}
rss_kb() {
    awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"
}

"$BUILD/tools/mcisend/mcisend" <"$FIFO" >"$WORK/mcisend.log" 2>&1 &
MCI_PID=$!
exec 3>"$FIFO"
# parecord must not hold the command pipe open, or mcisend never sees its end.
parecord --device=virtmic --rate=48000 --channels=2 --format=s16le --file-format=wav \
    "$WORK/parecord.wav" 3>&- &
PAREC_PID=$!

{
    echo "open new type waveaudio alias bench"
    echo "set bench time format ms bitspersample 16 channels 2 bytespersec 22500  samplespersec 48000"
    echo "record  bench"
} >&3

sleep 10
RSS_10=$(rss_kb "$MCI_PID")
sleep $((SECONDS_TO_RECORD - 10))
RSS_60=$(rss_kb "$MCI_PID")
CPU_MCI=$(cpu_seconds "$MCI_PID")
CPU_PAREC=$(cpu_seconds "$PAREC_PID")

{
    echo "status bench length"
    echo "save bench $WORK/mcisend.wav"
    echo "close bench"
} >&3
exec 3>&-
wait "$MCI_PID" || true
MCI_PID=
kill -INT "$PAREC_PID"
wait "$PAREC_PID" 2>/dev/null || true
PAREC_PID=

echo "recorded ${SECONDS_TO_RECORD} s, 48000 Hz, 16 bit, stereo from virtmic"
echo "CPU seconds: mcisend $CPU_MCI, parecord $CPU_PAREC" \
    "(ratio $(awk -v a="$CPU_MCI" -v b="$CPU_PAREC" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'), target <= 1.5)"
echo "mcisend VmRSS: ${RSS_10} kB at 10 s, ${RSS_60} kB at ${SECONDS_TO_RECORD} s" \
    "(growth $(((RSS_60 - RSS_10))) kB, target < 5120 kB)"
echo "files:"
for f in "$WORK/mcisend.wav" "$WORK/parecord.wav"; do
    printf '  %s: %s\n' "$(basename "$f")" "$(soxi -D "$f" 2>/dev/null || echo unreadable) s"
done
grep -A1 '^status' "$WORK/mcisend.log" | sed 's/^/  /'
