#!/usr/bin/env bash
# Draws with a pen whose pressure rises along the stroke (samples replayed as
# Qt tablet events by the host, since Xvfb has no tablet): the saved page
# holds radii from (0.1 + 0.05) to (1 + 0.05) times the pen size of 4, and
# the window shows the stroke.
source "$(dirname "$0")/lib.sh"

export PENWICK_TEST_TABLET="$work/pen.samples"
start_penwick main
w=$window_main
full_screen "$w"
keys "$w" $(printf 'q %.0s' $(seq 24))  # pen size 1 + 24 / 8 = 4
awk 'BEGIN { for (i = 0; i <= 60; i++) printf "%d 300 %.4f\n", 100 + 10 * i, 0.1 + 0.9 * i / 60 }' >"$work/pen.tmp"
mv "$work/pen.tmp" "$PENWICK_TEST_TABLET"
played() { [[ -e $PENWICK_TEST_TABLET.played ]]; }
poll 20 played || fail "the pen's samples were not played"
saved_with "$w" 1
shape=$(shape_line "$page" 0)
echo "$shape"
thinnest=$(pixels "$shape" 600 "$(field "$shape" radii)")
widest=$(pixels "$shape" 600 "$(field "$shape" radii 2)")
echo "radii in pixels from $thinnest to $widest"
within "$thinnest" 0.55 0.8 && within "$widest" 3.9 4.3 ||
    fail "the radii do not follow the pressure: $shape"
within "$(field "$shape" points)" 30 61 || fail "the stroke lost its samples: $shape"
window_shows "$w" "$page"
echo PASS
