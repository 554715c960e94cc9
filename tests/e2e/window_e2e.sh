#!/bin/bash
# The window among the desktop's others: its name and class, a Return pressed during the title
# (it ends the title and does not start a run in the menu, where the pointer sits over "Pelaa"),
# and the window manager's close button in the menu, in a run and in the editor, where an
# unsaved board is asked about first.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
e2e_start "67 68 69" "$1" "$2"
W=$E2E_WORK
GREY="170 170 170"

close_button() {
    /usr/bin/python3 "$(dirname "$0")/wm_close.py" "$(xdotool search --name '^vinkla 1.0$' | head -1)" ||
        fail "could not press the close button"
}

# exits_like_lopeta WHAT: exit status 0, and nothing written that the player did not change
# (but the tiles a run has named, which are the game's to keep).
exits_like_lopeta() {
    e2e_wait_exit 10 >"$W/exit_status.txt"
    [ "$(cat "$W/exit_status.txt")" = 0 ] || fail "exit status $(cat "$W/exit_status.txt") after closing $1"
    [ ! -e "$W/vinkla.cfg" ] || ! grep -v -e '^\[settings\]$' -e '^tiles_met = ' "$W/vinkla.cfg" | grep -q . ||
        fail "vinkla.cfg written after closing $1: $(cat "$W/vinkla.cfg")"
}

e2e_game
class=$(xprop -id "$(xdotool search --name '^vinkla 1.0$' | head -1)" WM_CLASS)
[ "$class" = 'WM_CLASS(STRING) = "vinkla", "Vinkla"' ] || fail "window class: $class"

# Return while the title fades in, with the pointer already where "Pelaa" will be.
xdotool mousemove 400 288
for i in $(seq 1 50); do
    e2e_shot "$W/title.png"
    [ "$(e2e_pixel "$W/title.png" 400 195)" != "0 0 0" ] && break
    sleep 0.1
done
xdotool key Return
pressed=$(date +%s%N)
menu_wait 4
elapsed_ms=$(( ($(date +%s%N) - pressed) / 1000000 ))
[ "$elapsed_ms" -lt 3000 ] || fail "the menu came ${elapsed_ms} ms after the key"
sleep 1  # nothing to wait for: no run may start a while later
e2e_shot "$W/menu_after_key.png"
[ "$(e2e_pixel "$W/menu_after_key.png" 330 480)" = "$GREY" ] || fail "the key pressed during the title left the menu"

close_button
exits_like_lopeta "the menu"

# In a run.
e2e_game
menu_skip_title
menu_wait 4
e2e_click 400 288
e2e_until 10 "no run started" e2e_gone_pixel "$W/run.png" 330 480 "$GREY"
close_button
exits_like_lopeta "a run"

# In the editor with a flag painted and not saved: asked first; "Peruuta" keeps the editor and
# the board; "Hylkää" quits.
e2e_game
menu_skip_title
menu_wait 4
e2e_click 400 368
e2e_wait_pixel "$W/editor.png" 600 364 "$GREY" 5
e2e_click 707 123
e2e_click 153 153
close_button
# The alert's white face over the board's middle.
e2e_until 10 "no question about the unsaved board" e2e_is_pixel "$W/asked.png" 400 250 "255 255 255"
kill -0 "$E2E_GAME_PID" 2>/dev/null || fail "the game quit and lost the unsaved board"
e2e_click 480 331                                      # "Peruuta"
e2e_until 10 "the question stayed after Peruuta" e2e_gone_pixel "$W/kept.png" 400 250 "255 255 255"
[ "$(e2e_pixel "$W/kept.png" 600 364)" = "$GREY" ] || fail "Peruuta did not keep the editor"
close_button
e2e_until 10 "no question the second time" e2e_is_pixel "$W/asked2.png" 400 250 "255 255 255"
e2e_click 399 331                                      # "Hylkää"
exits_like_lopeta "the editor"
echo "window e2e: ok (title ended ${elapsed_ms} ms after the key)"
