#!/usr/bin/env bash
# Fails when a source includes a project header from a layer above its own,
# when Qt is included outside host/qt/, or when anything outside host/qt/
# names a header of the Qt backend.
set -u
top=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$top" || exit 2

# Layer of a source folder -> project folders its includes may name.
# Only the program's entry (app/) and the host's own folders may name one
# host implementation; everything else talks to the interface in host/.
allowed() {
    case "$1" in
    model/*) echo "model/" ;;
    render/*) echo "model/ render/" ;;
    framework/value/* | framework/text/*) echo "model/ framework/value/ framework/text/" ;;
    host/qt/*) echo "model/ render/ framework/value/ framework/text/ host/" ;;
    host/headless/*) echo "model/ render/ framework/value/ framework/text/ host/" ;;
    host/*) echo "model/ render/ framework/value/ framework/text/ host/" ;;
    framework/*) echo "model/ render/ framework/ host/" ;;
    canvas/*) echo "model/ render/ framework/ host/ canvas/" ;;
    tools/*) echo "model/ render/ framework/ host/ canvas/ tools/" ;;
    app/*) echo "model/ render/ framework/ host/ canvas/ app/" ;;
    *) echo "" ;;
    esac
}

status=0
while IFS= read -r file; do
    prefixes=$(allowed "$file")
    while IFS= read -r line; do
        inc=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/' <<<"$line")
        [[ "$inc" == */* ]] || continue # same-folder include
        ok=0
        for p in $prefixes; do [[ "$inc" == "$p"* ]] && ok=1; done
        # The Qt backend is reached only through host/desktop_host.h; the
        # headless one only by the program's entry (and the tests).
        if [[ "$inc" == host/qt/* ]]; then
            case "$file" in host/qt/*) ;; *) ok=0 ;; esac
        fi
        if [[ "$inc" == host/headless/* ]]; then
            case "$file" in app/* | host/headless/*) ;; *) ok=0 ;; esac
        fi
        if ((ok == 0)); then
            echo "$file: includes \"$inc\" from a higher or foreign layer"
            status=1
        fi
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file")
    if [[ "$file" != host/qt/* ]] && grep -qE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' "$file"; then
        echo "$file: includes Qt outside host/qt/"
        status=1
    fi
done < <(git ls-files -- 'model/*' 'render/*' 'framework/*' 'host/*' 'canvas/*' 'app/*' 'tools/*' 2>/dev/null | grep -E '\.(h|cpp)$')
[[ $status -eq 0 ]] && echo "layering: every include points down"
exit $status
