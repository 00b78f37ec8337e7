# A private X server (Xvfb) on a display number the server picks itself. Sets XVFB_PID and
# DISPLAY_NO; the caller kills XVFB_PID when done.
# shellcheck shell=bash

# start_private_xvfb LOG [SCREEN]: SCREEN as Xvfb takes it, 1024x768x24 unless given.
# With -displayfd the server claims a free number under its own lock and writes it only once it
# listens, so two runs starting side by side never share a display and nobody connects too early.
start_private_xvfb() {
    local log=$1 screen=${2:-1024x768x24} numfile n attempt
    XVFB_PID=
    DISPLAY_NO=
    numfile=$(mktemp)
    for attempt in 1 2 3; do
        : >"$numfile"
        Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$numfile" >"$log" 2>&1 &
        XVFB_PID=$!
        for _ in $(seq 100); do
            grep -q '^[0-9][0-9]*$' "$numfile" && break
            kill -0 "$XVFB_PID" 2>/dev/null || break
            sleep 0.1
        done
        n=$(head -n 1 "$numfile")
        if [ -n "$n" ] && kill -0 "$XVFB_PID" 2>/dev/null && xdpyinfo -display ":$n" >/dev/null 2>&1; then
            DISPLAY_NO=$n
            rm -f "$numfile"
            return 0
        fi
        echo "Xvfb attempt $attempt gave no display" >>"$log.attempts"
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=
    done
    rm -f "$numfile"
    return 1
}
