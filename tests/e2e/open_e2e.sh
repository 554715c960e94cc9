#!/bin/bash
# "Avaa" in the main menu chooses a level, plays it at once and leaves it as the one "Pelaa"
# plays: a level file written here is chosen through the real file selector and its board is
# drawn in a run; a cancelled second choice plays nothing and changes nothing, a third that
# takes what the selector offers plays the same level, and so does "Pelaa".
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
e2e_start "85 86 87 88 89" "$1" "$2"
W=$E2E_WORK

for p in A41_WALL_BMP:wall A17_HOLE_BMP:hole A14_FLAG_BMP:flag A16_FLOOR_BMP:floor; do
    (cd "$W" && dat -x data1.dat "${p%%:*}" -o "ref_${p##*:}.bmp" >/dev/null 2>&1) || fail "cannot export ${p%%:*}"
done

# A wall at row 4, column 4, a hole at row 6, column 8 and the flag at row 12, column 12.
printf '%s\n' \
    '**************' \
    '*A...........*' \
    '*............*' \
    '*............*' \
    '*...*........*' \
    '*............*' \
    '*.......O....*' \
    '*............*' '*............*' '*............*' '*............*' '*............*' \
    '*...........F*' \
    '**************' 'noname' '9999' >"$W/kuoppa.vkl"


GREY="170 170 170"
e2e_game
menu_skip_title
e2e_wait_pixel "$W/menu.png" 330 290 "$GREY" 10

# The chosen board drawn in a run: its hole, its wall and its flag where the level has them.
kuoppa_plays() {
    e2e_wait_pixel "$W/play.png" 331 253 "$hole_centre" 5
    e2e_wait_still 546x546+0+0 5
    cp "$W/still.png" "$W/play.png"
    e2e_cell_is "$W/play.png" 6 8 "$W/ref_hole.bmp"
    e2e_cell_is "$W/play.png" 4 4 "$W/ref_wall.bmp"
    e2e_cell_is "$W/play.png" 12 12 "$W/ref_flag.bmp"
    e2e_cell_is "$W/play.png" 6 9 "$W/ref_floor.bmp"
    e2e_cell_is "$W/play.png" 4 5 "$W/ref_floor.bmp"
}
hole_centre=$(e2e_pixel "$W/ref_hole.bmp" 19 19)

# "Avaa": replace the offered path with the level's and accept: it plays at once, as a card of
# the select does, and Esc returns to the menu.
e2e_other_file
xdotool mousemove 780 590
e2e_type_path "$W/kuoppa.vkl"
kuoppa_plays
xdotool key Escape
e2e_wait_pixel "$W/menu2.png" 330 290 "$GREY" 5

# "Avaa" again, cancelled with Esc: no run, and the chosen level stays.
e2e_other_file
xdotool mousemove 780 590
e2e_wait_pixel "$W/selector.png" 210 160 "255 255 255" 10
xdotool key Escape
e2e_wait_pixel "$W/menu3.png" 330 290 "$GREY" 5

# "Avaa" once more, accepted with Return as it opens: it offers and plays the level chosen.
e2e_other_file
xdotool mousemove 780 590
e2e_wait_pixel "$W/selector.png" 210 160 "255 255 255" 10
xdotool key Return
kuoppa_plays
xdotool key Escape
e2e_wait_pixel "$W/menu3.png" 330 290 "$GREY" 5

# "Pelaa" draws the chosen board.
e2e_hand_back
e2e_press menu:Pelaa
kuoppa_plays

# Esc ends the run (a tap waits in the key buffer for the next frame); "Lopeta"
# ends the program, which keeps the chosen level as the last one, under the name the player's
# own levels (the .vkl files of the game's folder) give it.
xdotool key Escape
e2e_wait_pixel "$W/menu4.png" 330 290 "$GREY" 5
e2e_press menu:Lopeta
e2e_wait_exit 10 >"$W/exit_status.txt"  # not $(...): only this shell can wait for the game
rc=$(cat "$W/exit_status.txt")
[ "$rc" = "0" ] || fail "the game ended with status $rc"
! grep -q "due to signal" "$W/stderr.txt" || fail "the game crashed"
grep -q "^lastgame *= *kuoppa.vkl\$" "$W/vinkla.cfg" || fail "vinkla.cfg does not keep the chosen level: $(grep lastgame "$W/vinkla.cfg")"
echo "open e2e: ok"
