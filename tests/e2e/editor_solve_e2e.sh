#!/bin/bash
# The solver for the level maker: "Kokeile" on a shipped level of the last set shows the
# solver's box with its bar growing, then the try; back in the editor the status line says the
# board was won and in what time. A save asks whether the solver's run is kept as the level's
# medal basis; after "Kyllä" the editor shows no trace of the solver's box.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
e2e_start "180 181 182 183" "$1" "$2"
W=$E2E_WORK
GREY="170 170 170"
CREAM="255 238 221"
# The big maze: a shipped level the solver takes a while on, so its bar is seen under way.
LEVEL=$(ls "$W"/sarjat/3_*/*_suuri_sokkelo.vkl | head -1)
[ -f "$LEVEL" ] || fail "no big maze in the third set"
# The status line under the board, as a checksum.
status() {
    e2e_shot "$W/status.png"
    e2e_crop "$W/status.png" 560x22+0+572
}
status_is_not() { [ "$(status)" != "$1" ]; }
# The bar's green in the solver's box.
bar_grows() {
    e2e_shot "$W/box.png"
    [ "$(e2e_pixel "$W/box.png" 240 290)" = "150 178 72" ]
}

menu_editor_opens "$LEVEL"
e2e_wait_still 800x600+0+0 5
before=$(status)
e2e_press editor:Kokeile
# The box, and its bar under way; the try follows within the solver's budget.
e2e_wait_pixel "$W/box.png" 210 240 "$CREAM" 5
e2e_until 5 "the solver's bar does not grow (see $W/box.png)" bar_grows
e2e_wait_pixel "$W/try.png" 566 20 "$CREAM" 10  # the run's panel
xdotool key Escape
e2e_wait_pixel "$W/back.png" 600 364 "$GREY" 5
e2e_until 5 "the status line says nothing of the solver (see $W/status.png)" status_is_not "$before"
# The words are the solver's: the line now longer than the file's name alone.
[ "$(convert "$W/status.png" -crop 560x22+0+572 +repage -fill black +opaque 'rgb(230,230,230)' -fill white \
    -opaque 'rgb(230,230,230)' -trim -format '%w' info: 2>/dev/null)" -gt 250 ] ||
    fail "the status line is too short for the solver's verdict (see $W/status.png)"

# Saved under a new name, the board the solver wins is asked about as a medal basis: "Kyllä"
# keeps the solver's run beside the level. The box under the question, wider than the board,
# leaves nothing behind: the gap between the board and the palette's frames (x 562 to 587) is
# the editor's black again, its whole height.
e2e_press editor:Tallenna
e2e_type_path "$W/oma.vkl"
e2e_until 20 "no question from the solver (see $W/basis.png)" e2e_is_pixel "$W/basis.png" 410 322 "255 255 255"
e2e_click 368 331                           # "Kyllä", left of the centre of its line of buttons
e2e_until 10 "Kyllä kept no run beside the level" test -s "$W/oma.vkl.mouse.run"
e2e_point 780 590
e2e_wait_still 800x600+0+0 10
[ "$(convert "$W/still.png" -crop 26x546+562+16 +repage -fill white +opaque black \
    -format '%[fx:int(mean*w*h+0.5)]' info:)" = 0 ] ||
    fail "the solver's box left a strip between the board and the palette (see $W/still.png)"
e2e_press editor:Lopeta
menu_wait
menu_quit
echo "editor solve e2e: ok"
