#!/usr/bin/env bash
# Penwick's one entry point for a fresh Debian 12 machine.
#   bash scripts/penwick.sh run [ARGS]   install what is missing, build, start the program
#   bash scripts/penwick.sh test         install what is missing, build, run every test:
#                                        the format check, the fuzzers for 30 s each, the
#                                        whole suite under the sanitizers (Qt and the X
#                                        window test included), then the whole suite as released
#   bash scripts/penwick.sh bench        install what is missing, build and run the benchmarks
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"
jobs=$(nproc 2>/dev/null || echo 2)

install_missing() {
    local missing=()
    while read -r pkg; do
        [[ -z "$pkg" || "$pkg" == \#* ]] && continue
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done < scripts/packages.txt
    ((${#missing[@]} == 0)) && return 0
    if [[ $(id -u) -ne 0 ]]; then
        echo "Penwick needs these Debian packages; install them as root, then run this again:" >&2
        echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

build() {
    local preset=$1
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
}

case "${1:-run}" in
run)
    shift || true
    install_missing
    build default
    exec scripts/run-main.sh "$@"
    ;;
test)
    install_missing
    scripts/format-check.sh
    # Every test must run: one that would skip itself (no X server) fails.
    export PENWICK_REQUIRE_ALL_TESTS=1
    scripts/fuzz-smoke.sh
    build sanitize
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --preset sanitize -j "$jobs"
    build default
    ctest --preset default -j "$jobs"
    # Both runs hold the same tests, so neither configuration lost some.
    count() { ctest --preset "$1" -N | sed -nE 's/^Total Tests: ([0-9]+)/\1/p'; }
    if [[ $(count sanitize) != $(count default) ]]; then
        echo "test: the sanitize build has $(count sanitize) tests, the default build $(count default)" >&2
        exit 1
    fi
    ;;
bench)
    install_missing
    build bench
    for b in build-bench/bench/*_bench; do "$b"; done
    ;;
*)
    echo "usage: bash scripts/penwick.sh run|test|bench" >&2
    exit 2
    ;;
esac
