#!/bin/bash
# A player whose folders carry Finnish letters: the game runs from ".../Työpöytä/päivi", opens
# kenttä.vkl through the real chooser (listed under its own name), which plays it, opens it in the
# editor, saves it in place (no second file beside it) and saves a new level in that folder;
# lastgame keeps its name byte for byte, so the next start plays the same level. A level saved
# as oma_kenttä.vkl keeps its ä, and the menu's line and the run's panel show it.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
e2e_start "64 65 66" "$1" "$2"
W=$E2E_WORK
# A Finnish keyboard, set before the game starts: ä has a key of its own. (xdotool otherwise
# maps a spare key to it for each letter typed, and the game may read the key before the map.)
setxkbmap -layout fi || fail "no Finnish keyboard layout"
dir="$W/Työpöytä/päivi"
mkdir -p "$dir"
cp "$W/data1.dat" "$W/standardfile.vkl" "$dir/"
(cd "$W" && dat -x data1.dat A14_FLAG_BMP -o ref_flag.bmp >/dev/null 2>&1) || fail "cannot export the flag picture"

# The start beside the only flag: a small tilt to the right wins the run.
row() { printf '*%s*\n' "$1"; }
{
    echo '**************'
    row 'AF..........'
    for i in $(seq 2 12); do row '............'; done
    echo '**************'
    echo noname
    echo 9999
} >"$dir/kenttä.vkl"

start_in_dir() {
    (cd "$dir" && exec "$E2E_EXE" >"$W/stdout.txt" 2>"$W/stderr.txt") &
    e2e_track_game $!
    timeout 20 xdotool search --sync --name '^vinkla 1.0$' >/dev/null 2>&1 || fail "no window"
    menu_skip_title
    e2e_wait_pixel "$W/menu.png" 330 290 "$GREY" 10
}

# choose_kentta [Y]: the open chooser (500 by 400, centred) lists ../, kenttä.vkl and
# standardfile.vkl (and, once a run was won, the folder of kept runs before them): pick the line
# of kenttä.vkl, at Y (214, the second), and accept.
choose_kentta() {
    e2e_wait_pixel "$W/chooser.png" 210 160 "255 255 255" 10
    e2e_point 780 590
    e2e_wait_still 800x600+0+0 10
    cp "$W/still.png" "$W/chooser.png"
    e2e_click 220 "${1:-214}"
    e2e_click 336 460                                  # OK
}

# play: "Pelaa" and wait for the board.
play() {
    e2e_click 400 288
    board_shown
}
board_shown() {
    e2e_wait_pixel "$W/run.png" 20 20 "$(e2e_pixel "$W/ref_wall.png" 20 20)" 5
}

GREY="170 170 170"
(cd "$W" && dat -x data1.dat A41_WALL_BMP -o ref_wall.bmp >/dev/null 2>&1 && convert ref_wall.bmp ref_wall.png) ||
    fail "cannot export the wall picture"

start_in_dir
e2e_other_file                                         # "Avaa", "Muu tiedosto..."
choose_kentta                                          # plays it at once
board_shown
# A tilt to the right: the won run, past its panel, hands back the menu. The pointer is put in
# the window first, a moment apart from the tilt: moves close together can be merged or lost.
xdotool mousemove 400 300 sleep 0.2 mousemove_relative -- 40 0
e2e_leave_win
e2e_wait_pixel "$W/menu.png" 330 290 "$GREY" 10

# The editor: "Avaa" the same level, a flag painted at row 3, column 3, "Tallenna" with the
# offered name.
e2e_click 400 368
e2e_wait_pixel "$W/editor.png" 600 364 "$GREY" 5
e2e_click 636 395
choose_kentta 230                 # below ../ and the folder the won run was kept in
e2e_wait_pixel "$W/editor.png" 600 364 "$GREY" 5
e2e_click 707 123                                      # the flag tool
e2e_click $((16 + 39 * 3 + 20)) $((16 + 39 * 3 + 20))
e2e_click 636 427                                      # "Tallenna"
e2e_wait_pixel "$W/selector.png" 210 160 "255 255 255" 10
xdotool key Return
saved_in_place() {
    grep -q '^\*\.\.F\.\.\.\.\.\.\.\.\.\*$' "$dir/kenttä.vkl"
}
e2e_until 10 "kenttä.vkl was not saved in place" saved_in_place
e2e_decline_basis
e2e_shot "$W/saved.png"
# Nothing but the files put there, the records of the won run (their lock, the folder its run is
# kept in), the settings with the level chosen, and the level saved over: no copy under a
# Latin-1 name.
listing=$(cd "$dir" && ls -A | grep -vxE 'vinkla\.rec(\.lock)?|vinkla\.cfg|suoritukset' | LC_ALL=C sort | tr '\n' ' ')
[ "$listing" = "data1.dat kenttä.vkl standardfile.vkl " ] || fail "the folder holds: $listing"

# A new level in the same folder: the offered path with its last ten letters replaced.
e2e_click 636 427
e2e_wait_pixel "$W/selector.png" 210 160 "255 255 255" 10
# 19 keys: the key buffer of 64 holds them all, in order.
xdotool key End
xdotool key --delay 15 --repeat 10 BackSpace
xdotool type --delay 30 'uusi.vkl'
xdotool key Return
e2e_until 10 "uusi.vkl was not saved beside kenttä.vkl" cmp -s "$dir/kenttä.vkl" "$dir/uusi.vkl"
e2e_decline_basis

# A name typed with a Finnish letter keeps it: the offered uusi.vkl becomes oma_kenttä.vkl.
e2e_click 636 427
e2e_wait_pixel "$W/selector.png" 210 160 "255 255 255" 10
xdotool key End
xdotool key --delay 15 --repeat 8 BackSpace
xdotool type --delay 30 'oma_kenttä.vkl'
xdotool key Return
e2e_until 10 "oma_kenttä.vkl was not saved (the folder holds: $(ls "$dir" | tr '\n' ' '))" \
    cmp -s "$dir/kenttä.vkl" "$dir/oma_kenttä.vkl"
[ ! -e "$dir/oma_kentt.vkl" ] || fail "the ä was dropped: oma_kentt.vkl was saved"
e2e_decline_basis

e2e_click 636 523                                      # the editor's "Lopeta"
e2e_wait_pixel "$W/menu.png" 330 290 "$GREY" 5
e2e_click 400 488                                      # "Lopeta"
e2e_wait_exit 10 >"$W/exit_status.txt"
[ "$(cat "$W/exit_status.txt")" = 0 ] || fail "exit status $(cat "$W/exit_status.txt")"
# A file of the game's folder is one of the player's own levels: kept under that set's name for
# it, byte for byte.
grep -qxF "lastgame = kenttä.vkl" "$dir/vinkla.cfg" ||
    fail "lastgame is not the chosen level: $(grep lastgame "$dir/vinkla.cfg")"

# The next start plays the saved level, straight from the configuration.
start_in_dir
play
flag_at_3_3() {
    e2e_shot "$W/run.png"
    convert "$W/run.png" -crop 39x39+117+117 +repage -alpha off "$W/crop.png"
    diff=$(compare -metric AE "$W/crop.png" -alpha off "$W/ref_flag.bmp" null: 2>&1 || true)
    [ "$diff" = 0 ]
}
e2e_until 10 "the second start did not play the saved kenttä.vkl (cell (3, 3) differs, see $W/run.png)" flag_at_3_3
xdotool key Escape
e2e_wait_pixel "$W/menu.png" 330 290 "$GREY" 5
e2e_click 400 488
e2e_wait_exit 10 >"$W/exit_status.txt"
[ "$(cat "$W/exit_status.txt")" = 0 ] || fail "exit status $(cat "$W/exit_status.txt") on the second start"

# The menu's line and the run's panel draw oma_kenttä with its ä: the very pixels drawn for a
# copy named with the Latin-1 byte E4, which the game always drew as ä (the UTF-8 name's two
# bytes C3 A4 would be two letters, "Ã¤").
latin1_name=$(printf 'oma_kentt\xe4.vkl')
cp "$dir/oma_kenttä.vkl" "$dir/$latin1_name"
name_pixels() { # LEVEL TAG: crops of the menu's line and of the panel's level name
    LC_ALL=C sed -i "s|^lastgame = .*|lastgame = $dir/$1|" "$dir/vinkla.cfg"
    start_in_dir
    e2e_point 780 590
    e2e_wait_still 600x20+100+522 10
    convert "$W/still.png" -crop 600x20+100+522 +repage "$W/line_$2.png"
    play
    e2e_wait_still 205x20+576+44 10
    convert "$W/still.png" -crop 205x20+576+44 +repage "$W/panel_$2.png"
    xdotool key Escape
    e2e_wait_pixel "$W/menu.png" 330 290 "$GREY" 5
    e2e_click 400 488
    e2e_wait_exit 10 >"$W/exit_status.txt"
    [ "$(cat "$W/exit_status.txt")" = 0 ] || fail "exit status $(cat "$W/exit_status.txt") playing $1"
}
name_pixels oma_kenttä.vkl utf8
name_pixels "$latin1_name" latin1
for part in line panel; do
    ae=$(compare -metric AE "$W/${part}_utf8.png" "$W/${part}_latin1.png" null: 2>&1 || true)
    [ "$ae" = 0 ] || fail "oma_kenttä is not drawn with its ä in the $part ($ae pixels differ, see $W/${part}_utf8.png)"
done
echo "finnish e2e: ok ($dir)"
