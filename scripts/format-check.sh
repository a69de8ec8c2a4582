#!/usr/bin/env bash
# Fails when clang-format 14 (with the repository's .clang-format) would
# change any tracked C++ source; lists the files and how to mend them.
#   scripts/format-check.sh        check (what the test command runs first)
#   scripts/format-check.sh fix    format those files in place
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"

formatter=$(command -v clang-format-14 || true)
if [[ -z "$formatter" ]]; then
    echo "format-check: clang-format-14 is missing (Debian package clang-format-14)" >&2
    exit 1
fi

mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
if [[ "${1:-}" == fix ]]; then
    "$formatter" -i --style=file "${files[@]}"
    exit 0
fi

# One run over every file; each change it would make is reported as
# "FILE:LINE:COLUMN: error: code should be clang-formatted".
report=$("$formatter" --dry-run --Werror --style=file "${files[@]}" 2>&1) || true
mapfile -t unformatted < <(grep -oE '^[^:]+:[0-9]+:[0-9]+: error' <<<"$report" | cut -d: -f1 | sort -u)
if ((${#unformatted[@]} == 0)) && [[ -n "$report" ]]; then
    echo "$report" >&2
    exit 1
fi
if ((${#unformatted[@]} > 0)); then
    echo "format-check: clang-format would change these files:" >&2
    printf '  %s\n' "${unformatted[@]}" >&2
    echo "run scripts/format-check.sh fix (or clang-format-14 -i FILE) and look at the change" >&2
    exit 1
fi
echo "format-check: every source is formatted (${#files[@]} files)"
