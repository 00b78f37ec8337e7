# A private PipeWire session (pipewire, wireplumber and pipewire-pulse) on its own runtime
# folder, with the same test devices as the private PulseAudio server of pulse.sh, so that the
# audio-facing tests and benchmarks run against PipeWire's pulse server too.
# shellcheck shell=bash

PIPEWIRE_PID=
PIPEWIRE_HELPER_PIDS=()

# pipewire_tone SINK RATE CHANNELS VOLUME: plays a 1 kHz sine into SINK in real time until
# killed. PipeWire's pulse server has no sine modules, so the tone comes from a client. The
# remapped sources come out 3 dB louder than they go in: a volume of 0.354 records at half scale,
# as the PulseAudio server's tone does. The tone's own buffer is long, so that a busy machine
# does not leave holes in it.
pipewire_tone() {
    sox -q -n -t raw -r "$2" -c "$3" -b 16 -e signed-integer - synth sine 1000 vol "$4" |
        pacat -p -d "$1" --latency-msec=200 --raw --format=s16le --rate="$2" --channels="$3"
}

# start_private_pipewire DIR: starts the session with
#   nullsink  - a null sink that playback goes to,
#   sine      - a 1 kHz sine source (in real time here: PipeWire has no source that delivers
#               in bursts as PulseAudio's sine source does),
#   virtmic   - a 1 kHz sine in real time at half scale (the default source),
#   quietmic  - the same tone turned down so that the live spectrum's peak does not clip,
# and exports the variables that every client needs to find it.
start_private_pipewire() {
    local dir=$1
    rm -rf "$dir"
    mkdir -p "$dir/runtime" "$dir/home" "$dir/tmp" "$dir/config"
    chmod 700 "$dir/runtime"
    export XDG_RUNTIME_DIR=$dir/runtime
    printf 'autospawn = no\n' >"$dir/client.conf"
    export PULSE_CLIENTCONFIG=$dir/client.conf
    # The daemons must neither follow another pulse server nor join the caller's session bus.
    unset PULSE_SERVER DBUS_SESSION_BUS_ADDRESS
    # In a session of its own, so that stopping it by its PID reaches all three daemons and the
    # bus that dbus-run-session started.
    HOME=$dir/home TMPDIR=$dir/tmp XDG_CONFIG_HOME=$dir/config XDG_STATE_HOME=$dir/home \
        setsid dbus-run-session -- sh -c \
        'pipewire & sleep 0.5; wireplumber & sleep 0.2; pipewire-pulse & wait' \
        >"$dir/pipewire.log" 2>&1 &
    PIPEWIRE_PID=$!
    for _ in $(seq 100); do
        [ -S "$XDG_RUNTIME_DIR/pulse/native" ] && pactl info >/dev/null 2>&1 && break
        sleep 0.1
    done
    if ! pactl info >/dev/null 2>&1; then
        say "the private PipeWire session did not start; its log: $dir/pipewire.log"
        return 1
    fi
    export PULSE_SERVER=unix:$XDG_RUNTIME_DIR/pulse/native
    pactl load-module module-null-sink sink_name=nullsink rate=44100 channels=2 >/dev/null
    pactl load-module module-null-sink sink_name=sinesink rate=44100 channels=1 >/dev/null
    pactl load-module module-remap-source master=sinesink.monitor source_name=sine >/dev/null
    pactl load-module module-null-sink sink_name=micsink rate=48000 channels=2 >/dev/null
    pactl load-module module-remap-source master=micsink.monitor source_name=virtmic >/dev/null
    pactl load-module module-null-sink sink_name=quietsink rate=48000 channels=1 >/dev/null
    pactl load-module module-remap-source master=quietsink.monitor source_name=quietmic >/dev/null
    # The module takes the wait for its nodes to show: wait until each source is listed.
    for _ in $(seq 50); do
        [ "$(pactl list short sources | grep -cE $'\t(sine|virtmic|quietmic)\t')" -ge 3 ] && break
        sleep 0.1
    done
    pactl set-default-sink nullsink
    pactl set-default-source virtmic
    pactl set-source-volume quietmic 33%
    pipewire_tone sinesink 44100 1 0.354 &
    PIPEWIRE_HELPER_PIDS+=($!)
    pipewire_tone micsink 48000 2 0.354 &
    PIPEWIRE_HELPER_PIDS+=($!)
    pipewire_tone quietsink 48000 1 0.354 &
    PIPEWIRE_HELPER_PIDS+=($!)
    # Silence into the playback sink keeps it running, as on the PulseAudio server.
    pacat -p -d nullsink --latency-msec=20 --raw --format=s16le --rate=44100 --channels=2 /dev/zero &
    PIPEWIRE_HELPER_PIDS+=($!)
    for _ in $(seq 50); do
        [ "$(pactl list short sink-inputs | wc -l)" -ge 4 ] && break
        sleep 0.1
    done
    timeout 1.5 parec -d virtmic --raw >/dev/null 2>&1 || true
}

stop_private_pipewire() {
    local p
    # A tone is a pipeline in a subshell: its PID is the subshell's; end the pipeline's members.
    for p in "${PIPEWIRE_HELPER_PIDS[@]}"; do
        pkill -P "$p" 2>/dev/null || true
        kill "$p" 2>/dev/null || true
    done
    PIPEWIRE_HELPER_PIDS=()
    if [ -n "$PIPEWIRE_PID" ]; then
        kill -TERM -- "-$PIPEWIRE_PID" 2>/dev/null || true
        wait "$PIPEWIRE_PID" 2>/dev/null || true
        # Whatever of the session outlived the signal goes now.
        kill -KILL -- "-$PIPEWIRE_PID" 2>/dev/null || true
        PIPEWIRE_PID=
    fi
}

# run_pipewire_pass DIR CTEST-ARGS...: in the current build folder, runs the tests labelled
# pipewire (the audio-facing ones, see tests/CMakeLists.txt) against a private PipeWire session
# in DIR, stopped again whatever the outcome. Returns ctest's status; 0 when no test matches.
run_pipewire_pass() {
    local dir=$1 status=0
    shift
    [ "$(ctest -N -L pipewire "$@" 2>/dev/null | grep -c '^ *Test *#')" -gt 0 ] || return 0
    start_private_pipewire "$dir" || { stop_private_pipewire; return 1; }
    say "private PipeWire session on $PULSE_SERVER ($(pactl info | sed -n 's/^Server Name: //p'))"
    ctest --output-on-failure --parallel 2 -L pipewire "$@" || status=$?
    stop_private_pipewire || true
    return "$status"
}
