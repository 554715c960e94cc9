#!/bin/bash
# The name in the win panel, typed as a player types it. Left is held through the last flag,
# its auto-repeat running by then and on over the panel, and Space is tapped to level the board
# up to the moment the flag is taken: none of it reaches the name, which stays as offered, and
# the first letter typed replaces it. Tab and a pointer moved over a button leave the
# keys in the name; a letter beyond Latin-1 is written as its base letter, the euro sign as E,
# and a letter with no Latin-1 form is refused with a note under the table.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
e2e_start "120 121 122 123" "$1" "$2"
W=$E2E_WORK
e2e_level '*F..........A*' >"$W/lansi.vkl"
printf '[settings]\nlastgame = lansi.vkl\n' >"$W/vinkla.cfg"
printf 'nimi\tVanha\n' >"$W/vinkla.rec"

# Pixels of the refusal's red in the line under the table.
refusal_ink() {
    e2e_shot "$W/note.png"
    convert "$W/note.png" -crop 402x20+72+362 +repage -fill black +opaque 'rgb(180,30,20)' \
        -fill white -opaque 'rgb(180,30,20)' -format '%[fx:int(mean*w*h+0.5)]' info:
}
# A checksum of the name field, in the table's first row.
field() {
    e2e_shot "$W/field.png"
    convert "$W/field.png" -crop 180x18+119+213 +repage -format '%#' info:
}
# type_until CHECK TEXT: types TEXT until CHECK (a command) succeeds. xdotool types a letter
# missing from the keyboard map by binding it to a spare key for a moment, and on a loaded
# machine the library may read the key after the binding is undone, losing the letter: it is
# typed once more then.
type_until() {
    local try i
    for try in 1 2; do
        xdotool type --delay 60 "$2"
        for i in $(seq 1 15); do
            $1 && return 0
            sleep 0.2
        done
    done
    fail "typed '$2', and the panel did not take it (see $W/field.png, $W/note.png)"
}
field_changed() { [ "$(field)" != "$before" ]; }
refused() { [ "$(refusal_ink)" -gt 50 ]; }

e2e_game
menu_skip_title
menu_wait
e2e_click 400 288
e2e_wait_pixel "$W/panel.png" 566 20 "255 238 221" 5
xdotool keydown Left
e2e_tap_to_win space
e2e_wait_pixel "$W/win.png" 70 100 "255 238 221" 10
sleep 0.7  # the player still holds the key over the panel
xdotool keyup Left
# The offered name stands in its field: inside it (170 by 14 pixels) its letters' ink covers
# more than 100 of the field's pixels, where a space would leave only the cursor's (two
# columns).
e2e_shot "$W/offered.png"
[ "$(e2e_count "$W/offered.png" 170x14+128+215 "255 252 246")" -le 2280 ] ||
    fail "Space tapped as the last flag was taken replaced the offered name (see $W/offered.png)"

xdotool type --delay 60 'Uusi'
xdotool key Tab
xdotool mousemove 140 429  # over Seuraava
before=$(field)
type_until field_changed ' '
before=$(field)
type_until field_changed 'Š'
xdotool type --delay 60 'ekki'
[ "$(refusal_ink)" = 0 ] || fail "the refusal shows before anything was refused"
type_until refused 'я'
before=$(field)
type_until field_changed '€'
xdotool key Return
for i in $(seq 1 25); do
    grep -q '^nimi	' "$W/vinkla.rec" && ! grep -q '^nimi	Vanha$' "$W/vinkla.rec" && break
    sleep 0.2
done
e2e_named 10
grep -q '^nimi	Uusi SekkiE$' "$W/vinkla.rec" || fail "the name is not 'Uusi SekkiE': $(cat -A "$W/vinkla.rec")"
grep -qE "^[0-9a-f]{16}	[0-9]+	$(date +%Y-%m-%d)	Uusi SekkiE	[^	]+\.run$" "$W/vinkla.rec" ||
    fail "the records file lacks the run: $(cat -A "$W/vinkla.rec")"

# Valikkoon, then Lopeta.
e2e_click 406 429
menu_wait 5
e2e_click 400 488
e2e_wait_exit 10 >"$W/exit_status.txt"
[ "$(cat "$W/exit_status.txt")" = 0 ] || fail "exit status $(cat "$W/exit_status.txt")"
echo "win name e2e: ok"
