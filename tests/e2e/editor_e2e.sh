#!/bin/bash
# The level editor as a level maker uses it: open a shipped level with slopes and a shutter and
# see them drawn, paint with a slope tool at a cell's bottom-right corner, take it back with
# Ctrl+Z, try the level, save it under a new name typed without ".vkl", be asked before an
# existing file is overwritten and before unsaved changes are thrown away.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
e2e_start "80 81 82 83 84" "$1" "$2"
W=$E2E_WORK
HERE=$(dirname "$0")
PY=/usr/bin/python3
[ -x $PY ] || PY=python3


# status_has SHOT "R G B": the line under the board holds text of that colour.
status_has() {
    local n
    n=$(convert "$1" -crop 546x22+16+572 +repage -alpha off -fill black +opaque "rgb(${2// /,})" \
        -format '%[fx:int(mean*w*h*3+0.5)]' info:)
    [ "$n" -gt 0 ] || fail "the status line of $1 shows no text in colour $2"
}

# shot_settled NAME: the pointer out of the way (the game has taken every earlier input once it
# draws the arrow there) and the screen still, then a screenshot.
shot_settled() {
    e2e_point 790 590
    e2e_wait_still 800x600+0+0 10
    cp "$W/still.png" "$W/$1"
}

# wait_alert SHOT: an alert box in the middle of the screen, no file selector round it.
wait_alert() {
    local i
    for i in $(seq 1 50); do
        e2e_shot "$1"
        [ "$(e2e_pixel "$1" 300 300)" = "$WHITE" ] && [ "$(e2e_pixel "$1" 210 160)" != "$WHITE" ] && return 0
        sleep 0.2
    done
    fail "no alert on the screen (see $1)"
}

GREY="170 170 170"
WHITE="255 255 255"
YELLOW="255 214 64"     # unsaved or new
PALE="230 230 230"      # saved, unchanged
GREEN="120 230 120"     # just saved
ORIGINAL="$2/sarjat/2_taidot/09_sokkelo.vkl"
e2e_game
menu_skip_title
e2e_wait_pixel "$W/menu.png" 330 290 "$GREY" 10
e2e_click 400 368                                  # "Editori"
e2e_wait_pixel "$W/editor.png" 600 364 "$GREY" 5   # "Uusi" is drawn
shot_settled editor.png
status_has "$W/editor.png" "$YELLOW"               # a new board, not saved

# "Avaa": the level's slopes (row 6, row 8 and 9) and its shutter (row 4) are drawn.
e2e_click 636 395
e2e_type_path "$W/sarjat/2_taidot/09_sokkelo.vkl"
shot_settled opened.png
e2e_editor_board_is "$W/opened.png" "$ORIGINAL"
status_has "$W/opened.png" "$PALE"

# The slope-right tool, then a click two pixels inside the bottom-right corner of the cell shown
# in row 7, column 3 (x 133 to 171, y 289 to 327); counted from the screen's corner it would be
# row 8, column 4.
sed '8s/^\*\.C\./*.Ce/' "$ORIGINAL" >"$W/expected.vkl"
cmp -s "$ORIGINAL" "$W/expected.vkl" && fail "the expected level did not change"
e2e_click 659 267
e2e_click 170 326
shot_settled painted.png
e2e_editor_board_is "$W/painted.png" "$W/expected.vkl"
status_has "$W/painted.png" "$YELLOW"

# Ctrl+Z takes it back: the board and the status line are as opened.
xdotool key ctrl+z
e2e_wait_change "$W/painted.png" 546x546+16+16 10
shot_settled undone.png
e2e_editor_board_is "$W/undone.png" "$ORIGINAL"
status_has "$W/undone.png" "$PALE"

# "Kokeile" plays the board as it stands; Esc comes back to it unchanged and still unsaved.
e2e_click 170 326
shot_settled before_try.png
e2e_click 636 459
# The run: the editor's buttons gone, the board at the screen's corner, the marble at rest.
e2e_until 10 "no run on the screen" e2e_gone_pixel "$W/try.png" 600 364 "$GREY"
e2e_until 10 "no board at the screen's corner" e2e_gone_pixel "$W/try.png" 545 545 "0 0 0"
e2e_wait_still 546x546+0+0 10
cp "$W/still.png" "$W/try.png"
ALL_BUT_START=""                 # the run shows the start under the marble
for i in $(seq 0 13); do
    for j in $(seq 0 13); do
        [ "$i,$j" = "1,1" ] || ALL_BUT_START="$ALL_BUT_START $i,$j"
    done
done
# shellcheck disable=SC2086
got=$($PY "$HERE/board_cells.py" "$W/try.png" "$W/expected.vkl" "$W/data1.dat" $ALL_BUT_START)
[ "$got" = "ok" ] || fail "the run does not play the painted board: $got"
xdotool key Escape
e2e_wait_pixel "$W/back.png" 600 364 "$GREY" 5
shot_settled back.png
# Above the status line, which now says what the solver found before the try.
convert "$W/before_try.png" -crop 800x568+0+0 +repage -alpha off "$W/a.png"
convert "$W/back.png" -crop 800x568+0+0 +repage -alpha off "$W/b.png"
diff=$(compare -metric AE "$W/a.png" "$W/b.png" null: 2>&1 || true)
[ "$diff" = "0" ] || fail "the editor differs in $diff pixels after the try"
cmp -s "$ORIGINAL" "$W/sarjat/2_taidot/09_sokkelo.vkl" || fail "trying the level wrote its file"

# "Tallenna" under a new name typed without ".vkl".
e2e_click 636 427
e2e_type_path "$W/oma"
# The game writes a file whole under another name and renames it.
e2e_until 5 "oma.vkl was not written" test -f "$W/oma.vkl"
cmp "$W/expected.vkl" "$W/oma.vkl" || fail "oma.vkl holds other bytes than the painted board"
[ ! -e "$W/oma" ] || fail "a file without the extension was written"
cmp -s "$ORIGINAL" "$W/sarjat/2_taidot/09_sokkelo.vkl" || fail "saving under a new name changed the opened level"
# The solver then tries the saved board and offers its run as the medal basis: "Ei" (Esc).
wait_alert "$W/basis.png"
xdotool key Escape
e2e_until 10 "the solver's question stays after Esc" e2e_gone_pixel "$W/basis.png" 300 300 "$WHITE"
[ ! -e "$W/oma.vkl.mouse.run" ] || fail "the solver's run was kept after an Ei"
shot_settled saved.png
status_has "$W/saved.png" "$GREEN"

# Saving onto another existing level asks first; "Ei" (Esc) leaves it as it was.
e2e_click 74 113                                   # the slope on row 2, column 1
e2e_click 636 427
e2e_type_path "$W/standardfile"
wait_alert "$W/overwrite.png"
xdotool key Escape
e2e_wait_pixel "$W/answered.png" 300 300 "$(e2e_pixel "$W/saved.png" 300 300)" 10
cmp "$2/standardfile.vkl" "$W/standardfile.vkl" || fail "standardfile.vkl was overwritten"
# Its own file is written again without a question.
e2e_click 636 427
e2e_wait_pixel "$W/selector.png" 210 160 "$WHITE" 10
xdotool key Return
sed '3s/^\*\./*e/' "$W/expected.vkl" >"$W/expected2.vkl"
e2e_until 10 "saving onto its own file again did not write it" cmp -s "$W/expected2.vkl" "$W/oma.vkl"
wait_alert "$W/basis2.png"
xdotool key Escape
e2e_until 10 "the solver's second question stays after Esc" e2e_gone_pixel "$W/basis2.png" 300 300 "$WHITE"

# Leaving with unsaved changes asks: "Peruuta" (Esc) stays in the editor, "Ei" leaves.
e2e_click 74 152                                   # row 3, column 1
e2e_click 636 523                                  # "Lopeta"
wait_alert "$W/ask.png"
xdotool key Escape
e2e_until 10 "the question stays after Esc" e2e_gone_pixel "$W/stayed.png" 300 300 "$WHITE"
shot_settled stayed.png
[ "$(e2e_pixel "$W/stayed.png" 600 364)" = "$GREY" ] || fail "Peruuta left the editor"
status_has "$W/stayed.png" "$YELLOW"
e2e_click 636 523
wait_alert "$W/ask2.png"
e2e_click 399 331                                  # "Ei"
e2e_wait_pixel "$W/menu2.png" 330 290 "$GREY" 5
cmp "$W/expected2.vkl" "$W/oma.vkl" || fail "leaving without saving changed oma.vkl"

# "Lopeta" in the menu ends the program.
e2e_click 400 488
e2e_wait_exit 10 >"$W/exit_status.txt"  # not $(...): only this shell can wait for the game
rc=$(cat "$W/exit_status.txt")
[ "$rc" = "0" ] || fail "the game ended with status $rc"
! grep -q "due to signal" "$W/stderr.txt" || fail "the game crashed"
echo "editor e2e: ok"
