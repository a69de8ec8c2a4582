#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz preset, clang, build-fuzz/) and runs each
# one for a bounded time on a temporary copy of its seed corpus. Fails when a
# target crashes, leaks, times out or breaks one of its properties.
#   scripts/fuzz-smoke.sh [SECONDS_PER_TARGET]   (default 30)
# The mutations follow a fixed seed (FUZZ_SEED, default 1), so that a failure
# here comes from a change and can be repeated; longer runs with other seeds
# are for hunting, not for the gate.
# Every executable named *_fuzzer in build-fuzz/fuzz/ is run; its corpus is
# fuzz/corpus/<name>/ (an empty one is used when there is none).
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"
seconds=${1:-30}
seed=${FUZZ_SEED:-1}
jobs=$(nproc 2>/dev/null || echo 2)

cmake --preset fuzz >/dev/null
# Only the fuzz targets and what they link: the rest of the tree is not needed here.
mapfile -t targets < <(cmake --build --preset fuzz --target help | sed -nE 's/^([A-Za-z0-9_]+_fuzzer):.*/\1/p')
if ((${#targets[@]} == 0)); then
    echo "fuzz-smoke: no fuzz targets"
    exit 0
fi
cmake --build --preset fuzz -j "$jobs" --target "${targets[@]}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for fuzzer in build-fuzz/fuzz/*_fuzzer; do
    [[ -x "$fuzzer" ]] || continue
    name=$(basename "$fuzzer")
    corpus="$work/corpus/$name"
    mkdir -p "$corpus" "$work/crash/$name"
    if [[ -d "fuzz/corpus/$name" ]]; then cp -r "fuzz/corpus/$name/." "$corpus/"; fi
    log="$work/$name.log"
    echo "fuzz-smoke: $name for ${seconds}s"
    if "$fuzzer" -seed="$seed" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$work/crash/$name/" "$corpus" >"$log" 2>&1; then
        runs=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+)/\1/p' "$log" | tail -1)
        rate=$(sed -nE 's/^stat::average_exec_per_sec: *([0-9]+)/\1/p' "$log" | tail -1)
        echo "fuzz-smoke: $name: ${runs:-?} runs, ${rate:-?} per second, no failure"
    else
        status=1
        echo "fuzz-smoke: $name FAILED; the end of its log:" >&2
        tail -n 40 "$log" >&2
        kept="build-fuzz/crashes/$name"
        mkdir -p "$kept"
        cp "$work/crash/$name/"* "$kept/" 2>/dev/null || true
        echo "fuzz-smoke: the failing inputs are kept in $kept/" >&2
    fi
done
exit $status
