#!/usr/bin/env bash
# Turns Auto Save off in the File menu, draws, quits, and is asked whether to
# save (a box opens); Cancel keeps the window, No ends it: no page is written, and the
# settings remember Auto Save off.
source "$(dirname "$0")/lib.sh"

start_penwick main
w=$window_main
keys "$w" alt+f
menu=$(box_of "$pid_main" "$w") || fail "the File menu did not open"
# New, Copy As New, Open, Save, Save As, Delete Permanently, Auto Save.
xdotool key --delay 30 Down Down Down Down Down Down Return
line "$w" 100 700 300

ask() {
    keys "$w" alt+f
    box_of "$pid_main" "$w" >/dev/null || fail "the File menu did not open"
    xdotool key x
    box=$(box_of "$pid_main" "$w") || fail "quitting a changed page with Auto Save off asked nothing"
}
ask
echo "asked: a box without a title (its words are not read from outside)"
focus "$box"
xdotool key Escape
closed() { ! xdotool search --onlyvisible --pid "$pid_main" 2>/dev/null | grep -qx "$box"; }
poll 10 closed || fail "Cancel did not close the question"
kill -0 "$pid_main" || fail "Cancel ended the program"
has_pages 0 || fail "a page was written"

ask
focus "$box"
xdotool key n
poll 10 ended "$pid_main" || fail "No did not end the program"
has_pages 0 || fail "a page was written after No"
config="$XDG_CONFIG_HOME/Corvana/Penwick/config.xml"
grep -q 'autoSave' "$config" || fail "config.xml holds no autoSave: $(cat "$config")"
grep -q 'val="0" name="autoSave"' "$config" || fail "config.xml keeps Auto Save on: $(cat "$config")"
echo "config.xml: $(grep autoSave "$config")"
echo PASS
