# Shared by the benchmark scripts: one release build in build/bench.
# shellcheck shell=bash
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib/common.sh"

BENCH_BUILD=$ROOT/build/bench

# build_bench TARGET...: configures the release build once and builds the given targets.
build_bench() {
    ensure_packages
    if [ ! -f "$BENCH_BUILD/build.ninja" ]; then
        cmake -S "$ROOT" -B "$BENCH_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DSORVINTA_BENCH=ON -DSORVINTA_TESTS=OFF >/dev/null
    fi
    ninja -C "$BENCH_BUILD" -j 2 "$@" >/dev/null
}
