#!/usr/bin/env bash
# Starts from a file manager's double click on a page with a blank in its
# name: the desktop entry's Exec line, %f given the path as one argument.
source "$(dirname "$0")/lib.sh"

exec_line=$(sed -n 's/^Exec=//p' "$source_dir/desktop/com.corvana.Penwick.desktop.in")
read -r -a words <<<"${exec_line//@PENWICK_EXEC@/$penwick}"
page="$documents/my page.wnk"
cp "$source_dir/examples/flower.wnk" "$page"
args=()
for word in "${words[@]:1}"; do [[ $word == %f ]] && args+=("$page") || args+=("$word"); done
[[ ${words[0]} == "$penwick" && ${#args[@]} == 1 ]] || fail "unexpected Exec line: $exec_line"
start_penwick main "${args[@]}"
[[ $(xdotool getwindowname "$window_main") == "my page.wnk" ]] ||
    fail "the window is titled \"$(xdotool getwindowname "$window_main")\""
full_screen "$window_main"
window_shows "$window_main" "$page"
echo PASS
