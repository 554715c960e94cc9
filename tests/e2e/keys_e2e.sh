#!/bin/bash
# The arrow keys steer a run: right along the top row to the flag in the north-east corner,
# down the east wall to the flag in the south-east corner; the run is won and the menu comes
# back. No gamepad here: nothing is reported.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
e2e_start "74 75 76 77" "$1" "$2"
W=$E2E_WORK
{
    echo '**************'
    echo '*A..........F*'
    for i in $(seq 1 10); do echo '*............*'; done
    echo '*...........F*'
    echo '**************'
    echo noname
    echo 9999
} >"$W/kulma.vkl"
printf '[settings]\nlastgame = kulma.vkl\n' >"$W/vinkla.cfg"

e2e_game
menu_skip_title
menu_wait
e2e_click 400 300
sleep 1
# The mouse stays still from here on.
xdotool keydown Right
sleep 1.5
xdotool keydown Down
sleep 1.5
xdotool keyup Down
xdotool keyup Right
e2e_leave_win
e2e_wait_pixel "$W/menu.png" 330 480 "170 170 170" 5
xdotool mousemove_relative -- 1 1
sleep 0.3
e2e_click 400 488
e2e_wait_exit 10 >"$W/exit_status.txt"
[ "$(cat "$W/exit_status.txt")" = 0 ] || fail "exit status $(cat "$W/exit_status.txt")"
! grep -qi "joystick\|due to signal" "$W/stderr.txt" "$W/stdout.txt" ||
    fail "something was reported: $(cat "$W/stderr.txt" "$W/stdout.txt")"
echo "keys e2e: ok"
