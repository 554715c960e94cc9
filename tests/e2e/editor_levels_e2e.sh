#!/bin/bash
# The shipped levels opened in the editor are drawn as the game draws them: the board of a run of
# each ("Kokeile", at the screen's corner, after the solver's box) and the editor's board (at 16,
# 16) agree pixel for pixel in every cell but the start, which shows the marble in the one and the
# start marker in the other: the last set, whose levels use every kind of tile, and the default
# level.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
e2e_start "85 86 87 88 89" "$1" "$2"
W=$E2E_WORK
HERE=$(dirname "$0")
PY=/usr/bin/python3
[ -x $PY ] || PY=python3

GREY="170 170 170"
LEVELS=$(cd "$W" && ls sarjat/3_*/*.vkl standardfile.vkl)
[ "$(echo "$LEVELS" | wc -l)" = 13 ] || fail "expected 13 levels, found: $LEVELS"

# wait_run SHOT: screenshots until a run shows its board (the editor's buttons gone, the run's
# panel drawn, the wall in the board's bottom-right corner there), after the solver's box.
wait_run() {
    local i
    for i in $(seq 1 100); do
        e2e_shot "$1"
        [ "$(e2e_pixel "$1" 600 364)" != "$GREY" ] && [ "$(e2e_pixel "$1" 566 20)" = "255 238 221" ] &&
            [ "$(e2e_pixel "$1" 545 545)" != "0 0 0" ] && return 0
        sleep 0.2
    done
    fail "no run on the screen (see $1)"
}

e2e_game
menu_skip_title
menu_wait 5
e2e_click 400 368                                  # "Editori"
e2e_wait_pixel "$W/editor.png" 600 364 "$GREY" 10
for level in $LEVELS; do
    e2e_click 636 395                              # "Avaa"
    e2e_type_path "$W/$level"
    # The pointer out of the way, the editor drawn and still.
    e2e_point 790 590
    e2e_wait_still 800x600+0+0 10
    shot=$(echo "$level" | tr / _)
    cp "$W/still.png" "$W/editor_$shot.png"
    # "Kokeile": a run of the level, with the board at the screen's corner.
    e2e_click 636 459
    wait_run "$W/run_$shot.png"
    e2e_wait_still 546x546+0+0 10
    cp "$W/still.png" "$W/run_$shot.png"
    xdotool key Escape
    e2e_wait_pixel "$W/editor.png" 600 364 "$GREY" 10
    got=$($PY "$HERE/same_board.py" "$W/run_$shot.png" "$W/editor_$shot.png" "$W/$level")
    [ "$got" = "ok" ] || fail "$level: the editor draws these cells otherwise than the game: $got"
done

e2e_click 636 523                                  # "Lopeta": nothing changed, no question
menu_wait 10
e2e_click 400 488
e2e_wait_exit 10 >"$W/exit_status.txt"
rc=$(cat "$W/exit_status.txt")
[ "$rc" = "0" ] || fail "the game ended with status $rc"
echo "editor levels e2e: ok"
