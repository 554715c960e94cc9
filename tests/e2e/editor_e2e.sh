#!/bin/bash
# The level editor as a player uses it: paint flags by clicking and dragging, save the board
# through the real file selector, open it again, and look at the help panel.
source "$(dirname "$0")/lib.sh"
e2e_start "80 81 82 83 84" "$1" "$2"
W=$E2E_WORK

# Reference pictures straight from the data file.
(cd "$W" && dat -x data1.dat A14_FLAG_BMP -o ref_flag.bmp >/dev/null 2>&1 &&
    dat -x data1.dat A16_FLOOR_BMP -o ref_floor.bmp >/dev/null 2>&1) || fail "cannot export pictures with dat"

# cell_is SHOT ROW COL REF: the editor's board cell (the board is shown at offset 16) shows
# exactly REF.
cell_is() {
    e2e_cell_is "$@" 16 16
}

# type_path TEXT: replaces the selector's offered path and accepts.
type_path() {
    xdotool key End
    xdotool key --delay 15 --repeat 120 BackSpace
    xdotool type --delay 30 "$1"
    sleep 0.2
    xdotool key Return
}

GREY="170 170 170"
e2e_game
sleep 1
e2e_click 400 300                                  # past the title
e2e_wait_pixel "$W/menu.png" 330 290 "$GREY" 10
e2e_press menu:Editori                                  # "Editori"
e2e_wait_pixel "$W/editor.png" 600 260 "$GREY" 5   # "Uusi" is drawn

# Esc keeps the editor open.
xdotool key Escape
sleep 0.4
e2e_wait_pixel "$W/editor.png" 600 260 "$GREY" 3

# The flag tool, then a press on row 2, column 2 dragged right to column 7 and down to row 4.
e2e_press tool:7
xdotool mousemove 100 100 sleep 0.3 mousedown 1 sleep 0.1
for x in $(seq 110 10 300); do xdotool mousemove "$x" 100 sleep 0.05; done
for y in $(seq 110 10 180); do xdotool mousemove 300 "$y" sleep 0.05; done
xdotool sleep 0.2 mouseup 1
xdotool mousemove 700 590
sleep 0.4
e2e_shot "$W/painted.png"
for c in 2 3 4 5 6 7; do cell_is "$W/painted.png" 2 "$c" "$W/ref_flag.bmp"; done
cell_is "$W/painted.png" 3 7 "$W/ref_flag.bmp"
cell_is "$W/painted.png" 4 7 "$W/ref_flag.bmp"
cell_is "$W/painted.png" 1 2 "$W/ref_flag.bmp"
cell_is "$W/painted.png" 2 8 "$W/ref_floor.bmp"
cell_is "$W/painted.png" 3 6 "$W/ref_floor.bmp"
cell_is "$W/painted.png" 5 7 "$W/ref_floor.bmp"

# "Tallenna" under a new name through the real selector.
e2e_press editor:Tallenna
xdotool mousemove 780 590
sleep 0.6
e2e_shot "$W/save_selector.png"
type_path "$W/lippu.vkl"
for i in $(seq 1 50); do [ -f "$W/lippu.vkl" ] && break; sleep 0.1; done
[ -f "$W/lippu.vkl" ] || fail "lippu.vkl was not written"
sleep 0.3
printf '%s\n' \
    '**************' \
    '*AF..........*' \
    '*.FFFFFF.....*' \
    '*......F.....*' \
    '*......F.....*' \
    '*............*' '*............*' '*............*' '*............*' \
    '*............*' '*............*' '*............*' '*............*' \
    '**************' 'noname' '9999' >"$W/expected.vkl"
cmp "$W/expected.vkl" "$W/lippu.vkl" || fail "lippu.vkl holds other bytes than the painted board"

# "Uusi" clears the board; "Avaa" brings the saved one back, pixel for pixel.
e2e_press editor:Uusi
xdotool mousemove 700 590
sleep 0.4
e2e_shot "$W/new.png"
cell_is "$W/new.png" 2 4 "$W/ref_floor.bmp"
e2e_press editor:Avaa
xdotool mousemove 780 590
sleep 0.6
type_path "$W/lippu.vkl"
sleep 0.8
xdotool mousemove 700 590
sleep 0.3
e2e_shot "$W/reopened.png"
convert "$W/painted.png" -crop 546x546+16+16 +repage -alpha off "$W/board_painted.png"
convert "$W/reopened.png" -crop 546x546+16+16 +repage -alpha off "$W/board_reopened.png"
diff=$(compare -metric AE "$W/board_painted.png" "$W/board_reopened.png" null: 2>&1 || true)
[ "$diff" = "0" ] || fail "the reopened board differs from the painted one in $diff pixels"

# A level that cannot be read: an alert, the board stays, and the name stays the old one,
# so saving with the offered name rewrites lippu.vkl and creates no puuttuu.vkl.
e2e_press editor:Avaa
xdotool mousemove 780 590
sleep 0.6
type_path "$W/puuttuu.vkl"
e2e_wait_pixel "$W/open_failed.png" 400 300 "255 255 255" 5
xdotool key Escape
sleep 0.5
xdotool mousemove 700 590
sleep 0.3
e2e_shot "$W/after_failed.png"
convert "$W/after_failed.png" -crop 546x546+16+16 +repage -alpha off "$W/board_after_failed.png"
diff=$(compare -metric AE "$W/board_painted.png" "$W/board_after_failed.png" null: 2>&1 || true)
[ "$diff" = "0" ] || fail "the board changed after a failed open ($diff pixels)"
rm -f "$W/lippu.vkl"
e2e_press editor:Tallenna
xdotool mousemove 780 590
sleep 0.6
xdotool key Return
for i in $(seq 1 50); do [ -f "$W/lippu.vkl" ] && break; sleep 0.1; done
sleep 0.3
cmp "$W/expected.vkl" "$W/lippu.vkl" || fail "saving after a failed open did not rewrite lippu.vkl"
[ ! -e "$W/puuttuu.vkl" ] || fail "the unreadable level's name was taken for saving"

# "Apua" shows the help panel over the editor; Esc closes it and the editor goes on.
e2e_press editor:Apua
e2e_wait_pixel "$W/help.png" 770 498 "255 255 182" 5
xdotool mousemove 790 590
sleep 0.3
e2e_shot "$W/help.png"
xdotool key Escape
e2e_wait_pixel "$W/after_help.png" 770 498 "0 0 0" 5
e2e_wait_pixel "$W/after_help.png" 600 260 "$GREY" 3
cell_is "$W/after_help.png" 2 5 "$W/ref_flag.bmp"

# "Lopeta" leaves the editor for the menu, and the menu's "Lopeta" ends the program.
e2e_press editor:Lopeta
e2e_wait_pixel "$W/menu2.png" 330 290 "$GREY" 5
e2e_press menu:Lopeta
e2e_wait_exit 10 >"$W/exit_status.txt"  # not $(...): only this shell can wait for the game
rc=$(cat "$W/exit_status.txt")
[ "$rc" = "0" ] || fail "the game ended with status $rc"
! grep -q "due to signal" "$W/stderr.txt" || fail "the game crashed"
echo "editor e2e: ok"
