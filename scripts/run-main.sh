#!/usr/bin/env bash
# The program's main job, started by `bash scripts/penwick.sh run`.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
exec build/tools/penwick-outline-demo "$@"
