# Shared by scripts/run and scripts/test: packages and the build.
# shellcheck shell=bash

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Everything the program, its tests and its tools need from Debian.
PACKAGES=(
    cmake ninja-build g++ pkg-config python3
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libpulse-dev libsndfile1-dev libfontconfig-dev libpng-dev
    libgtest-dev libgmock-dev libbenchmark-dev libfftw3-dev libxtst-dev
    libmspack-dev libxml2-dev fp-utils
    pulseaudio pulseaudio-utils sox
    pipewire pipewire-bin wireplumber pipewire-pulse dbus-daemon procps
    xvfb xauth x11-apps imagemagick openbox xdotool
    fonts-dejavu-core fonts-dejavu-extra fonts-liberation2
    desktop-file-utils appstream lintian dpkg-dev file xdg-utils
    weston qt6-wayland dbus-daemon at-spi2-core python3-pyatspi gir1.2-atspi-2.0 x11-utils
)

say() { printf '[sorvinta] %s\n' "$*" >&2; }

ensure_packages() {
    local missing=()
    local p
    for p in "${PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    say "installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
    # The tests run against both servers. Never add pipewire-alsa nor
    # pipewire-audio-client-libraries: apt removes pulseaudio for them.
    for p in pulseaudio pipewire-pulse; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            { say "$p is no longer installed: the tests need PulseAudio and PipeWire side by side"; return 1; }
    done
}

# build DIR CMAKE-ARGS...: configure once, then build incrementally.
build() {
    local dir=$1
    shift
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null
    fi
    cmake --build "$dir" --parallel "$(nproc)"
}
