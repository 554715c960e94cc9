#!/bin/bash
# A marble rolled into a tube goes under the tube's picture, showing only faintly through its
# roof, and comes out at the other end: a straight west-east tube of five cells on the start's
# row, the board tilted east.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
e2e_start 91 "$1" "$2"
W=$E2E_WORK
HERE=$(dirname "$0")
PY=$E2E_PY
(cd "$W" && dat -x data1.dat A00_MARBLE_BMP -o marble.bmp >/dev/null 2>&1) || fail "cannot export the marble"

# Tubes at row 6, columns 4 to 8 (x 156 to 350); the flag is walled in, the run goes on.
printf '%s\n' '**************' '*............*' '*............*' '*............*' '*............*' \
    '*............*' '*A..-----....*' '*............*' '*............*' '*............*' \
    '*............*' '*..........***' '*..........*F*' '**************' noname 9999 >"$W/tube.vkl"
printf '[settings]\nlastgame = tube.vkl\n' >"$W/vinkla.cfg"

e2e_game
menu_skip_title
menu_wait 5
e2e_press menu:Pelaa
for i in $(seq 1 20); do
    e2e_shot "$W/start.png"
    at=$($PY "$HERE/marble_at.py" "$W/start.png" "$W/marble.bmp")
    [ "$at" = "59 254" ] && break
    sleep 0.25
done
[ "$at" = "59 254" ] || fail "the marble is not on the start (59, 254) but at '$at'"
got=$($PY "$HERE/board_cells.py" "$W/start.png" "$W/tube.vkl" "$W/data1.dat" 6,4 6,5 6,6 6,7 6,8 5,6 7,6)
[ "$got" = "ok" ] || fail "the tube is not drawn: $got"

# A gentle tilt east, then screenshots as fast as they come for eight seconds.
xdotool mousemove_relative -- 25 0
shots=""
end=$((SECONDS + 8))
n=0
while [ $SECONDS -lt $end ]; do
    n=$((n + 1))
    e2e_shot "$W/shot$n.png"
    shots="$shots:$W/shot$n.png"
done
shots=${shots#:}
mapfile -t at < <($PY "$HERE/marble_at.py" "$shots" "$W/marble.bmp")
# The tube's five cells and the floor at both of its ends: drawn as without a marble, or not.
mapfile -t clean < <($PY "$HERE/board_cells.py" "$shots" "$W/tube.vkl" "$W/data1.dat" 6,3 6,4 6,5 6,6 6,7 6,8 6,9)

stage=before
trace=""
for i in $(seq 0 $((n - 1))); do
    trace="$trace [${at[$i]}|${clean[$i]}]"
    case $stage in
    before)
        # Under the roof: the marble itself nowhere, yet something of it shows in the tube.
        [ "${at[$i]}" = none ] && [ "${clean[$i]}" != ok ] && stage=hidden
        if [ "${at[$i]}" != none ]; then
            [ "${at[$i]#* }" = 254 ] || fail "the marble left its row before the tube:$trace"
            [ "${at[$i]% *}" -lt 176 ] || fail "the marble showed inside the tube:$trace"
        fi
        ;;
    hidden)
        if [ "${at[$i]}" != none ]; then
            [ "${at[$i]% *}" -gt 330 ] || fail "the marble showed again inside the tube:$trace"
            [ "${at[$i]#* }" = 254 ] || fail "the marble came out off its row:$trace"
            stage=out
        fi
        ;;
    esac
done
echo "tube: $n screenshots, stage $stage"
[ "$stage" = out ] || fail "never seen through the tube's roof and out at its east end ($stage):$trace"

xdotool key Escape
menu_wait 5
e2e_hand_back
menu_quit
echo "tube e2e: ok"
