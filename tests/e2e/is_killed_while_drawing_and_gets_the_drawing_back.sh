#!/usr/bin/env bash
# Is killed while drawing and gets the drawing back at the next start: two
# strokes, a moment's rest (the recovery copy is written), SIGKILL; the next
# start offers the drawing, Return restores it as a new page of the
# Sketchbook, which opens; and a start after that offers nothing.
source "$(dirname "$0")/lib.sh"

recovery="$XDG_CONFIG_HOME/Corvana/Penwick/recovery"
start_penwick first
w=$window_first
line "$w" 100 700 150  # clear of the middle, where a start looks for paper
line "$w" 150 650 450
copy_of_two() {
    local copy
    for copy in "$recovery"/*.wnk; do
        [[ -f $copy && $("$census" "$copy" 2>/dev/null | sed -n 's/^shapes //p') == 2 ]] && return 0
    done
    return 1
}
poll 20 copy_of_two || fail "no recovery copy of the two strokes was written"
kill -KILL "$pid_first"
poll 10 ended "$pid_first" || fail "the program outlived SIGKILL"
has_pages 0 || fail "the killed program left $(page_count) pages"

"$penwick" >"$work/penwick-second.log" 2>&1 &
pid_second=$!
started+=("$pid_second")
# The offer is a small window, shown before or over the main window.
poll 20 small_window "$pid_second" || fail "the next start offered nothing"
focus "$box"
xdotool key Return
poll 20 has_pages 1 || fail "the drawing was not restored as a page"
page=$(pages)
[[ $(shape_count "$page") == 2 ]] || fail "the restored page holds $(shape_count "$page") shapes"
main_shown() { w=$(largest_window "$pid_second"); [[ -n $w ]] && titled "$w" "$(basename "$page")"; }
poll 20 main_shown || fail "the restored page did not open"
echo "restored as $(basename "$page")"
quit "$w" "$pid_second"

start_penwick third
offer_again() { xdotool search --onlyvisible --pid "$pid_third" 2>/dev/null | grep -vqx "$window_third"; }
if poll 2 offer_again; then fail "a clean exit still left a drawing to offer"; fi
echo PASS
