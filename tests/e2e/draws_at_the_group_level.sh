#!/usr/bin/env bash
# Draws at the group level (key 3): three strokes make one shape of three
# groups, which the next stroke at the shape level (key 4) completes, where
# at the shape level each stroke is a shape of its own.
source "$(dirname "$0")/lib.sh"

start_penwick main
w=$window_main
full_screen "$w"
keys "$w" 3
line "$w" 100 700 150
line "$w" 100 700 250
line "$w" 100 700 350
keys "$w" 4
line "$w" 100 700 450
saved_with "$w" 1
one=$(shape_line "$page" 0)
[[ $(field "$one" groups) == 4 && $(field "$one" strokes) == 4 ]] ||
    fail "the strokes drawn at the group level are not one shape of four groups: $(census "$page")"
window_shows "$w" "$page"
echo PASS
