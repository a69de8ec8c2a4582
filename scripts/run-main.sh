#!/usr/bin/env bash
# The program's main job, started by `bash scripts/penwick.sh run [FILE]`:
# Penwick as a person starts it: on the last page of the Sketchbook, or a
# new page; with FILE, on that file (bash scripts/penwick.sh run examples/flower.wnk).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
if [[ ! -x build/app/penwick ]]; then
    cmake --preset default >/dev/null
    cmake --build --preset default --target penwick
fi
if [[ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]]; then
    echo "Penwick needs a desktop: no DISPLAY or WAYLAND_DISPLAY is set." >&2
    echo "Run it from a desktop session, or under a virtual one: xvfb-run bash scripts/penwick.sh run" >&2
    exit 1
fi
exec build/app/penwick "$@"
