#!/usr/bin/env bash
# Runs the real program in a window of its own, driven over a private accessibility bus:
#   run_window.sh x11|openbox|wayland PROGRAM OUT-DIR
# x11:     a private Xvfb display (Qt's xcb platform) and no window manager; the window's class
#          must be the desktop entry's StartupWMClass. The program starts with a new file's
#          name, which must land in its file name box; the help window must lie on the screen.
# openbox: the same under the openbox window manager, at twice the density (QT_SCALE_FACTOR=2)
#          on a 1024 x 768 screen, with a home folder where nothing can be written: the main
#          window's caption and menus and the help window with its frame must lie on the
#          screen, and help must open all the same. Screenshots land in OUT-DIR/shots.
# wayland: a private headless weston (pixman renderer, so that screenshots have pixels) and Qt's
#          wayland platform; screenshots of each stage land in OUT-DIR/shots, and the window
#          must name its desktop entry as its app id. The program starts with an existing WAV
#          file, which PLAY must play.
# The audio server is the caller's (PULSE_SERVER). Everything else is private: D-Bus session
# and accessibility bus, runtime folder, home, state, config and temporary folders (the
# single-instance lock lives there). Every process started here is stopped by its PID.
set -euo pipefail
MODE=$1
PROGRAM=$(realpath "$2")
OUT=$(realpath -m "$3")
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)

if [ -z "${SORVINTA_WINDOW_SESSION:-}" ]; then
    rm -rf "$OUT"
    mkdir -p "$OUT/runtime" "$OUT/home" "$OUT/tmp"
    chmod 700 "$OUT/runtime"
    unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS WAYLAND_DISPLAY DISPLAY
    export SORVINTA_WINDOW_SESSION=1
    exec dbus-run-session -- "$0" "$@"
fi

PIDS=()
cleanup() {
    local p
    for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
    for p in "${PIDS[@]}"; do wait "$p" 2>/dev/null || true; done
}
trap cleanup EXIT

export HOME=$OUT/home TMPDIR=$OUT/tmp XDG_RUNTIME_DIR=$OUT/runtime
export XDG_CONFIG_HOME=$OUT/home/.config XDG_STATE_HOME=$OUT/home/.local/state
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
unset QT_QPA_PLATFORM QT_SCALE_FACTOR
ARGS=("$OUT/take.wav")
DRIVE=(--named --help-window)

/usr/libexec/at-spi-bus-launcher --launch-immediately >"$OUT/at-spi.log" 2>&1 &
PIDS+=($!)

SHOTS=()
case $MODE in
x11)
    # shellcheck source=../../scripts/lib/xvfb.sh
    source "$ROOT/scripts/lib/xvfb.sh"
    start_private_xvfb "$OUT/xvfb.log" || { echo "FAIL: no Xvfb display"; exit 1; }
    PIDS+=("$XVFB_PID")
    export DISPLAY=:$DISPLAY_NO QT_QPA_PLATFORM=xcb
    mkdir -p "$OUT/shots"
    DRIVE+=(--shots "$OUT/shots")
    ;;
openbox)
    # shellcheck source=../../scripts/lib/xvfb.sh
    source "$ROOT/scripts/lib/xvfb.sh"
    start_private_xvfb "$OUT/xvfb.log" || { echo "FAIL: no Xvfb display"; exit 1; }
    PIDS+=("$XVFB_PID")
    export DISPLAY=:$DISPLAY_NO QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=2
    openbox --sm-disable >"$OUT/openbox.log" 2>&1 &
    PIDS+=($!)
    for _ in $(seq 50); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
    # A configuration folder that is a file: the registry cannot be written, as in a
    # read-only home.
    rm -rf "$XDG_CONFIG_HOME"
    : >"$XDG_CONFIG_HOME"
    mkdir -p "$OUT/shots"
    DRIVE+=(--shots "$OUT/shots")
    ;;
wayland)
    SOCKET=sorvinta-window-$$
    weston --backend=headless-backend.so --use-pixman --debug --no-config --idle-time=0 \
        --width=1024 --height=640 --socket="$SOCKET" --log="$OUT/weston.log" &
    PIDS+=($!)
    for _ in $(seq 100); do
        [ -S "$XDG_RUNTIME_DIR/$SOCKET" ] && break
        sleep 0.1
    done
    [ -S "$XDG_RUNTIME_DIR/$SOCKET" ] || { echo "FAIL: weston did not start"; cat "$OUT/weston.log"; exit 1; }
    export WAYLAND_DISPLAY=$SOCKET QT_QPA_PLATFORM=wayland
    mkdir -p "$OUT/shots"
    SHOTS=(--shots "$OUT/shots")
    # A file opened from a file manager: PLAY plays it.
    /usr/bin/python3 -c '
import math, struct, sys, wave
with wave.open(sys.argv[1], "wb") as w:
    w.setnchannels(2); w.setsampwidth(2); w.setframerate(44100)
    w.writeframes(b"".join(struct.pack("<hh", v, v) for v in
        (int(8000 * math.sin(i * 0.0627)) for i in range(44100 * 3))))' "$OUT/heard.wav"
    ARGS=("$OUT/heard.wav")
    DRIVE=(--play "$OUT/heard.wav" --help-window)
    ;;
*)
    echo "usage: run_window.sh x11|openbox|wayland PROGRAM OUT-DIR" >&2
    exit 2
    ;;
esac

echo "$MODE: $QT_QPA_PLATFORM platform, audio server $PULSE_SERVER"
if [ "$MODE" = wayland ]; then
    # The client's side of the protocol, to see the app id the window gives the compositor.
    WAYLAND_DEBUG=client "$PROGRAM" "${ARGS[@]}" >"$OUT/program.log" 2>&1 &
else
    "$PROGRAM" "${ARGS[@]}" >"$OUT/program.log" 2>&1 &
fi
APP=$!
PIDS+=("$APP")

status=0
if [ "$MODE" != wayland ]; then
    # X11 docks tie the window to its desktop entry by the class of WM_CLASS.
    wm_class=$(sed -n 's/^StartupWMClass=//p' "$ROOT/packaging/example.sorvinta.Sorvinta.desktop")
    found=
    for _ in $(seq 450); do
        for w in $(xwininfo -root -tree 2>/dev/null | awk '/^ +0x/ {print $1}'); do
            xprop -id "$w" WM_CLASS 2>/dev/null | grep -q "\", \"$wm_class\"\$" && found=$w
        done
        [ -n "$found" ] && break
        kill -0 "$APP" 2>/dev/null || break
        sleep 0.2
    done
    if [ -n "$found" ]; then
        echo "window class: $wm_class, as the desktop entry's StartupWMClass"
    else
        echo "FAIL: no window of class \"$wm_class\" (the desktop entry's StartupWMClass)"
        status=1
    fi
fi
[ $status -eq 0 ] && /usr/bin/python3 "$HERE/drive_window.py" --pid "$APP" --wav "$OUT/take.wav" --seconds 2 \
    "${SHOTS[@]}" "${DRIVE[@]}" || status=$?
if [ $status -eq 0 ]; then
    wait "$APP" || { status=$?; echo "FAIL: the program ended with status $status"; }
fi
if [ "$MODE" = wayland ]; then
    if grep -q 'set_app_id("example.sorvinta.Sorvinta")' "$OUT/program.log"; then
        echo "app id: example.sorvinta.Sorvinta"
    else
        echo "FAIL: the window did not give its desktop entry's name as its app id"
        status=1
    fi
fi
if [ $status -ne 0 ]; then
    echo "--- the program's output (last lines) ---"
    grep -v '^\[' "$OUT/program.log" | tail -40 || true
    if [ "$MODE" != wayland ]; then
        echo "--- Xvfb :$DISPLAY_NO (pid $XVFB_PID $(kill -0 "$XVFB_PID" 2>/dev/null && echo alive || echo gone)) ---"
        tail -20 "$OUT/xvfb.log" || true
    fi
fi
exit $status
