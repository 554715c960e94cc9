#!/bin/bash
# "Asetukset", in the middle of the window: three steps to the right on the sound slider, two
# on the sensitivity slider, Return, and the volume and the sensitivity are kept; opened again,
# a step more and Esc keep them as they were.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
e2e_start 73 "$1" "$2"
e2e_game
menu_skip_title
menu_wait

e2e_press menu:Asetukset
shot="$E2E_WORK/settings.png"
e2e_wait_pixel "$shot" 250 300 "255 238 221" 5
for p in "549 300" "400 175" "400 424"; do
    [ "$(e2e_pixel "$shot" $p)" = "255 238 221" ] || fail "the panel does not reach $p"
done
for p in "234 300" "565 300" "400 164" "400 435"; do
    [ "$(e2e_pixel "$shot" $p)" = "0 0 0" ] || fail "the panel reaches past its frame at $p"
done
# The pointer over the sound slider gives it the focus; each step closes and reopens the
# dialog, which gives the focus back to the slider under the pointer: the next key waits
# until the slider moved.
step_right() { # Y: the slider's row
    e2e_shot "$E2E_WORK/slider.png"
    xdotool key Right
    e2e_wait_change "$E2E_WORK/slider.png" 400x24+200+$(($1 - 12)) 5
}
e2e_focus_slider 248
for i in 1 2 3; do
    step_right 248
done
e2e_focus_slider 344
for i in 1 2; do
    step_right 344
done
xdotool key Return
menu_wait
e2e_press menu:Asetukset
e2e_wait_pixel "$shot" 250 300 "255 238 221" 5
e2e_focus_slider 248
step_right 248
xdotool key Escape
menu_wait
menu_quit
grep -q '^sound = 187$' "$E2E_WORK/vinkla.cfg" || fail "sound not 187: $(cat "$E2E_WORK/vinkla.cfg")"
# The music was not changed here: another copy of the game may have set it, so it is not written.
! grep -q '^music' "$E2E_WORK/vinkla.cfg" || fail "music written though unchanged: $(cat "$E2E_WORK/vinkla.cfg")"
grep -q '^mouse_sensitivity = 1.2$' "$E2E_WORK/vinkla.cfg" ||
    fail "mouse_sensitivity not 1.2: $(cat "$E2E_WORK/vinkla.cfg")"
echo "settings e2e: ok"
