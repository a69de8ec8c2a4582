#!/usr/bin/env bash
# Copies shapes in one window and pastes them in another Penwick: the second
# program's page holds the same shapes. The picture copied with Ctrl+Shift+C
# is SVG on the clipboard that a consumer draws.
source "$(dirname "$0")/lib.sh"

start_penwick one
line "$window_one" 100 700 200
line "$window_one" 100 700 400
keys "$window_one" ctrl+shift+c
offers() { xclip -selection clipboard -t TARGETS -o 2>/dev/null | grep -qx "$1"; }
poll 10 offers image/svg+xml || fail "the copied picture is not on the clipboard as SVG"
xclip -selection clipboard -t image/svg+xml -o >"$work/copied.svg"
xmllint --noout "$work/copied.svg" || fail "the copied SVG is not well-formed"
rsvg-convert "$work/copied.svg" -o "$work/copied.png" || fail "rsvg-convert cannot draw the copied SVG"
echo "the copied picture: $(grep -c '<path' "$work/copied.svg") paths, drawn by rsvg-convert"

saved_with "$window_one" 2
original=$page
keys "$window_one" ctrl+c
poll 10 offers application/x-kt-binary || fail "the shapes are not on the clipboard"
# The second program starts now: its window covers the first one's.
start_penwick two
keys "$window_two" ctrl+v ctrl+s
second_page() { [[ $(page_count) == 2 ]] && page=$(pages | grep -vx "$original") && [[ $(shape_count "$page" 2>/dev/null) == 2 ]]; }
poll 10 second_page || fail "the second program's page does not hold the two pasted shapes"
diff <(census "$original" | tail -n +2) <(census "$page" | tail -n +2) ||
    fail "the pasted shapes differ from the copied ones"
echo "the second program's page holds the same two shapes"
echo PASS
