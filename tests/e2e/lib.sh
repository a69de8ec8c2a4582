# Sourced by every end-to-end scenario: a person's session with Penwick in a
# real X window. Each scenario gets its own Xvfb, a fresh HOME, config and
# documents folder, and ends every process it started by its id.
#   scenario.sh PENWICK PENWICK_EXPORT SKETCH_CENSUS SOURCE_DIR
set -u
penwick=$1 exporter=$2 census=$3 source_dir=$4
width=800 height=600

if ! command -v Xvfb >/dev/null; then
    echo "SKIP: Xvfb is not installed (Debian package xvfb); the scenario did not run"
    [[ ${PENWICK_REQUIRE_ALL_TESTS:-} == 1 ]] && exit 1
    exit 77
fi
for tool in xdotool xwd convert compare xclip; do
    command -v $tool >/dev/null || { echo "FAIL: $tool is missing (scripts/packages.txt lists it)"; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=''
started=()
cleanup() {
    local pid
    for pid in "${started[@]}"; do kill "$pid" 2>/dev/null; done
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    local log
    for log in "$work"/penwick-*.log; do [[ -s $log ]] && { echo "--- $log"; cat "$log"; }; done
    exit 1
}

source "$source_dir/tests/support/xvfb.sh"
start_xvfb "$width" "$height" "$work" || exit 1

# Qt finds the documents folder through the XDG user folders file.
documents="$work/documents"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DOCUMENTS_DIR="$documents"
export XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$documents"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
echo "XDG_DOCUMENTS_DIR=\"$documents\"" >"$XDG_CONFIG_HOME/user-dirs.dirs"
sketchbook="$documents/Sketchbook"

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# poll SECONDS COMMAND...: runs COMMAND until it succeeds or the time is up.
poll() {
    local deadline=$(($(now_ms) + $1 * 1000))
    shift
    until "$@"; do
        (($(now_ms) > deadline)) && return 1
        sleep 0.05
    done
}

# capture WINDOW FILE.png
capture() {
    xwd -silent -id "$1" -out "$work/capture.xwd" 2>/dev/null && convert "xwd:$work/capture.xwd" "$2"
}
pixel_at() {  # pixel_at WINDOW X Y: the pixel as ImageMagick names it
    xwd -silent -id "$1" -out "$work/pixel.xwd" 2>/dev/null &&
        convert "xwd:$work/pixel.xwd" -format "%[pixel:p{$2,$3}]" info:
}
is_paper() { [[ $(pixel_at "$1" "$2" "$3") =~ ^(white|srgb\(255,255,255\))$ ]]; }

# start_penwick NAME [ARGS]: starts penwick and waits for its painted window;
# sets window_<NAME> and pid_<NAME>, and prints the time to the first
# painted window.
start_penwick() {
    local name=$1 t0 pid window=''
    shift
    t0=$(now_ms)
    "$penwick" "$@" >"$work/penwick-$name.log" 2>&1 &
    pid=$!
    started+=("$pid")
    # The main window is the largest one the program shows.
    find_window() { window=$(largest_window "$pid"); [[ -n $window ]]; }
    poll 20 find_window || fail "no penwick window appeared"
    # Painted: the paper shows in the middle of the canvas.
    poll 20 is_paper "$window" 400 300 || fail "the window never showed its paper"
    echo "timing: start to first painted window: $(($(now_ms) - t0)) ms"
    printf -v "window_$name" %s "$window"
    printf -v "pid_$name" %s "$pid"
}

largest_window() {  # largest_window PID
    local id size best='' most=0
    for id in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
        size=$(xdotool getwindowgeometry "$id" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\)/\1 * \2/p')
        [[ -n $size ]] && (($size > most)) && most=$(($size)) best=$id
    done
    echo "$best"
}

# No window manager: the window is given the keyboard before keys are sent.
focus() {
    has_focus() {
        [[ $(xdotool getwindowfocus 2>/dev/null) == "$1" ]] && return 0
        xdotool windowfocus "$1" 2>/dev/null
        return 1
    }
    poll 5 has_focus "$1" || fail "window $1 does not take the keyboard"
}
keys() {  # keys WINDOW KEY...
    local w=$1
    shift
    focus "$w"
    xdotool key --delay 30 "$@"
}

full_screen() {  # full_screen WINDOW: F11, and the canvas covers the screen
    is_full() { [[ $(xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: //p') == "${width}x${height}" ]]; }
    local _
    for _ in 1 2 3; do
        keys "$1" F11
        poll 5 is_full "$1" && return 0
    done
    fail "the window did not go full screen"
}

# stroke WINDOW BUTTON X Y X Y ...: presses BUTTON at the first point, moves
# through the others and releases it, at a hand's pace (20 ms a point: the
# window system merges moves that come faster, and a lasso would lose its
# corners).
stroke() {
    local w=$1 button=$2
    shift 2
    local args=(mousemove --window "$w" "$1" "$2" mousedown "$button")
    shift 2
    while (($# >= 2)); do
        args+=(sleep 0.02 mousemove --window "$w" "$1" "$2")
        shift 2
    done
    args+=(sleep 0.02 mouseup "$button")
    xdotool "${args[@]}"
}
# A horizontal stroke of nine points from (X0, Y) to (X1, Y).
line() {  # line WINDOW X0 X1 Y
    local w=$1 x0=$2 x1=$3 y=$4 points=() i
    for i in 0 1 2 3 4 5 6 7 8; do points+=($((x0 + (x1 - x0) * i / 8)) "$y"); done
    stroke "$w" 1 "${points[@]}"
}

# The pages of the Sketchbook, one a line.
pages() { ls "$sketchbook"/*.wnk 2>/dev/null; }
page_count() { pages | grep -c . ; }
has_pages() { [[ $(page_count) == "$1" ]]; }

# census FILE: what the sketch file holds (tests/e2e/sketch_census.cpp).
census() { "$census" "$1" || fail "the page $1 cannot be read"; }
shape_count() { census "$1" | sed -n 's/^shapes //p'; }

# window_shows WINDOW PAGE: the capture of the full-screen window equals the
# export tool's PNG of PAGE, pixel for pixel, but for the pen swatch corner.
# The drawing may reach the screen a moment later, so it is polled.
# FIXME: strokes just drawn are composited from the preview onto the image
# with a rounding of their own (a full red 0x7F0000 shows as 0x7F0101, a
# 1.5-pixel black edge 0x414141 instead of 0x3F3F3F); until the canvas
# composes them exactly, such a window is compared within 1 % of each
# channel, and exactly once F5 has drawn it all again.
window_shows() {
    local w=$1 page=$2 swatch="rectangle 0,0 71,39"
    "$exporter" --size "${width}x${height}" "$page" "$work/export.png" || fail "penwick-export failed on $page"
    convert "$work/export.png" -fill black -draw "$swatch" "$work/export-masked.png"
    same() {  # same WINDOW [FUZZ]
        capture "$1" "$work/window.png" || return 1
        convert "$work/window.png" -fill black -draw "$swatch" "$work/window-masked.png"
        differing=$(compare ${2:+-fuzz $2} -metric AE "$work/window-masked.png" "$work/export-masked.png" "$work/difference.png" 2>&1)
        [[ $differing == 0 ]]
    }
    keep() {
        local keep="${PENWICK_TEST_OUTPUT:-/tmp}/penwick-e2e-$(basename "$0" .sh)"
        mkdir -p "$keep" && cp "$work/window.png" "$work/export.png" "$work/difference.png" "$keep/"
        fail "the window differs from the export of $page in $differing pixels $1 (kept in $keep)"
    }
    differing=''
    if poll 3 same "$w"; then
        echo "the window shows the export of $(basename "$page") pixel for pixel"
        return 0
    fi
    local exact=$differing
    poll 5 same "$w" 1% || keep "by more than 1 %"
    keys "$w" F5
    poll 10 same "$w" || keep "after F5"
    echo "the window shows the export of $(basename "$page"): within 1 % in the $exact pixels of new strokes, pixel for pixel after F5"
}

# timed_moves WINDOW X Y: with the left button held from (X, Y), moves the
# pointer right in steps, each time polling the capture until its pixels
# change, and prints the median of those times.
timed_moves() {
    local w=$1 x=$2 y=$3 times=() i t0
    xdotool mousemove --window "$w" "$x" "$y" mousedown 1
    for i in 1 2 3 4 5 6 7; do
        xwd -silent -id "$w" -out "$work/before.xwd"
        t0=$(now_ms)
        xdotool mousemove --window "$w" $((x + 40 * i)) $((y + (i % 2) * 30))
        changed() { xwd -silent -id "$w" -out "$work/after.xwd" && ! cmp -s "$work/before.xwd" "$work/after.xwd"; }
        poll 5 changed || fail "the pointer's move changed no pixel"
        times+=($(($(now_ms) - t0)))
    done
    xdotool mouseup 1
    local sorted=($(printf '%s\n' "${times[@]}" | sort -n))
    echo "timing: pointer move to changed pixels: median ${sorted[3]} ms (of ${times[*]} ms)"
}

# quit WINDOW PID: File > Exit from the keyboard, and the program ends.
quit() {
    keys "$1" alt+f
    sleep_free_menu() { xdotool search --onlyvisible --pid "$2" 2>/dev/null | grep -vqx "$1"; }
    poll 5 sleep_free_menu "$1" "$2" || fail "the File menu did not open"
    xdotool key x
    gone() { ! kill -0 "$1" 2>/dev/null; }
    poll 10 gone "$2" || fail "penwick did not end after File > Exit"
}

# saved_with WINDOW N: Ctrl+S, and the window's page then holds N shapes;
# sets page to its file.
saved_with() {
    keys "$1" ctrl+s
    page_holds() { page=$(pages | tail -n 1); [[ -n $page && $(shape_count "$page" 2>/dev/null) == "$1" ]]; }
    poll 10 page_holds "$2" || fail "after Ctrl+S the page holds $(shape_count "${page:-none}" 2>/dev/null) shapes, not $2"
}
# shape_line PAGE I: the census line of shape I.
shape_line() { census "$1" | grep "^shape $2 "; }
# field LINE NAME [K]: the K-th (default first) value after NAME in a census line.
field() { local words=($1) i; for ((i = 0; i < ${#words[@]}; i++)); do [[ ${words[i]} == "$2" ]] && { echo "${words[i + ${3:-1}]}"; return; }; done; }
# pixels LINE SPAN VALUE: a length in sketch units as window pixels, for a
# shape drawn SPAN pixels wide (its box gives the scale of the fitted view).
pixels() {
    awk -v span="$2" -v value="$3" -v l="$(field "$1" box)" -v r="$(field "$1" box 3)" \
        'BEGIN { printf "%.3f\n", value * span / (r - l) }'
}
# within VALUE LOW HIGH
within() { awk -v v="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(v >= lo && v <= hi) }'; }

# box_of PID MAIN: waits for a window of PID other than MAIN (a message box or
# dialog) and prints its id.
box_of() {
    local found=''
    other() { found=$(xdotool search --onlyvisible --pid "$1" 2>/dev/null | grep -vx "$2" | head -n 1); [[ -n $found ]]; }
    poll 10 other "$1" "$2" || return 1
    echo "$found"
}
# box_text BOX: the message box's text, which it copies when right-clicked.
box_text() {
    local before text=''
    before=$(xclip -selection clipboard -o 2>/dev/null)
    xdotool mousemove --window "$1" 20 20 click 3
    copied() { text=$(xclip -selection clipboard -o 2>/dev/null); [[ -n $text && $text != "$before" ]]; }
    poll 5 copied || return 1
    echo "$text"
}
# small_window PID: a window of the program smaller than a main window (a
# box shown before or over it); sets box.
window_area() { xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\)/\1 * \2/p'; }
small_window() {
    local id
    for id in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
        (($(window_area "$id") < 200000)) && { box=$id; return 0; }
    done
    return 1
}
titled() { [[ $(xdotool getwindowname "$1") == "$2" ]]; }
ended() { ! kill -0 "$1" 2>/dev/null; }
