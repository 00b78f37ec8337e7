#!/usr/bin/env bash
# CPU use and wake-ups of the idle program while its live spectrum runs, side by side with
# parecord capturing the same real-time source in the spectrum's format, under Xvfb; once on a
# private PulseAudio server and once on a private PipeWire session (pipewire-pulse).
#
# A third process runs beside them as a yardstick: a bare Qt window that repaints a panel of the
# spectrum's size at the block rate and does nothing else (bench/repaint_yardstick.cpp), which
# shows what drawing at that rate costs on this display before a single sample is read.
#
# Usage: bench/capture_idle_cpu.sh [seconds] [program [args...]]
#   seconds  measuring time on each server (default 30), after a warm-up (the
#            program's record stream open, then 2 s)
#   program  default build/bench/app/sorvinta (a Release build with -DSORVINTA_BENCH=ON)
#   SERVERS="pulseaudio pipewire" (the default) chooses the servers.
# Then the program's window is unmapped (as a minimised window is) and it is measured again: it
# keeps capturing and transforming but draws nothing.
# Targets: the program's CPU at most 1.5 x parecord's, and at most 1.1 x while hidden; its main
# thread woken at most twice a block (2 x 21.5 a second), counting the times it sleeps and is
# woken. Exits 1 when a target is missed.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
source "$ROOT/scripts/lib/pulse.sh"
source "$ROOT/scripts/lib/pipewire.sh"
source "$ROOT/scripts/lib/xvfb.sh"

MEASURE_S=${1:-30}
shift || true
if [ $# -gt 0 ]; then
    PROGRAM=("$@")
else
    build_bench sorvinta
    PROGRAM=("$BENCH_BUILD/app/sorvinta")
fi
build_bench repaint_yardstick
YARDSTICK=$BENCH_BUILD/bench/repaint_yardstick
read -r -a SERVER_LIST <<<"${SERVERS:-pulseaudio pipewire}"
TARGET_RATIO=1.5
TARGET_HIDDEN_RATIO=1.1
BLOCK_RATE=21.5 # 512 samples at 11025 Hz
TARGET_WAKEUPS=$(awk -v b="$BLOCK_RATE" 'BEGIN { print 2 * b }')
WORK=$ROOT/build/bench-capture-idle

[ -x "${PROGRAM[0]}" ] || { say "no program at ${PROGRAM[0]}"; exit 2; }

XVFB_PID=
APP_PID=
RECORD_PID=
BARE_PID=
stop_measured() {
    local p
    for p in "$APP_PID" "$RECORD_PID" "$BARE_PID"; do
        [ -n "$p" ] && { kill "$p" && wait "$p"; } 2>/dev/null || true
    done
    APP_PID=
    RECORD_PID=
    BARE_PID=
    return 0
}
cleanup() {
    local status=$?
    set +e
    stop_measured
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    stop_private_pulse
    stop_private_pipewire
    exit "$status"
}
trap cleanup EXIT

rm -rf "$WORK"
mkdir -p "$WORK/tmp"
start_private_xvfb "$WORK/xvfb.log" ||
    { say "no X display could be started; see $WORK/xvfb.log"; exit 2; }

# proc_cpu_ns PID: nanoseconds of CPU that the process's live threads have used so far (from
# the scheduler's own count, finer than clock ticks).
proc_cpu_ns() {
    cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ n += $1 } END { printf "%.0f\n", n }'
}
# main_thread_switches PID: "voluntary involuntary" context switches of the main thread. A
# voluntary one is a sleep that the thread is later woken from; an involuntary one is the
# scheduler handing a running thread's core to another for a while.
main_thread_switches() {
    awk '/^voluntary_ctxt_switches:/ { v = $2 } /^nonvoluntary_ctxt_switches:/ { n = $2 }
        END { print v, n }' "/proc/$1/task/$1/status"
}

# measure SERVER: one side-by-side run on the server already started; appends a table row.
ROWS=()
MISSED=0
measure() {
    local server=$1 name
    name=$(basename "${PROGRAM[0]}")
    DISPLAY=":$DISPLAY_NO" QT_QPA_PLATFORM=xcb HOME="$WORK/$server/home" TMPDIR="$WORK/tmp" \
        "${PROGRAM[@]}" >"$WORK/$server-program.log" 2>&1 &
    APP_PID=$!
    parecord --device=virtmic --rate=11025 --channels=1 --latency-msec=46 --format=s16le --raw \
        /dev/null >"$WORK/$server-parecord.log" 2>&1 &
    RECORD_PID=$!
    # Through the X socket, as the program draws (it turns shared memory off for itself).
    DISPLAY=":$DISPLAY_NO" QT_QPA_PLATFORM=xcb QT_XCB_NO_MITSHM=1 "$YARDSTICK" \
        >"$WORK/$server-yardstick.log" 2>&1 &
    BARE_PID=$!

    # The first capture tick comes one second after the window loads; a first start after a
    # build can take a few seconds more. Is the program capturing at all? Count the record
    # streams its process holds, for up to 10 s, then let it settle.
    local streams
    for _ in $(seq 20); do
        sleep 0.5
        streams=$(pactl list source-outputs 2>/dev/null | grep -c "application.process.id = \"$APP_PID\"" || true)
        [ "$streams" -gt 0 ] && break
    done
    sleep 2
    for p in "$APP_PID" "$RECORD_PID" "$BARE_PID"; do
        kill -0 "$p" 2>/dev/null || { say "a measured process ended early; see $WORK/$server-*.log"; exit 2; }
    done
    [ "$streams" -gt 0 ] || say "$server: the program holds no record stream: it is not capturing"

    local app0 rec0 bare0 vol0 inv0 start app1 rec1 bare1 vol1 inv1 end
    app0=$(proc_cpu_ns "$APP_PID")
    rec0=$(proc_cpu_ns "$RECORD_PID")
    bare0=$(proc_cpu_ns "$BARE_PID")
    read -r vol0 inv0 < <(main_thread_switches "$APP_PID")
    start=$(date +%s%N)
    sleep "$MEASURE_S"
    app1=$(proc_cpu_ns "$APP_PID")
    rec1=$(proc_cpu_ns "$RECORD_PID")
    bare1=$(proc_cpu_ns "$BARE_PID")
    read -r vol1 inv1 < <(main_thread_switches "$APP_PID")
    end=$(date +%s%N)

    # Hidden: the program's windows unmapped, as a desktop does with a minimised window.
    local win hidden0 hrec0 hstart hidden1 hrec1 hend
    for win in $(DISPLAY=":$DISPLAY_NO" xdotool search --pid "$APP_PID" 2>/dev/null); do
        DISPLAY=":$DISPLAY_NO" xdotool windowunmap "$win" 2>/dev/null || true
    done
    sleep 2
    hidden0=$(proc_cpu_ns "$APP_PID")
    hrec0=$(proc_cpu_ns "$RECORD_PID")
    hstart=$(date +%s%N)
    sleep "$MEASURE_S"
    hidden1=$(proc_cpu_ns "$APP_PID")
    hrec1=$(proc_cpu_ns "$RECORD_PID")
    hend=$(date +%s%N)
    stop_measured

    local row
    row=$(awk -v a=$((app1 - app0)) -v r=$((rec1 - rec0)) -v b=$((bare1 - bare0)) -v vol=$((vol1 - vol0)) \
        -v inv=$((inv1 - inv0)) -v ns=$((end - start)) -v tr="$TARGET_RATIO" \
        -v h=$((hidden1 - hidden0)) -v hr=$((hrec1 - hrec0)) -v hns=$((hend - hstart)) \
        -v th="$TARGET_HIDDEN_RATIO" \
        -v tw="$TARGET_WAKEUPS" -v s="$server" -v st="$streams" 'BEGIN {
            secs = ns / 1e9; ap = 100 * a / ns; rp = 100 * r / ns; bp = 100 * b / ns
            ratio = rp > 0 ? ap / rp : 999; wake = vol / secs; pre = inv / secs
            hp = 100 * h / hns; hrp = 100 * hr / hns; hratio = hrp > 0 ? hp / hrp : 999
            ok = (ratio <= tr ? "ok" : "MISSED") "/" (wake <= tw ? "ok" : "MISSED") "/" (hratio <= th ? "ok" : "MISSED")
            printf "%-11s %9.2f %9.2f %7.2f %11.1f %11.1f %8d  %-16s %6.2f %6.2f %8.2f %6.2f\n", s, ap, rp, ratio, wake, pre, st, ok, bp, (rp > 0 ? bp / rp : 999), hp, hratio }')
    ROWS+=("$row")
    [[ "$row" == *MISSED* ]] && MISSED=1
    return 0
}

for server in "${SERVER_LIST[@]}"; do
    case $server in
    pulseaudio)
        start_private_pulse "$WORK/pulseaudio"
        measure pulseaudio
        stop_private_pulse || true
        ;;
    pipewire)
        start_private_pipewire "$WORK/pipewire"
        measure pipewire
        stop_private_pipewire || true
        ;;
    *) say "unknown server $server (pulseaudio or pipewire)"; exit 2 ;;
    esac
done

printf 'idle with the live spectrum, %s s on each server under Xvfb :%s, source virtmic (1 kHz, real time),\n' \
    "$MEASURE_S" "$DISPLAY_NO"
printf 'beside parecord --rate=11025 --channels=1 --latency-msec=46 on the same source\n'
printf '%-11s %9s %9s %7s %11s %11s %8s  %-16s %6s %6s %8s %6s\n' server "program%" parecord% ratio "wakeups/s" \
    "preempted/s" streams "ratio/wake/hid" "bare%" "ratio" "hidden%" "ratio"
printf '%s\n' "${ROWS[@]}"
printf 'targets: ratio <= %s; main-thread wake-ups <= %s a second (2 x %s blocks a second);\n' \
    "$TARGET_RATIO" "$TARGET_WAKEUPS" "$BLOCK_RATE"
printf 'hidden%%: the program with its window unmapped, and its ratio to parecord then (<= %s)\n' \
    "$TARGET_HIDDEN_RATIO"
printf '%% is of one core; wake-ups are the main thread'\''s voluntary context switches (sleeps it was\n'
printf 'woken from), preempted its involuntary ones (times another thread took its core);\n'
printf 'bare%%: the yardstick window repainting a spectrum-sized panel at the block rate, and its\n'
printf 'ratio to parecord (no target: it shows what the drawing alone costs)\n'
exit "$MISSED"
