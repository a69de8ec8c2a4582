#!/usr/bin/env bash
# Pages forward and back with Alt+Page Down/Up and finds each page as it
# was: three pages made with New (Ctrl+N saves the page it leaves), then
# back to the first and forward to the last, which goes no further.
source "$(dirname "$0")/lib.sh"

start_penwick main
w=$window_main
full_screen "$w"
line "$w" 100 700 150
keys "$w" ctrl+n
poll 10 has_pages 1 || fail "New did not save the page it left"
line "$w" 100 700 150
line "$w" 100 700 300
keys "$w" ctrl+n
poll 10 has_pages 2 || fail "New did not save the second page"
line "$w" 100 700 150
line "$w" 100 700 300
line "$w" 100 700 450
saved_with "$w" 3
mapfile -t book < <(pages)
for i in 0 1 2; do
    [[ $(shape_count "${book[i]}") == $((i + 1)) ]] || fail "page $((i + 1)) holds $(shape_count "${book[i]}") shapes"
done
sums=$(md5sum "${book[@]}")

visit() {  # visit KEY PAGE_INDEX
    keys "$w" "$1"
    poll 10 titled "$w" "$(basename "${book[$2]}")" || fail "$1 did not show page $(($2 + 1)) (title \"$(xdotool getwindowname "$w")\")"
    window_shows "$w" "${book[$2]}"
}
visit alt+Prior 1
visit alt+Prior 0
visit alt+Next 1
visit alt+Next 2
keys "$w" alt+Next
# Paging past the last page would show another title at once; it stays.
! poll 1 titled "$w" "$(basename "${book[1]}")" || fail "Alt+Page Down went on from the last page"
titled "$w" "$(basename "${book[2]}")" || fail "the last page's title changed to $(xdotool getwindowname "$w")"
[[ $(md5sum "${book[@]}") == "$sums" ]] || fail "paging changed the pages' files"
has_pages 3 || fail "paging made new pages"
echo PASS
