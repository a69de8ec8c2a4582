#!/usr/bin/env bash
# End to end in a real X window: penwick opens a sketch under Xvfb, goes
# full screen with F11 (the drawing window then covers the whole screen), and
# a screenshot of its window (xwd) must equal the PNG penwick-export writes for the
# same file at the screen's size. Then the About box opens with Alt+/ and
# closes with Return.
#   xvfb_window_test.sh PENWICK PENWICK_EXPORT SKETCH
set -u
penwick=$1 exporter=$2 sketch=$3
width=800 height=600

if ! command -v Xvfb >/dev/null; then
    echo "SKIP: Xvfb is not installed (Debian package xvfb); the X window test did not run"
    exit 77
fi
for tool in xdotool xwd compare; do
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

# A free display number: no lock file and no socket.
display=''
for n in $(seq 91 160); do
    if [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]]; then display=$n; break; fi
done
[[ -n $display ]] || { echo "FAIL: no free X display number"; exit 1; }
Xvfb ":$display" -screen 0 ${width}x${height}x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [[ -e /tmp/.X11-unix/X$display ]] && break; sleep 0.1; done
[[ -e /tmp/.X11-unix/X$display ]] || { echo "FAIL: Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }

export DISPLAY=":$display" QT_QPA_PLATFORM=xcb HOME="$work" XDG_CONFIG_HOME="$work/config"
export XDG_RUNTIME_DIR="$work/runtime"
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

# No window manager: give the window the keyboard, then press F11.
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
sleep 0.3
xdotool key F11
geometry=''
for _ in $(seq 100); do
    geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
    [[ $geometry == "${width}x${height}" ]] && break
    sleep 0.1
done
[[ $geometry == "${width}x${height}" ]] || {
    echo "FAIL: the window did not go full screen (geometry $geometry)"; exit 1; }
sleep 1  # the drawing at the new size reaches the screen

xwd -silent -id "$window" -out "$work/window.xwd" || { echo "FAIL: no screenshot"; exit 1; }
"$exporter" --size "${width}x${height}" "$sketch" "$work/export.png" || {
    echo "FAIL: penwick-export failed"; exit 1; }
differing=$(compare -metric AE "xwd:$work/window.xwd" "$work/export.png" "$work/difference.png" 2>&1)
echo "pixels that differ between the window and the export: $differing"

if [[ $differing != 0 ]]; then
    mkdir -p "${PENWICK_TEST_OUTPUT:-/tmp}/penwick-xvfb"
    cp "$work/window.xwd" "$work/export.png" "$work/difference.png" "${PENWICK_TEST_OUTPUT:-/tmp}/penwick-xvfb/"
    echo "FAIL: the window does not show the export's picture (kept in ${PENWICK_TEST_OUTPUT:-/tmp}/penwick-xvfb)"
    exit 1
fi

# The About box (Alt+/) takes the keyboard while its owner is disabled:
# Return closes it.
xdotool key alt+slash
box=''
for _ in $(seq 100); do
    box=$(xdotool search --onlyvisible --pid "$penwick_pid" 2>/dev/null | grep -vx "$window" | head -n 1)
    [[ -n $box ]] && break
    sleep 0.1
done
about=closed
if [[ -z $box ]]; then
    about="did not open"
else
    xdotool windowfocus --sync "$box" 2>/dev/null || xdotool windowfocus "$box"
    sleep 0.3
    xdotool key Return
    for _ in $(seq 50); do
        xdotool search --onlyvisible --pid "$penwick_pid" 2>/dev/null | grep -qx "$box" || break
        sleep 0.1
    done
    xdotool search --onlyvisible --pid "$penwick_pid" 2>/dev/null | grep -qx "$box" &&
        about="stayed open after Return"
fi
echo "About box: $about"
[[ $about == closed ]] || { echo "FAIL: the About box $about"; exit 1; }
echo "PASS"
