#!/bin/bash
# "Info": the framed text panel over the title pictures; "Ruudut ja ohjaus" turns to the page of
# tiles and keys, "Ohjeet" back, and "Ok" returns to the menu.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
e2e_start 72 "$1" "$2"
e2e_game
menu_skip_title
menu_wait

e2e_press menu:Info
xdotool mousemove 760 20
shot="$E2E_WORK/info.png"
e2e_wait_pixel "$shot" 690 540 "255 238 221" 5
e2e_wait_still 800x600+0+0 5
cp "$E2E_WORK/still.png" "$shot"
# The ridge in (32, 8, 4): ring 0 darkest on top and left, lightest on the right and at the
# bottom; ring 4 the other way about; ring 2 the base colour all round.
check() {
    local got
    got=$(e2e_pixel "$shot" "$1" "$2")
    [ "$got" = "$3" ] || fail "info pixel ($1, $2) is $got, expected $3"
}
check 400 329 "10 2 1"
check 99 440 "10 2 1"
check 701 440 "180 172 170"
check 400 551 "180 172 170"
check 400 325 "180 172 170"
check 95 440 "180 172 170"
check 705 440 "10 2 1"
check 400 555 "10 2 1"
check 97 440 "32 8 4"
check 703 440 "32 8 4"
check 400 327 "32 8 4"
check 400 553 "32 8 4"
# The one-pixel black gap on the right and at the bottom, the cream box inside.
check 700 440 "0 0 0"
check 400 550 "0 0 0"
check 101 331 "255 238 221"
check 360 565 "170 170 170"
# Text is drawn in the box: some of its first lines are not cream.
text=$(convert "$shot" -crop 590x40+104+334 +repage -fill black +opaque 'rgb(255,238,221)' -format '%[fx:mean<0.97]' info:)
[ "$text" = 1 ] || fail "no text in the info box"

e2e_click 560 575
e2e_wait_pixel "$E2E_WORK/tiles.png" 25 20 "255 238 221" 5
e2e_click 560 575
e2e_wait_pixel "$E2E_WORK/text.png" 690 540 "255 238 221" 5
[ "$(e2e_pixel "$E2E_WORK/text.png" 25 20)" = "0 0 0" ] || fail "the tiles' page stays under the text"
e2e_press info:Ok
menu_wait
menu_quit
echo "info e2e: ok"
