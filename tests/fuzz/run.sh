#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time.
#   tests/fuzz/run.sh [seconds per target, default 60] [target ...]
# Targets are named after their input: sound_file, form_file, help_file, help_archive (default:
# all that were built).
# Findings (crashing, leaking or slow inputs) land in build/fuzz/findings/<target>/; the
# script exits non-zero when there is any.
set -euo pipefail

seconds=${1:-60}
shift || true
only=("$@")
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${FUZZ_BUILD_DIR:-$root/build/fuzz}

# The project's packages plus clang and its fuzzer runtime, installed when missing.
source "$root/scripts/lib/common.sh"
ensure_packages clang libclang-rt-14-dev

echo "== building in $build"
CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja >/dev/null
ninja -C "$build" -j 2

# Qt and libsndfile keep process-lifetime allocations that are not this code's leaks.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}

total_findings=0
summary=()
for exe in "$build"/fuzz_*; do
    [ -x "$exe" ] || continue
    name=$(basename "$exe")
    kind=${name#fuzz_}
    if [ ${#only[@]} -gt 0 ] && [[ " ${only[*]} " != *" $kind "* ]]; then
        continue
    fi
    corpus=$build/corpus/$kind
    findings=$build/findings/$kind
    log=$build/$name.log
    # Findings are per run: earlier ones were fixed or are still reproduced by this one.
    rm -rf "$findings"
    mkdir -p "$corpus" "$findings"
    seeds=()
    [ -d "$here/seeds/$kind" ] && seeds=("$here/seeds/$kind")
    extra=()
    [ -f "$here/$kind.dict" ] && extra+=("-dict=$here/$kind.dict")
    if [ "$kind" = form_file ]; then
        cp "$root"/resources/*.form "$corpus"/ 2>/dev/null || true
    fi
    if [ "$kind" = help_archive ] && [ ! -f "$corpus/Sorvinta.chm" ]; then
        # The program's own help file, compiled here, is the seed.
        work=$(mktemp -d)
        cp -r "$root"/help/source/. "$work"/
        (cd "$work" && chmcmd Sorvinta.hhp >/dev/null 2>&1) && cp "$work/Sorvinta.chm" "$corpus"/
        rm -rf "$work"
    fi

    echo "== $name for ${seconds}s"
    # -fork keeps going after a finding, so one run reports all it meets.
    set +e
    "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
        -print_final_stats=1 -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
        -artifact_prefix="$findings/" "${extra[@]}" "$corpus" "${seeds[@]}" >"$log" 2>&1
    set -e
    # With -fork the last progress line ("#N: cov: ...") carries the count of executions.
    runs=$( (grep -oE '^#[0-9]+' "$log" || true) | tail -1 | tr -d '#')
    found=$(find "$findings" -type f | wc -l)
    total_findings=$((total_findings + found))
    summary+=("$name: ${runs:-?} executions, $found findings, corpus $(find "$corpus" -type f | wc -l) inputs")
done

echo "== summary"
printf '%s\n' "${summary[@]}"
if [ "$total_findings" -gt 0 ]; then
    echo "findings are in $build/findings; replay one with: $build/fuzz_<target> <file>"
    exit 1
fi
