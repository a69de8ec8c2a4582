#!/usr/bin/env bash
# Saves as SVG (Ctrl+Shift+S, a name ending in .svg typed into the file
# dialog): the SVG is written and drawn by a consumer, and the title keeps
# its " *", since the page itself is not saved.
source "$(dirname "$0")/lib.sh"

start_penwick main
w=$window_main
line "$w" 100 700 200
line "$w" 100 700 350
poll 10 titled "$w" "Untitled *" || fail "the changed page is titled \"$(xdotool getwindowname "$w")\""
keys "$w" ctrl+shift+s
dialog=$(box_of "$pid_main" "$w") || fail "no file dialog opened"
focus "$dialog"
# The dialog's file name field has its keyboard: the whole path, then Return.
xdotool type --delay 10 "$work/picture.svg"
xdotool key Return
written() { [[ -s $work/picture.svg ]]; }
poll 10 written || fail "no SVG was written"
xmllint --noout "$work/picture.svg" || fail "the SVG is not well-formed"
rsvg-convert "$work/picture.svg" -o "$work/picture.png" || fail "rsvg-convert cannot draw the SVG"
[[ $(grep -c '<path' "$work/picture.svg") == 2 ]] || fail "the SVG does not hold the two strokes"
poll 10 titled "$w" "Untitled *" || fail "after the export the title is \"$(xdotool getwindowname "$w")\""
has_pages 0 || fail "the export saved a page"
echo "picture.svg written with 2 paths; the title is still \"Untitled *\""
echo PASS
