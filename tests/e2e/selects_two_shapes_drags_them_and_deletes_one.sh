#!/usr/bin/env bash
# Selects two of three shapes with the lasso, drags them down with the right
# button, then selects the upper one alone and deletes it.
source "$(dirname "$0")/lib.sh"

start_penwick main
w=$window_main
full_screen "$w"
line "$w" 200 600 150
line "$w" 200 600 250
line "$w" 200 600 500
keys "$w" s
stroke "$w" 1 150 100 650 100 650 300 150 300 150 100  # around the first two
stroke "$w" 3 400 380 400 400 400 430 400 480          # 100 pixels down
keys "$w" Escape
stroke "$w" 1 150 200 650 200 650 300 150 300 150 200  # the first alone, now at 250
keys "$w" Delete
saved_with "$w" 2
a=$(shape_line "$page" 0) b=$(shape_line "$page" 1)
# Heights in window pixels from the middle of the window (300).
a_y=$(pixels "$a" 400 "$(field "$a" box 2)") b_y=$(pixels "$b" 400 "$(field "$b" box 2)")
within "$a_y" 49.5 50.5 && within "$b_y" 199.5 200.5 ||
    fail "the dragged shape is not at 350 and the other at 500: $(census "$page")"
echo "left: the dragged shape at $((300 + ${a_y%.*})), the untouched one at $((300 + ${b_y%.*}))"
window_shows "$w" "$page"
echo PASS
