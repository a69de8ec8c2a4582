#!/usr/bin/env bash
# Opens a damaged page (a page cut short) from the command line: the program
# says what is wrong, the person draws and quits with Auto Save on, and the
# damaged page's bytes are still as they were; the stroke went to a new page.
source "$(dirname "$0")/lib.sh"

mkdir -p "$sketchbook"
damaged="$sketchbook/2026-01-01_00-00-00.wnk"
head -c 200 "$source_dir/examples/flower.wnk" >"$damaged"
cp "$damaged" "$work/damaged.copy"
# The report comes before the window is drawn, so the program is started
# here rather than by start_penwick.
"$penwick" "$damaged" >"$work/penwick-main.log" 2>&1 &
pid_main=$!
started+=("$pid_main")
# The report is a small window, shown before or over the main window.
poll 20 small_window "$pid_main" || fail "nothing was said about the damaged page"
focus "$box"
xdotool key Return
closed() { ! xdotool search --onlyvisible --pid "$pid_main" 2>/dev/null | grep -qx "$box"; }
poll 10 closed || fail "the report did not close"
main_shown() { w=$(largest_window "$pid_main"); [[ -n $w ]]; }
poll 10 main_shown || fail "no main window after the report"
poll 10 is_paper "$w" 400 300 || fail "the main window shows no paper after the report"
echo "the report was shown and closed; the window is titled \"$(xdotool getwindowname "$w")\""
line "$w" 100 700 300
keys "$w" alt+f
box_of "$pid_main" "$w" >/dev/null || fail "the File menu did not open"
xdotool key x
poll 10 ended "$pid_main" || {
    other=$(box_of "$pid_main" "$w") && echo "asked at the end: $(box_text "$other")"
    fail "the program did not end"
}
cmp -s "$damaged" "$work/damaged.copy" || fail "the damaged page was written over"
drawing=$(pages | grep -vx "$damaged")
[[ -n $drawing && $(shape_count "$drawing") == 1 ]] || fail "the stroke was not saved as a page of its own"
echo "the damaged page is as it was; the Sketchbook holds: $(pages | xargs -n1 -d '\n' basename | tr '\n' ' ')"
echo PASS
