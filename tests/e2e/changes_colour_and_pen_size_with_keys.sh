#!/usr/bin/env bash
# Changes colour and pen size with the keys before drawing: R mixes red into
# the black pen, Q eight times widens it from 1 to 2 pixels; K and A four
# times give black at 1.5 pixels.
source "$(dirname "$0")/lib.sh"

start_penwick main
w=$window_main
full_screen "$w"
keys "$w" r q q q q q q q q
line "$w" 100 700 200
saved_with "$w" 1
first=$(shape_line "$page" 0)
[[ $(field "$first" ink) == "#7F0000" ]] || fail "the first stroke's ink: $first"
first_width=$(pixels "$first" 600 "$(field "$first" radii 2)")
within "$first_width" 0.99 1.01 && [[ $(field "$first" radii) == $(field "$first" radii 2) ]] ||
    fail "the first stroke is not 2 pixels wide: $first"

keys "$w" k a a a a
line "$w" 100 700 400
saved_with "$w" 2
second=$(shape_line "$page" 1)
second_width=$(pixels "$second" 600 "$(field "$second" radii 2)")
[[ $(field "$second" ink) == "#000000" ]] && within "$second_width" 0.74 0.76 ||
    fail "the second stroke is not black and 1.5 pixels wide: $second"
window_shows "$w" "$page"
echo "pen radius in pixels: $first_width, then $second_width"
echo PASS
