#!/bin/bash
# The arrow keys steer a run: right along the top row to the flag in the north-east corner,
# down the east wall to the flag in the south-east corner; the run is won and the menu comes
# back. No gamepad here: nothing is reported.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
e2e_start "74 75 76 77" "$1" "$2"
W=$E2E_WORK
e2e_level '*A..........F*' '*...........F*' >"$W/kulma.vkl"
printf '[settings]\nlastgame = kulma.vkl\n' >"$W/vinkla.cfg"

e2e_game
menu_skip_title
menu_wait
e2e_click 400 300
e2e_wait_marble "59 59" 10 >/dev/null || fail "the marble is not on the start (59, 59): $(e2e_marble)"
# The mouse stays still from here on. Each key is held until the marble is where it leads:
# Right to the first flag, against the east wall; Down as well to the second flag, which wins.
in_corner() { # the marble in row 1, column 12 (x 468 to 506)
    local at
    at=$(e2e_marble)
    [ "${at#* }" = 59 ] && [ "${at% *}" -ge 468 ] 2>/dev/null
}
xdotool keydown Right
e2e_until 60 "Right held, the marble did not reach the north-east flag (see $W/marble_shot.png)" in_corner
xdotool keydown Down
e2e_wait_pixel "$W/win.png" 70 100 "255 238 221" 60
xdotool keyup Down
xdotool keyup Right
e2e_leave_win
e2e_wait_pixel "$W/menu.png" 330 480 "170 170 170" 5
e2e_hand_back
e2e_click 400 488
e2e_wait_exit 10 >"$W/exit_status.txt"
[ "$(cat "$W/exit_status.txt")" = 0 ] || fail "exit status $(cat "$W/exit_status.txt")"
! grep -qi "joystick\|due to signal" "$W/stderr.txt" "$W/stdout.txt" ||
    fail "something was reported: $(cat "$W/stderr.txt" "$W/stdout.txt")"
echo "keys e2e: ok"
