#!/usr/bin/env bash
# End to end in a real X window: penwick opens a sketch under Xvfb, goes
# full screen with F11 (the drawing window then covers the whole screen), and
# a screenshot of its window (xwd) must equal the PNG penwick-export writes for the
# same file at the screen's size, but for the corner where the canvas shows
# its pen swatch. Then the About box opens with Alt+/ and
# closes with Return.
# With SCALE, Qt runs at that device pixel ratio (QT_SCALE_FACTOR): the
# window is smaller in logical units and must still match the export at the
# screen's size, pixel for pixel.
#   xvfb_window_test.sh PENWICK PENWICK_EXPORT SKETCH [SCALE]
set -u
penwick=$1 exporter=$2 sketch=$3 scale=${4:-1}
width=800 height=600

if ! command -v Xvfb >/dev/null; then
    echo "SKIP: Xvfb is not installed (Debian package xvfb); the X window test did not run"
    # The test command (scripts/penwick.sh test) runs every test or fails.
    [[ ${PENWICK_REQUIRE_ALL_TESTS:-} == 1 ]] && exit 1
    exit 77
fi
for tool in xdotool xwd compare convert; do
    command -v $tool >/dev/null || { echo "FAIL: $tool is missing (scripts/packages.txt lists it)"; exit 1; }
done

work=$(mktemp -d)
xvfb_pid='' penwick_pid=''
cleanup() {
    [[ -n $penwick_pid ]] && kill "$penwick_pid" 2>/dev/null
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

source "$(dirname "$0")/../support/xvfb.sh"
start_xvfb "$width" "$height" "$work" || exit 1

export QT_QPA_PLATFORM=xcb HOME="$work" XDG_CONFIG_HOME="$work/config"
export XDG_RUNTIME_DIR="$work/runtime" QT_SCALE_FACTOR=$scale
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
"$penwick" "$sketch" >"$work/penwick.log" 2>&1 &
penwick_pid=$!

window=''
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --pid "$penwick_pid" 2>/dev/null | head -n 1)
    [[ -n $window ]] && break
    sleep 0.1
done
[[ -n $window ]] || { echo "FAIL: no penwick window appeared"; cat "$work/penwick.log"; exit 1; }

# No window manager: give the window the keyboard, then press a key. A busy
# machine may still be mapping the window, so a key that went nowhere is
# pressed again, a few times at most.
press() {  # press WINDOW KEY CONDITION...
    local target=$1 key=$2
    shift 2
    for _ in 1 2 3; do
        xdotool windowfocus --sync "$target" 2>/dev/null || xdotool windowfocus "$target"
        sleep 0.3
        xdotool key "$key"
        for _ in $(seq 50); do
            "$@" && return 0
            sleep 0.1
        done
    done
    return 1
}
full_screen() {
    [[ $(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p') == "${width}x${height}" ]]
}
press "$window" F11 full_screen || {
    echo "FAIL: the window did not go full screen ($(xdotool getwindowgeometry "$window"))"; exit 1; }

"$exporter" --size "${width}x${height}" "$sketch" "$work/export.png" || {
    echo "FAIL: penwick-export failed"; exit 1; }
# The drawing at the new size reaches the screen a moment after the resize.
# The pen swatch's corner (72 x 40 pixels) is blanked in both pictures.
swatch_corner="rectangle 0,0 71,39"
convert "$work/export.png" -fill black -draw "$swatch_corner" "$work/export-masked.png"
differing=''
for _ in $(seq 50); do
    xwd -silent -id "$window" -out "$work/window.xwd" || { echo "FAIL: no screenshot"; exit 1; }
    convert "xwd:$work/window.xwd" -fill black -draw "$swatch_corner" "$work/window-masked.png"
    differing=$(compare -metric AE "$work/window-masked.png" "$work/export-masked.png" "$work/difference.png" 2>&1)
    [[ $differing == 0 ]] && break
    sleep 0.2
done
echo "pixels that differ between the window and the export: $differing"

if [[ $differing != 0 ]]; then
    mkdir -p "${PENWICK_TEST_OUTPUT:-/tmp}/penwick-xvfb"
    cp "$work/window.xwd" "$work/export.png" "$work/difference.png" "${PENWICK_TEST_OUTPUT:-/tmp}/penwick-xvfb/"
    echo "FAIL: the window does not show the export's picture (kept in ${PENWICK_TEST_OUTPUT:-/tmp}/penwick-xvfb)"
    exit 1
fi

# The About box (Alt+/) takes the keyboard while its owner is disabled:
# Return closes it.
box=''
about_open() {
    box=$(xdotool search --onlyvisible --pid "$penwick_pid" 2>/dev/null | grep -vx "$window" | head -n 1)
    [[ -n $box ]]
}
about_closed() {
    ! xdotool search --onlyvisible --pid "$penwick_pid" 2>/dev/null | grep -qx "$box"
}
about=closed
if ! press "$window" alt+slash about_open; then
    about="did not open"
elif ! press "$box" Return about_closed; then
    about="stayed open after Return"
fi
echo "About box: $about"
[[ $about == closed ]] || { echo "FAIL: the About box $about"; exit 1; }
echo "PASS"
