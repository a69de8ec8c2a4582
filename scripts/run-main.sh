#!/usr/bin/env bash
# The program's main job, started by `bash scripts/penwick.sh run [FILE]`:
# Penwick's window showing FILE (default an example sketch).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
if [[ ! -x build/app/penwick ]]; then
    cmake --preset default >/dev/null
    cmake --build --preset default --target penwick
fi
exec build/app/penwick "${1:-examples/flower.wnk}"
