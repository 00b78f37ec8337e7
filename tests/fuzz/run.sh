#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time over its seeds.
#   tests/fuzz/run.sh [seconds per target, default 60] [target ...]
# Targets are named after their input: sound_file, form_file, help_file, help_archive, help_link,
# take_file, spool_names, mci_command, registry, file_version (default: all that were built).
# Every seed is a whole file, and each target's -max_len fits its largest seed. Findings
# (crashing, leaking or slow inputs) land in build/fuzz/findings/<target>/; the script exits
# non-zero when there is any. The last lines give each target's executions, coverage and
# findings.
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
ninja -C "$build" -j 2 >/dev/null

# Seeds made here, beside the checked-in ones: whole files as the program and others write them.
made=$build/seeds
rm -rf "$made"
mkdir -p "$made/help_archive" "$made/take_file" "$made/file_version" "$made/form_file"
if [ -x "$build/chm_finish" ] && command -v chmcmd >/dev/null; then
    # The program's own help file, compiled and finished as the build does.
    work=$(mktemp -d)
    cp -r "$root"/help/source/. "$work"/
    if (cd "$work" && chmcmd Sorvinta.hhp >/dev/null 2>&1) &&
        ASAN_OPTIONS=detect_leaks=0 "$build/chm_finish" "$work/Sorvinta.chm" "$work/Sorvinta.hhp"; then
        cp "$work/Sorvinta.chm" "$made/help_archive/"
    fi
    rm -rf "$work"
fi
# Other people's help files, where Debian packages put them (openmcdf, clamav-testfiles). The
# 16 MB one of lazarus-doc takes seconds a run and is left to the valgrind checks.
for f in /usr/share/OpenMCDF/help/OpenMCDF.chm /usr/share/clamav-testfiles/clam.chm; do
    [ -f "$f" ] && cp "$f" "$made/help_archive/"
done
[ -x "$build/take_seeds" ] && "$build/take_seeds" "$made/take_file"
[ -f "$build/libversion_note_seed.so" ] && cp "$build/libversion_note_seed.so" "$made/file_version/"
cp "$root"/resources/*.form "$made/form_file/" 2>/dev/null || true

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
    for d in "$here/seeds/$kind" "$made/$kind"; do
        [ -d "$d" ] && [ -n "$(ls -A "$d")" ] && seeds+=("$d")
    done
    extra=()
    [ -f "$here/$kind.dict" ] && extra+=("-dict=$here/$kind.dict")
    # Long enough for the largest seed, whole.
    largest=$( (find "${seeds[@]}" "$corpus" -type f -printf '%s\n' 2>/dev/null || true) |
        sort -n | tail -1)
    max_len=$(( ${largest:-0} > 4096 ? ${largest:-0} : 4096 ))

    echo "== $name for ${seconds}s, -max_len=$max_len"
    # -fork keeps going after a finding, so one run reports all it meets.
    set +e
    "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="$max_len" \
        -print_final_stats=1 -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
        -artifact_prefix="$findings/" "${extra[@]}" "$corpus" "${seeds[@]}" >"$log" 2>&1
    set -e
    # With -fork the last progress line ("#N: cov: C ...") carries executions and coverage.
    last=$( (grep -aoE '#[0-9]+: cov: [0-9]+' "$log" || true) | tail -1)
    runs=$(sed -E 's/^#([0-9]+):.*/\1/' <<<"$last")
    cov=$(sed -nE 's/.* cov: ([0-9]+).*/\1/p' <<<"$last")
    found=$(find "$findings" -type f | wc -l)
    total_findings=$((total_findings + found))
    summary+=("$name: ${runs:-?} executions, coverage ${cov:-?}, $found findings, corpus $(find "$corpus" -type f | wc -l) inputs")
done

echo "== summary"
printf '%s\n' "${summary[@]}"
if [ "$total_findings" -gt 0 ]; then
    echo "findings are in $build/findings; replay one with: $build/fuzz_<target> <file>"
    exit 1
fi
