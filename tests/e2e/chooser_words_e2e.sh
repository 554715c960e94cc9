#!/bin/bash
# The file chooser speaks Finnish: its buttons read "Ok" (the very pixels of the settings
# dialog's "Ok", drawn with the same font) and "Peruuta" (seven letters, where "Cancel" has six).
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
e2e_start "64 65 66 67" "$1" "$2"
W=$E2E_WORK
PY=/usr/bin/python3
[ -x $PY ] || PY=python3

# The black ink inside a crop, trimmed to its bounding box.
ink() { # SHOT CROP OUT
    convert "$1" -crop "$2" +repage -fill white +opaque black -trim +repage "$3"
}
# Letters of a word: runs of inked columns (the font leaves a blank column between letters).
letters() {
    $PY -c '
import sys
from PIL import Image
im = Image.open(sys.argv[1]).convert("L")
w, h = im.size
cols = [any(im.getpixel((x, y)) < 128 for y in range(h)) for x in range(w)]
print(sum(1 for x in range(w) if cols[x] and (x == 0 or not cols[x - 1])))
' "$1"
}

e2e_game
menu_skip_title
menu_wait
# "Avaa": the chooser of 500x400 in the middle; its buttons sit at (286, 449) and (413, 449).
e2e_other_file
xdotool mousemove 760 20
e2e_wait_pixel "$W/chooser.png" 160 110 "255 255 255" 5
e2e_wait_still 500x400+150+100 5
cp "$W/still.png" "$W/chooser.png"
ink "$W/chooser.png" 88x16+292+453 "$W/ok_chooser.png"
ink "$W/chooser.png" 90x16+418+453 "$W/cancel_chooser.png"
xdotool key Escape
menu_wait

# "Asetukset": its "Ok" button at (292, 382).
e2e_click 400 408
xdotool mousemove 760 20
e2e_wait_pixel "$W/settings.png" 250 340 "255 238 221" 5
e2e_wait_still 800x600+0+0 5
cp "$W/still.png" "$W/settings.png"
ink "$W/settings.png" 60x16+312+388 "$W/ok_settings.png"
e2e_press settings:Ok
menu_wait

ae=$(compare -metric AE "$W/ok_chooser.png" "$W/ok_settings.png" null: 2>&1 || true)
[ "$ae" = 0 ] || fail "the chooser's first button does not read \"Ok\" ($ae pixels differ)"
n=$(letters "$W/cancel_chooser.png")
[ "$n" = 7 ] || fail "the chooser's second button has $n letters, not the 7 of \"Peruuta\""
menu_quit
echo "chooser words e2e: ok"
