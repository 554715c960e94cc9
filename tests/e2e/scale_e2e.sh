#!/bin/bash
# On a 2400x1800 desktop the game opens a 1600x1200 window showing everything at twice the size:
# the title, the menu with the pointer drawn where the window system has it, buttons that answer
# clicks at their enlarged places, and a run, pixel for pixel the 800x600 picture doubled, that
# is won by tilting the board as usual.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
E2E_SCREEN=2400x1800 e2e_start "60 61 62 63" "$1" "$2"
W=$E2E_WORK
HERE=$(dirname "$0")
PY=/usr/bin/python3
[ -x $PY ] || PY=python3
(cd "$W" && dat -x data1.dat A00_MARBLE_BMP -o marble.bmp >/dev/null 2>&1) || fail "cannot export the marble"

# A flag three cells east of the start, in the same row.
{
    echo '**************'
    echo '*A..F........*'
    for i in $(seq 1 11); do echo '*............*'; done
    echo '**************'
    echo noname
    echo 9999
} >"$W/suora.vkl"
printf '[settings]\nlastgame = suora.vkl\n' >"$W/vinkla.cfg"

e2e_game
geometry=$(xdotool search --name '^vinkla 1.0$' getwindowgeometry)
echo "$geometry"
echo "$geometry" | grep -q 'Geometry: 1600x1200' || fail "the window is not 1600x1200: $geometry"

# The title's logo (at 235, 150 in game pixels) shows at twice its place; a button pressed then
# and held skips it, once its last picture stands whole (see menu_skip_title).
xdotool mousemove 1520 40
got="0 0 0"
for i in $(seq 1 50); do
    e2e_shot "$W/title.png"
    got=$(e2e_pixel "$W/title.png" 800 390)
    [ "$got" != "0 0 0" ] && break
    sleep 0.2
done
[ "$got" != "0 0 0" ] || fail "the title picture never showed at twice its size"
xdotool mousedown 1
e2e_until 10 "the title's last picture is not drawn at twice its place" e2e_is_pixel "$W/title.png" 661 621 "96 136 201"
xdotool mouseup 1

# "Lopeta"'s grey (330, 480 in game pixels) is at (660, 960); the unscaled place stays black.
e2e_wait_pixel "$W/menu.png" 660 960 "170 170 170" 5
[ "$(e2e_pixel "$W/menu.png" 661 961)" = "170 170 170" ] || fail "the menu is not doubled"
[ "$(e2e_pixel "$W/menu.png" 330 480)" = "0 0 0" ] || fail "the menu is drawn unscaled as well"

# The pointer: drawn, doubled, where the window system's pointer is; gone when it moves away.
lit() { # FILE X Y: non-black pixels in a 40x40 square
    convert "$1" -crop 40x40+"$2"+"$3" +repage -fill white +opaque black -format '%[fx:int(mean*1600)]' info:
}
pointer_at() { # FILE X Y: a screenshot now, the pointer drawn at (X, Y)
    e2e_shot "$1"
    [ "$(lit "$1" $(($2 - 4)) $(($3 - 4)))" -gt 20 ]
}
xdotool mousemove 1000 1000
e2e_until 5 "no pointer at (1000, 1000)" pointer_at "$W/pointer.png" 1000 1000
xdotool mousemove 1400 1000
e2e_until 5 "no pointer at (1400, 1000)" pointer_at "$W/pointer2.png" 1400 1000
[ "$(lit "$W/pointer2.png" 996 996)" = 0 ] || fail "the pointer left a trace at (1000, 1000)"

# "Avaa" (400, 328) at (800, 656): the chooser shows centred at twice its size; outside it the
# screen stays black (the library's own pointer must leave no save-under behind); Esc closes it.
e2e_other_file 2
xdotool mousemove 1400 1000
e2e_wait_pixel "$W/chooser.png" 320 220 "255 255 255" 5
e2e_wait_still 2400x1800+0+0 5
cp "$W/still.png" "$W/chooser.png"
[ "$(lit "$W/chooser.png" 0 0)" = 0 ] || fail "stray pixels at the top-left corner"
[ "$(e2e_pixel "$W/chooser.png" 298 198)" = "0 0 0" ] || fail "the chooser is not at (300, 200)"
xdotool key Escape
e2e_wait_pixel "$W/menu.png" 660 960 "170 170 170" 5

# "Pelaa" (400, 288 in game pixels) at (800, 576) starts the run: the board, halved again by
# taking one pixel of each 2x2 block, shows the marble exactly on its start.
e2e_click 800 576
for i in $(seq 1 20); do
    e2e_shot "$W/run.png"
    convert "$W/run.png" -crop 1600x1200+0+0 +repage -sample 50% "$W/run_half.png"
    at=$($PY "$HERE/marble_at.py" "$W/run_half.png" "$W/marble.bmp")
    [ "$at" = "59 59" ] && break
    sleep 0.25
done
[ "$at" = "59 59" ] || fail "the marble is not on the start (59, 59) of the halved picture: '$at'"

# Tilting east rolls the marble over the flag: the run is won and, past the win panel, the menu comes back.
# Two moves a moment apart: moves close together can be merged or lost.
xdotool mousemove_relative -- 30 0
sleep 0.04
xdotool mousemove_relative -- 30 0
e2e_leave_win 2
e2e_wait_pixel "$W/menu.png" 660 960 "170 170 170" 10
e2e_hand_back 2

# "Lopeta" at (800, 976).
e2e_click 800 976
e2e_wait_exit 10 >"$W/exit_status.txt"
[ "$(cat "$W/exit_status.txt")" = 0 ] || fail "exit status $(cat "$W/exit_status.txt") after Lopeta"
! grep -q "due to signal" "$W/stderr.txt" || fail "the game crashed"
echo "scale e2e: ok"
