#!/usr/bin/env bash
# Prints pages 2–4 to a PDF: Ctrl+P, the print dialog's "Print to File
# (PDF)" (the only printer here), Options, pages from 2 to 4, Print. The PDF
# holds three pages, each the same drawing, and pdftoppm finds ink on them.
# The dialog is Qt's own; its fields are reached where this Qt lays them
# out (the dialog at its size with the options shown).
source "$(dirname "$0")/lib.sh"

pdf="$HOME/print.pdf"  # the dialog's file for the PDF printer
start_penwick main "$source_dir/examples/flower.wnk"
w=$window_main
keys "$w" ctrl+p
dialog=$(box_of "$pid_main" "$w") || fail "Ctrl+P showed no print dialog"
size() { xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: //p'; }
keys "$dialog" alt+o
wide() { [[ $(size "$dialog") == 439x372 ]]; }
poll 10 wide || fail "the print dialog's options did not open ($(size "$dialog"))"
# Pages from [2] to [4]: the last first, so that the range never turns empty.
field_to() {  # field_to X Y TEXT: the spin box at X, Y of the dialog holds TEXT
    xdotool mousemove --window "$dialog" "$1" "$2" click 1
    xdotool key --delay 30 ctrl+a
    xdotool type --delay 30 "$3"
}
field_to 235 243 4
field_to 150 243 2
xdotool mousemove --window "$dialog" 300 348 click 1  # Print
three_pages() { [[ -s $pdf && $(pdfinfo "$pdf" 2>/dev/null | sed -n 's/^Pages: *//p') == 3 ]]; }
poll 30 three_pages || fail "no PDF of three pages ($(pdfinfo "$pdf" 2>&1 | grep Pages))"
dialog_gone() { ! xdotool search --onlyvisible --pid "$pid_main" 2>/dev/null | grep -vqx "$w"; }
poll 10 dialog_gone || fail "a dialog stayed open after printing"

pdftoppm -r 30 -png "$pdf" "$work/page"
first=$(ls "$work"/page-*.png | head -n 1)
for page in "$work"/page-*.png; do
    differing=$(compare -metric AE "$first" "$page" null: 2>&1)
    [[ $differing == 0 ]] || fail "$(basename "$page") differs from the first page in $differing pixels"
done
ink=$(convert "$first" -colorspace gray -threshold 90% -negate -format '%[fx:mean*w*h]' info:)
within "$ink" 50 1e9 || fail "the printed page shows no drawing ($ink dark pixels)"
echo "three equal pages, $ink dark pixels on each at 30 dpi"
quit "$w" "$pid_main"
echo PASS
