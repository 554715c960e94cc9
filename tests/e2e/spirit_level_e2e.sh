#!/bin/bash
# The panel's spirit level shows the tilt: a relative mouse move takes the bubble off the vial's
# centre, a tap of Space levels the board and brings it back. The marble rests in a walled cell
# meanwhile, so the run goes on whatever the tilt.
# Every count of a fast hand reaches the board: 100 counts as 100 events at 1,000 a second (a
# gaming mouse's rate) and as 10 events of 10 at 100 a second put the bubble at one place, the
# place of 100 counts. The pointer stays inside the window while the run is played, and is free
# during a pause, whose motion does not tilt the board.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
e2e_start 142 "$1" "$2"
W=$E2E_WORK
PY=$E2E_PY

printf '%s\n' '**************' '*F...........*' '*............*' '*............*' '*............*' \
    '*....***.....*' '*....*A*.....*' '*....***.....*' '*............*' '*............*' \
    '*............*' '*............*' '*............*' '**************' noname 9999 >"$W/vaaka.vkl"
printf '[settings]\nlastgame = vaaka.vkl\n' >"$W/vinkla.cfg"

# The vial's centre is (727, 414); two pixels below a bubble's centre lies its light middle,
# elsewhere the glass.
light="246 250 222"
glass="190 214 104"

e2e_game
menu_skip_title
menu_wait 5
e2e_click 352 291
e2e_wait_marble "254 254" 5 >/dev/null || fail "the marble is not on its start (254, 254): $(e2e_marble)"
e2e_wait_pixel "$W/level.png" 727 416 "$light" 5
xdotool mousemove_relative -- 100 0
# 100 / 200 of the way to the rim, 27 pixels: the bubble 14 pixels right of the centre.
e2e_wait_pixel "$W/tilted.png" 741 416 "$light" 5
[ "$(e2e_pixel "$W/tilted.png" 727 416)" = "$glass" ] || fail "the bubble is still at the centre (see $W/tilted.png)"
xdotool key space
e2e_wait_pixel "$W/levelled.png" 727 416 "$light" 5
[ "$(e2e_pixel "$W/levelled.png" 741 416)" = "$glass" ] || fail "the bubble stayed right (see $W/levelled.png)"

(cd "$W" && dat -x data1.dat "$(dat -l data1.dat | grep -o '[A-Z0-9]*_BUBBLE_BMP')" -o bubble.bmp >/dev/null 2>&1) ||
    fail "cannot export the bubble"
vial=60x60+697+384
# bubble_at "DX DY" WHAT: waits until the bubble shows there, then until the spirit level stands
# still, and it must still be there: a bubble that passed the place on its way elsewhere fails.
bubble_at() {
    local end=$((SECONDS + 11)) got
    while :; do
        e2e_shot "$W/bubble.png"
        got=$($PY "$E2E_LIB/bubble_at.py" "$W/bubble.png" "$W/bubble.bmp")
        [ "$got" = "$1" ] && break
        [ "$SECONDS" -lt "$end" ] || fail "after $2 the bubble is at ($got), not at ($1) (see $W/bubble.png)"
        sleep 0.1
    done
    e2e_wait_still $vial 10
    cp "$W/still.png" "$W/bubble.png"
    got=$($PY "$E2E_LIB/bubble_at.py" "$W/bubble.png" "$W/bubble.bmp")
    [ "$got" = "$1" ] || fail "after $2 the bubble went on to ($got) from ($1) (see $W/bubble.png)"
}
flick() {
    timeout 60 $PY "$E2E_LIB/flick.py" "$@" || fail "the motion could not be sent"
}
# Tilt 100 of the limit's 200, sensitivity 1: the bubble 100 / 200 * 27 = 13.5 pixels right of the
# centre, drawn at 14; a count lost (99: 13.4) draws it at 13. Then 8 counts back: 92 draws it at
# 12.4, 12, where a count too many before (93: 12.6) draws it at 13.
bubble_at "0 0" "Space"
flick 100 1 0 1000
bubble_at "14 0" "100 counts as 100 events at 1,000 a second"
fast=$(e2e_crop "$W/bubble.png" $vial)
flick 8 -1 0 100
bubble_at "12 0" "100 counts as 100 events at 1,000 a second and 8 back"
xdotool key space
bubble_at "0 0" "Space"
flick 10 10 0 100
bubble_at "14 0" "100 counts as 10 events of 10 at 100 a second"
[ "$(e2e_crop "$W/bubble.png" $vial)" = "$fast" ] || fail "the spirit level differs from the one of the fast flick (see $W/bubble.png)"
flick 8 -1 0 100
bubble_at "12 0" "100 counts as 10 events of 10 at 100 a second and 8 back"

# A jump of 600 counts right, from wherever in the window the pointer is: it stays inside the
# 800-pixel window (the screen is 1024 wide), and the board tilts fully right.
pointer_x() {
    xdotool getmouselocation --shell | sed -n 's/^X=//p'
}
flick 1 600 0 1
bubble_at "27 0" "600 counts more"
[ "$(pointer_x)" -lt 800 ] || fail "the pointer left the window during the run: x $(pointer_x)"
# Paused, the pointer is free, and what it does is dropped: the board keeps its tilt.
xdotool key p
e2e_wait_change "$W/bubble.png" $vial 5
flick 1 600 0 1
[ "$(pointer_x)" -ge 800 ] || fail "the pointer is still held during the pause: x $(pointer_x)"
flick 1 -600 0 1
xdotool key p
bubble_at "27 0" "the pause"
xdotool key space
bubble_at "0 0" "Space after the pause"

xdotool key Escape
menu_wait 5
e2e_hand_back
menu_quit
echo "spirit level e2e: ok"
