#!/bin/bash
# The level select, played as a new player: "Avaa" shows the set as a page of small board
# pictures, the first three levels open and the fourth locked; a click on the locked one starts
# nothing, the third is played and won, and then the fourth is open and plays; chosen as a file
# with "Muu tiedosto..." it plays at once, named as its card. A folder of levels copied beside
# the sets shows as a set of its own after a restart, and "Seuraava" after the first set's last
# level plays its first. Pipes where runs are read (the won record's run, read as the records are
# proven at start, and a run beside a level of the copied folder, read as its page shows its
# medal and as it is played) keep nothing waiting: SIGTERM still ends the game.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
e2e_start "164 165 166 167" "$1" "$2"
W=$E2E_WORK

# One set of four levels, each won by tilting east onto the flag two cells from the start; a
# wall in row 12, in another column in each, gives each board a table of its own.
rm -rf "$W/sarjat" "$W/vinkla.cfg"
mkdir -p "$W/sarjat/1_koe"
for n in 1 2 3 4; do
    e2e_level '*A.F.........*' "*$(printf '%*s' $n '' | tr ' ' .)*$(printf '%*s' $((11 - n)) '' | tr ' ' .)*" \
        >"$W/sarjat/1_koe/0${n}_taso.vkl"
done
printf 'vinkla-sarja 1\nnimi Koesarja\nkentt\xc3\xa4 01_taso.vkl Yksi\nkentt\xc3\xa4 02_taso.vkl Kaksi\nkentt\xc3\xa4 03_taso.vkl Kolme\nkentt\xc3\xa4 04_taso.vkl Nelj\xc3\xa4\n' \
    >"$W/sarjat/1_koe/sarja.txt"

# Card I of the page (0 to 11): four to a row from (22, 62), 192 by 164 apart.
card_x() { echo $((22 + ($1 % 4) * 192)); }
card_y() { echo $((62 + ($1 / 4) * 164)); }
# The padlock's brass on card I.
locked() {
    e2e_shot "$W/select.png"
    [ "$(e2e_count "$W/select.png" "184x120+$(card_x $1)+$(card_y $1)" "200 170 90")" -gt 20 ]
}
open_card() { ! locked "$1"; }
page_turned() {
    e2e_shot "$W/select.png"
    [ "$(e2e_crop "$W/select.png" 300x30+250+15)" != "$(e2e_crop "$W/page1.png" 300x30+250+15)" ]
}
select_shown() { e2e_wait_pixel "$W/select.png" 30 30 "255 238 221" 5; }
tilt() {
    xdotool mousemove_relative -- "$1" "$2"
    sleep 0.05
    xdotool mousemove_relative -- "$1" "$2"
}

e2e_game
menu_skip_title
menu_wait 5
e2e_click 400 328
select_shown
# The boards are drawn small: the first card's picture holds the walls' and the flag's colours,
# not one flat colour.
[ "$(convert "$W/select.png" -crop 98x98+65+70 +repage -format '%k' info:)" -gt 20 ] ||
    fail "the first card shows no board (see $W/select.png)"
e2e_until 5 "the fourth level is not shown locked (see $W/select.png)" locked 3
for i in 0 1 2; do open_card $i || fail "level $((i + 1)) is locked (see $W/select.png)"; done

# A click on the locked fourth starts nothing: the select stays.
e2e_click $(($(card_x 3) + 90)) $(($(card_y 3) + 60))
sleep 0.5  # nothing to wait for: no run may start
e2e_is_pixel "$W/select.png" 30 30 "255 238 221" || fail "a locked level was started"

# The third, won: east onto its flag.
e2e_click $(($(card_x 2) + 90)) $(($(card_y 2) + 60))
e2e_wait_pixel "$W/panel.png" 566 20 "255 238 221" 5
tilt 30 0
e2e_wait_pixel "$W/win.png" 70 100 "255 238 221" 10
xdotool key Return
e2e_until 5 "the win was not stored" grep -q "	03_taso\|Kolme_" "$W/vinkla.rec"
e2e_named 10
e2e_click 406 429   # "Valikkoon"
menu_wait 5

# Now the fourth is open, and plays.
e2e_click 400 328
select_shown
e2e_until 5 "winning the third level did not open the fourth (see $W/select.png)" open_card 3
e2e_click $(($(card_x 3) + 90)) $(($(card_y 3) + 60))
e2e_wait_pixel "$W/panel4.png" 566 20 "255 238 221" 5
e2e_wait_still 205x20+576+44 5
cp "$W/still.png" "$W/panel4.png"
xdotool key Escape
menu_wait 5
e2e_hand_back

# The same level chosen as a file, by another path, with "Muu tiedosto...": it plays at once,
# named in the panel as its card is ("Neljä"), not by its file.
e2e_other_file
e2e_type_path "$W/sarjat/../sarjat/1_koe/04_taso.vkl"
e2e_wait_pixel "$W/panel_file.png" 566 20 "255 238 221" 5
e2e_wait_still 205x20+576+44 5
[ "$(e2e_crop "$W/still.png" 205x20+576+44)" = "$(e2e_crop "$W/panel4.png" 205x20+576+44)" ] ||
    fail "the set's level chosen as a file is not named as its card (see $W/still.png, $W/panel4.png)"
xdotool key Escape
menu_wait 5
e2e_hand_back
e2e_click 400 488
e2e_wait_exit 10 >"$W/exit_status.txt"

# A folder of two levels, no set file, copied beside the set: after a restart it is the next page.
mkdir -p "$W/sarjat/2_jaetut"
e2e_level '*A.F.........*' '*.......*....*' >"$W/sarjat/2_jaetut/a.vkl"
e2e_level '*A.F.........*' '*........*...*' >"$W/sarjat/2_jaetut/b.vkl"
mkfifo "$W/sarjat/2_jaetut/a.vkl.mouse.run"
kept=$(grep -o 'Kolme_[^	]*\.run' "$W/vinkla.rec") || fail "the won record names no run"
rm "$W/suoritukset/$kept"
mkfifo "$W/suoritukset/$kept"
# Pelaa's level the one whose record names the pipe: the menu's line proves its table at start.
grep -q '^lastgame *=' "$W/vinkla.cfg" || fail "the settings keep no level played"
sed -i 's|^lastgame *=.*|lastgame = sarjat/1_koe/03_taso.vkl|' "$W/vinkla.cfg"
e2e_game
menu_skip_title
menu_wait 5
e2e_click 400 328
select_shown
e2e_shot "$W/page1.png"
xdotool key Next
e2e_until 5 "Page Down shows no other page (see $W/select.png)" page_turned
e2e_shot "$W/page2.png"
[ "$(e2e_pixel "$W/page2.png" $(($(card_x 1) + 5)) $(($(card_y 1) + 5)))" = "255 238 221" ] ||
    fail "the copied folder's second level is not on the page (see $W/page2.png)"
[ "$(e2e_pixel "$W/page2.png" $(($(card_x 2) + 5)) $(($(card_y 2) + 5)))" = "0 0 0" ] ||
    fail "the copied folder's page holds more than its two levels (see $W/page2.png)"
for i in 0 1; do open_card $i || fail "a level of the copied folder is locked"; done
xdotool key Escape
menu_wait 5

# The first set's last level, won: "Seuraava" goes on to the next set's first level.
e2e_click 400 328
select_shown
e2e_click $(($(card_x 3) + 90)) $(($(card_y 3) + 60))
e2e_wait_pixel "$W/panel.png" 566 20 "255 238 221" 5
tilt 30 0
e2e_wait_pixel "$W/win.png" 70 100 "255 238 221" 10
xdotool key Return
e2e_named 10
e2e_click 140 429   # "Seuraava"
next_set() { [ "$(e2e_cells "$W/sarjat/2_jaetut/a.vkl" 1,3)" = ok ]; }
e2e_until 10 "Seuraava after the set's last level did not play the next set's first (see $W/cells.png)" next_set
xdotool key Escape
menu_wait 5
kill -TERM "$E2E_GAME_PID"
e2e_wait_exit 2 >"$W/exit_status.txt"
[ "$(cat "$W/exit_status.txt")" = 0 ] || fail "SIGTERM on the menu ended the game with $(cat "$W/exit_status.txt")"
! grep -q "due to signal" "$W/stderr.txt" || fail "the game crashed"
echo "select e2e: ok"
