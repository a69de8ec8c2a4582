#!/usr/bin/env bash
# The program's main job, started by `bash scripts/penwick.sh run [FOLDER]`:
# until the window program exists, every example sketch is exported as SVG,
# compressed SVG and PNG into FOLDER (default build/examples).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
if [[ ! -x build/tools/penwick-export ]]; then
    cmake --preset default >/dev/null
    cmake --build --preset default --target penwick-export
fi
out=${1:-build/examples}
mkdir -p "$out"
for sketch in examples/*.wnk; do
    name=$(basename "$sketch" .wnk)
    for ext in svg svgz png; do
        build/tools/penwick-export "$sketch" "$out/$name.$ext"
    done
    echo "exported $sketch as $out/$name.svg, .svgz and .png (1024x768)"
done
echo "The pictures are in $(cd "$out" && pwd)"
