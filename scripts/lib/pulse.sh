# A private PulseAudio server on its own socket, for tests and for machines without sound.
# shellcheck shell=bash

PULSE_PID=
PULSE_HELPER_PIDS=()

# start_private_pulse DIR: starts the server with
#   nullsink  - a null sink that playback goes to,
#   sine      - a 1 kHz sine source (delivers in bursts of about 2 s),
#   virtmic   - a 1 kHz sine in real time at half scale (the default source),
#   quietmic  - the same tone turned down so that the live spectrum's peak does not clip,
# and exports the variables that every client needs to find it.
start_private_pulse() {
    local dir=$1
    rm -rf "$dir"
    mkdir -p "$dir/runtime" "$dir/home" "$dir/tmp"
    chmod 700 "$dir/runtime"
    export XDG_RUNTIME_DIR=$dir/runtime
    export PULSE_SERVER=unix:$dir/runtime/pulse/native
    printf 'autospawn = no\n' >"$dir/client.conf"
    export PULSE_CLIENTCONFIG=$dir/client.conf
    HOME=$dir/home TMPDIR=$dir/tmp pulseaudio --daemonize=no --system=false -n \
        --exit-idle-time=-1 --disallow-exit --log-target=file:"$dir/pa.log" \
        --load="module-native-protocol-unix auth-anonymous=1" \
        --load="module-null-sink sink_name=nullsink rate=44100 channels=2" \
        --load="module-sine-source source_name=sine rate=44100 frequency=1000" \
        --load="module-null-sink sink_name=micsink rate=48000 channels=2" \
        --load="module-sine sink=micsink frequency=1000" \
        --load="module-remap-source master=micsink.monitor source_name=virtmic" \
        --load="module-null-sink sink_name=quietsink rate=48000 channels=1" \
        --load="module-sine sink=quietsink frequency=1000" \
        --load="module-remap-source master=quietsink.monitor source_name=quietmic" \
        >/dev/null 2>&1 &
    PULSE_PID=$!
    local i
    for i in $(seq 100); do
        pactl info >/dev/null 2>&1 && break
        sleep 0.1
    done
    if ! pactl info >/dev/null 2>&1; then
        say "the private audio server did not start; its log: $dir/pa.log"
        return 1
    fi
    pactl set-default-sink nullsink
    pactl set-default-source virtmic
    pactl set-source-volume quietmic 33%
    # A steady low-latency stream into each null sink keeps it running in real time, so new
    # streams start at once instead of after the sink's 2 s idle step.
    pacat -p -d nullsink --latency-msec=20 --raw --format=s16le --rate=44100 --channels=2 /dev/zero &
    PULSE_HELPER_PIDS+=($!)
    pacat -p -d micsink --latency-msec=20 --raw --format=s16le --rate=48000 --channels=2 /dev/zero &
    PULSE_HELPER_PIDS+=($!)
    pacat -p -d quietsink --latency-msec=20 --raw --format=s16le --rate=48000 --channels=1 /dev/zero &
    PULSE_HELPER_PIDS+=($!)
    # Let the keep-alive streams start before the first client records.
    for i in $(seq 50); do
        [ "$(pactl list short sink-inputs | wc -l)" -ge 3 ] && break
        sleep 0.1
    done
    # The first record stream on the real-time source loses its first second or so; take it here.
    timeout 1.5 parec -d virtmic --raw >/dev/null 2>&1 || true
}

# Safe under set -e: waiting for a server ended by a signal returns that signal's status.
stop_private_pulse() {
    local p
    for p in "${PULSE_HELPER_PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
    PULSE_HELPER_PIDS=()
    if [ -n "$PULSE_PID" ]; then
        kill "$PULSE_PID" 2>/dev/null || true
        wait "$PULSE_PID" 2>/dev/null || true
        PULSE_PID=
    fi
}
