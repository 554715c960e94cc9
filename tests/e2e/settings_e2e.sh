#!/bin/bash
# "Asetukset": three steps to the right on the sound slider, two on the sensitivity slider,
# "Ok", and the volume and the sensitivity are kept.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
e2e_start 73 "$1" "$2"
e2e_game
menu_skip_title
menu_wait

e2e_press menu:Asetukset
shot="$E2E_WORK/settings.png"
e2e_wait_pixel "$shot" 260 300 "202 202 202" 5
# The pointer over the sound slider gives it the focus; each step closes and reopens the
# dialog, which gives the focus back to the slider under the pointer: the next key waits
# until the slider moved.
step_right() { # Y: the slider's row
    e2e_shot "$E2E_WORK/slider.png"
    xdotool key Right
    e2e_wait_change "$E2E_WORK/slider.png" 400x24+200+$(($1 - 12)) 5
}
e2e_point 300 208
for i in 1 2 3; do
    step_right 208
done
e2e_point 300 288
for i in 1 2; do
    step_right 288
done
e2e_click 348 324
menu_wait
menu_quit
grep -q '^sound = 187$' "$E2E_WORK/vinkla.cfg" || fail "sound not 187: $(cat "$E2E_WORK/vinkla.cfg")"
# The music was not changed here: another copy of the game may have set it, so it is not written.
! grep -q '^music' "$E2E_WORK/vinkla.cfg" || fail "music written though unchanged: $(cat "$E2E_WORK/vinkla.cfg")"
grep -q '^mouse_sensitivity = 1.2$' "$E2E_WORK/vinkla.cfg" ||
    fail "mouse_sensitivity not 1.2: $(cat "$E2E_WORK/vinkla.cfg")"
echo "settings e2e: ok"
