# A private X server (Xvfb) on the first display number from 90 up whose server starts and
# answers. Sets XVFB_PID and DISPLAY_NO; the caller kills XVFB_PID when done.
# shellcheck shell=bash

# start_private_xvfb LOG [SCREEN]: SCREEN as Xvfb takes it, 1024x768x24 unless given.
start_private_xvfb() {
    local log=$1 screen=${2:-1024x768x24} n
    XVFB_PID=
    DISPLAY_NO=
    for n in $(seq 90 130); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 "$screen" -nolisten tcp >"$log" 2>&1 &
        XVFB_PID=$!
        for _ in $(seq 50); do
            [ -S "/tmp/.X11-unix/X$n" ] && break
            kill -0 "$XVFB_PID" 2>/dev/null || break
            sleep 0.1
        done
        if kill -0 "$XVFB_PID" 2>/dev/null && [ -S "/tmp/.X11-unix/X$n" ]; then
            DISPLAY_NO=$n
            return 0
        fi
        XVFB_PID=
    done
    return 1
}
