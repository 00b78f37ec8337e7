#!/usr/bin/env bash
# Builds the transform and spectrum-frame benchmarks in a release build and runs them.
# Target: ComputeFFT takes at most 3 x FFTW's time per 1024-point transform.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=$ROOT/build/bench

cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSORVINTA_BENCH=ON \
    -DSORVINTA_TESTS=OFF >/dev/null
ninja -C "$BUILD" -j 2 fft_bench scope_bench >/dev/null

JSON=$BUILD/fft_bench.json
"$BUILD/bench/fft_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="$JSON" --benchmark_out_format=json
python3 - "$JSON" <<'PY'
import json, sys
runs = {b["run_name"]: b["cpu_time"] for b in json.load(open(sys.argv[1]))["benchmarks"]
        if b.get("aggregate_name") == "median"}
ours, fftw = runs["BM_ComputeFFT"], runs["BM_FftwRealToComplex"]
print(f"ComputeFFT {ours:.0f} ns, FFTW {fftw:.0f} ns per transform (medians): "
      f"ratio {ours / fftw:.2f}, target <= 3")
PY

QT_QPA_PLATFORM=offscreen "$BUILD/bench/scope_bench"
