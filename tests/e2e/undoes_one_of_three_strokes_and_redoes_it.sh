#!/usr/bin/env bash
# Undoes one of three strokes and redoes it: the window and the saved page
# lose the last stroke and get it back.
source "$(dirname "$0")/lib.sh"

start_penwick main
w=$window_main
full_screen "$w"
line "$w" 100 700 150
line "$w" 100 700 300
line "$w" 100 700 450
keys "$w" ctrl+z
saved_with "$w" 2
after_undo=$(census "$page")
window_shows "$w" "$page"
keys "$w" ctrl+y
saved_with "$w" 3
[[ $(census "$page" | sed -n 2,3p) == "$(sed -n 2,3p <<<"$after_undo")" ]] &&
    within "$(field "$(shape_line "$page" 2)" box 2)" "$(field "$(shape_line "$page" 1)" box 4)" 1e9 ||
    fail "the redone stroke is not the third, below the others: $(census "$page")"
window_shows "$w" "$page"
echo PASS
