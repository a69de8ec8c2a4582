#!/usr/bin/env bash
# Builds layers with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# their test programs: a quick check while working. It has its own build
# folder (sanitize-core preset, build-sanitize-core/, without Qt), so that it
# never changes what the sanitize preset (build-sanitize/, the whole suite
# with Qt, which the test command runs) builds.
#   scripts/sanitize-core.sh        the layers that read untrusted bytes and do
#                                   the exact arithmetic: model, render, text
#                                   and settings (what the test command runs)
#   scripts/sanitize-core.sh all    also the headless host and the framework
# The Qt host and the programs are left to the whole suite.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"
jobs=$(nproc 2>/dev/null || echo 2)

tests=(model_tests model_file_tests model_memory_tests render_tests render_export_tests text_tests value_tests)
if [[ "${1:-}" == all ]]; then
    tests+=(host_tests platform_tests error_tests window_tests controls_tests application_tests)
fi

cmake --preset sanitize-core >/dev/null
cmake --build --preset sanitize-core -j "$jobs" --target "${tests[@]}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for name in "${tests[@]}"; do
    binary=$(find build-sanitize-core/tests -type f -name "$name" -perm -u+x | head -n 1)
    if [[ -z "$binary" ]]; then
        echo "sanitize: $name was not built" >&2
        status=1
        continue
    fi
    # Each program runs in its own folder so relative paths match ctest's.
    if (cd "$(dirname "$binary")" && "./$name" --gtest_brief=1 >"$top/build-sanitize-core/$name.log" 2>&1); then
        echo "sanitize: $name passed"
    else
        echo "sanitize: $name FAILED; its output:" >&2
        tail -n 60 "build-sanitize-core/$name.log" >&2
        status=1
    fi
done
exit $status
