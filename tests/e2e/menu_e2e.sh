#!/bin/bash
# The window, the title skipped by a click, the six menu buttons, Esc (the menu stays), and
# "Lopeta".
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
e2e_start 70 "$1" "$2"
e2e_game

menu_skip_title
released=$(date +%s%N)
menu_wait 4
elapsed_ms=$(( ($(date +%s%N) - released) / 1000000 ))
# Without the click the title would stand for five seconds.
[ "$elapsed_ms" -lt 3000 ] || fail "the menu came ${elapsed_ms} ms after the click"

e2e_point 760 20
shot="$E2E_WORK/menu.png"
e2e_shot "$shot"
for y in 272 312 352 392 432 472; do
    # Inside each button, left and right of its centred text.
    for x in 330 470; do
        for dy in 6 26; do
            got=$(e2e_pixel "$shot" $x $((y + dy)))
            [ "$got" = "170 170 170" ] || fail "button at y $y: pixel ($x, $((y + dy))) is $got"
        done
    done
    # Black between the buttons.
    got=$(e2e_pixel "$shot" 400 $((y + 36)))
    [ "$got" = "0 0 0" ] || fail "gap below the button at y $y is $got"
done
got=$(e2e_pixel "$shot" 400 195)
[ "$got" != "0 0 0" ] || fail "no title picture above the buttons"

# Esc in the main menu keeps the menu: it neither quits nor leaves the buttons.
xdotool key Escape
sleep 0.8  # nothing to wait for: the game must still be there a while later
kill -0 "$E2E_GAME_PID" 2>/dev/null || fail "Esc in the menu ended the game"
e2e_shot "$E2E_WORK/menu_esc.png"
for y in 272 472; do
    got=$(e2e_pixel "$E2E_WORK/menu_esc.png" 330 $((y + 6)))
    [ "$got" = "170 170 170" ] || fail "after Esc the button at y $y is gone ($got)"
done

menu_quit
echo "menu e2e: ok (menu ${elapsed_ms} ms after the click)"
