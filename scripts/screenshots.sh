#!/bin/bash
# Takes the README's pictures of the real game under Xvfb and writes them to docs/:
# menu, the level select, a run and its side panel tilted, the editor with a level opened, its
# help panel, the info screen and its page of tiles, and the settings.
#   scripts/screenshots.sh [BUILD_DIR]     (default: build)
# Needs Xvfb, xdotool and ImageMagick; uses a display of its own from :51 to :59.
root="$(cd "$(dirname "$0")/.." && pwd)"
build=${1:-$root/build}
exe="$(cd "$build" && pwd)/vinkla"
[ -x "$exe" ] || { echo "no executable $exe: build the game first" >&2; exit 1; }
source "$root/tests/e2e/lib.sh"
source "$root/tests/e2e/menu_lib.sh"

e2e_start "51 52 53 54 55 56 57 58 59" "$exe" "$root/data"
W=$E2E_WORK
docs="$root/docs"
mkdir -p "$docs"

# The run shows a level with every kind of tile.
run_level=$(ls "$W"/sarjat/3_*/*_mestarinayte.vkl 2>/dev/null | head -1)
run_level=${run_level#$W/}
[ -n "$run_level" ] || run_level=standardfile.vkl
printf '[settings]\nlastgame = %s\n' "$run_level" >"$W/vinkla.cfg"

GREY="170 170 170"
# keep NAME: the window's 800 by 600 pixels, with the pointer parked outside the window so the
# library's arrow is not drawn; it comes back inside after, where keys reach the game.
keep() {
    xdotool mousemove 1000 740
    e2e_wait_still 800x600+0+0 10
    cp "$W/still.png" "$W/whole.png"
    convert "$W/whole.png" -crop 800x600+0+0 +repage -strip PNG24:"$docs/$1.png"
    xdotool mousemove 790 590
    echo "docs/$1.png"
}

e2e_game
menu_skip_title
menu_wait 5
keep menu

# "Avaa": the level select on the set of the run's level; Esc back.
e2e_press menu:Avaa
e2e_wait_pixel "$W/s.png" 30 30 "255 238 221" 5
keep select
xdotool key Escape
menu_wait 5

# "Asetukset", left with "Ok".
e2e_click 400 408
e2e_wait_pixel "$W/s.png" 250 300 "255 238 221" 5
keep settings
e2e_press settings:Ok
menu_wait 5

# "Info", left with its "Ok".
e2e_press menu:Info
e2e_wait_pixel "$W/s.png" 690 540 "255 238 221" 5
keep info
# Its second page, the tiles and the keys; "Ok" there ends the screen.
e2e_click 560 575
e2e_wait_pixel "$W/s.png" 25 20 "255 238 221" 5
keep tiles
e2e_press info:Ok
menu_wait 5

# "Editori": the run's level opened through the file selector, then "Apua".
e2e_click 400 368
e2e_wait_pixel "$W/s.png" 600 364 "$GREY" 5
e2e_click 636 395
xdotool mousemove 780 590
e2e_type_path "$W/$run_level"
e2e_click 659 267                                  # the slope-right tool, marked as chosen
e2e_point 780 590
keep editor
e2e_click 636 491
e2e_wait_pixel "$W/s.png" 770 498 "255 255 182" 5
keep help
xdotool key Escape
e2e_wait_pixel "$W/s.png" 600 364 "$GREY" 5
e2e_click 636 523
menu_wait 5

# "Pelaa", clicked where the run holds the pointer, then a gentle tilt down the first corridor;
# the picture is kept while the marble rolls between the start and the hole below it.
# marble: the marble's centre "X Y" on a screenshot kept as whole.png, or "none".
marble() {
    e2e_marble "$W/whole.png"
}
e2e_press menu:Pelaa
for i in $(seq 1 20); do
    [ "$(marble)" != none ] && break
    sleep 0.25
done
xdotool mousemove_relative -- 0 15 sleep 0.06 mousemove_relative -- 0 15
at=none
for i in $(seq 1 40); do
    at=$(marble)
    if [ "$at" != none ] && [ "${at#* }" -ge 140 ]; then
        break
    fi
    sleep 0.1
done
[ "$at" != none ] && [ "${at#* }" -ge 140 ] && [ "${at#* }" -le 260 ] ||
    fail "the marble did not roll into the picture (last seen at $at)"
convert "$W/whole.png" -crop 800x600+0+0 +repage -strip PNG24:"$docs/run.png"
echo "docs/run.png (marble at $at)"
# The side panel with the board tilted further to the lower right: the spirit level's bubble
# leans there, and the first tile met (the walls) is named at the foot.
xdotool mousemove_relative -- 40 30 sleep 0.06 mousemove_relative -- 40 30
sleep 0.3
e2e_shot "$W/whole.png"
convert "$W/whole.png" -crop 254x600+546+0 +repage -strip PNG24:"$docs/tilt.png"
echo "docs/tilt.png"
xdotool key Escape
menu_wait 5
e2e_press menu:Lopeta
e2e_wait_exit 10 >/dev/null

# A won run: a small level with a table of four earlier runs, the fifth being named.
printf '%s\n' '**************' '*A.F.........*' >"$W/voitto.vkl"
for i in $(seq 1 11); do printf '%s\n' '*............*' >>"$W/voitto.vkl"; done
printf '%s\n' '**************' noname 9999 >>"$W/voitto.vkl"
key=$(/usr/bin/python3 -c '
import sys
rows = open(sys.argv[1]).read().split()[:14]
board = "".join("*" if i in (0, 13) or j in (0, 13) else rows[i][j] for i in range(14) for j in range(14))
h = 14695981039346656037
for c in board.encode("latin-1"):
    h = ((h ^ c) * 1099511628211) % 2**64
print("%016x" % h)' "$W/voitto.vkl")
printf 'nimi\tAino\n%s\t88\t2026-11-02\tVeikko\n%s\t142\t2026-11-14\tAino\n%s\t305\t2026-11-20\tLumi\n%s\t412\t2026-12-01\tOlli\n' \
    "$key" "$key" "$key" "$key" >"$W/vinkla.rec"
printf '[settings]\nlastgame = voitto.vkl\n' >"$W/vinkla.cfg"
e2e_game
menu_skip_title
menu_wait 5
e2e_click 400 288
e2e_wait_marble "59 59" 10 >/dev/null || fail "the marble is not on the start (59, 59)"
# Two moves a moment apart: moves close together can be merged or lost.
xdotool mousemove_relative -- 25 0 sleep 0.06 mousemove_relative -- 25 0
e2e_wait_pixel "$W/s.png" 70 100 "255 238 221" 10
keep win
xdotool key Return
e2e_until 10 "the won run is not in the records" grep -q "$(date +%Y-%m-%d)	Aino" "$W/vinkla.rec"
e2e_click 406 429
menu_wait 5
e2e_click 400 488
e2e_wait_exit 10 >/dev/null
