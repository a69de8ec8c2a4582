#!/usr/bin/env bash
# Draws three strokes with the mouse and quits: one page with three shapes is
# in the Sketchbook, and the next start shows it as the export tool draws it.
source "$(dirname "$0")/lib.sh"

start_penwick first
w=$window_first
full_screen "$w"
timed_moves "$w" 100 150
line "$w" 100 700 300
line "$w" 150 650 450
keys "$w" F11  # the menu bar comes back for File > Exit
quit "$w" "$pid_first"

has_pages 1 || fail "the Sketchbook holds $(page_count) pages, not 1"
page=$(pages)
[[ $(shape_count "$page") == 3 ]] || fail "the page holds $(shape_count "$page") shapes, not 3"
echo "one page with three shapes: $(basename "$page")"

start_penwick second
[[ $(xdotool getwindowname "$window_second") == "$(basename "$page")" ]] ||
    fail "the second start is titled \"$(xdotool getwindowname "$window_second")\""
full_screen "$window_second"
window_shows "$window_second" "$page"
echo PASS
