#!/bin/bash
# Every movement of the player's hand arrives as tilt. The marble starts in a cell walled in on
# all sides, where it can only rest against one of the faces 3 pixels from the centre; which
# one shows the sign of the tilt on each axis. Phases of random relative moves (up to 40 pixels,
# as fast as the library's own re-centring of the pointer lets them all count: see hand.py),
# each with a run of 800 pixels out to one side and back (past the screen's edge unless the
# pointer is kept away from it), leave the tilt at exactly (+-2, +-2): a move lost or corrupted
# anywhere shifts every later sum, and some later phase then rests the marble on the wrong side.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
e2e_start 92 "$1" "$2"
W=$E2E_WORK
PY=$E2E_PY

printf '%s\n' '**************' '*F...........*' '*............*' '*............*' '*............*' \
    '*....***.....*' '*....*A*.....*' '*....***.....*' '*............*' '*............*' \
    '*............*' '*............*' '*............*' '**************' noname 9999 >"$W/tilt.vkl"
printf '[settings]\nlastgame = tilt.vkl\n' >"$W/vinkla.cfg"

e2e_game
menu_skip_title
menu_wait 5
# "Pelaa", off its centre: where the run begins does not matter.
e2e_click 352 291
e2e_wait_marble "254 254" 5 >/dev/null || fail "the marble is not on its start (254, 254): $(e2e_marble)"

rm -f "$W/hand.txt"
seed=${TILT_SEED:-$RANDOM}
sum_x=0
sum_y=0
phase=0
for target in "2 2" "-2 2" "-2 -2" "2 -2" "2 2" "-2 -2"; do
    phase=$((phase + 1))
    read -r tx ty <<<"$target"
    # The moves of this phase.
    moves=$($PY - "$seed" "$phase" $((tx - sum_x)) $((ty - sum_y)) <<'EOF'
import random, sys
seed, phase, dx, dy = (int(a) for a in sys.argv[1:])
rng = random.Random(seed * 100 + phase)
moves = [(rng.randint(-40, 40), rng.randint(-40, 40)) for _ in range(24)]
# What is left to the phase's sum, in steps of at most 40 pixels.
rx, ry = dx - sum(m[0] for m in moves), dy - sum(m[1] for m in moves)
while rx or ry:
    sx, sy = max(-40, min(40, rx)), max(-40, min(40, ry))
    moves.append((sx, sy))
    rx, ry = rx - sx, ry - sy
step = rng.choice([(40, 0), (-40, 0), (0, 40), (0, -40)])
at = rng.randint(0, len(moves))
moves[at:at] = [step] * 20 + [(-step[0], -step[1])] * 20
print(" ".join("%d,%d" % m for m in moves if m != (0, 0)))
EOF
    )
    # shellcheck disable=SC2086
    timeout 120 $PY "$E2E_LIB/hand.py" "$W/hand.txt" $moves || fail "phase $phase (seed $seed): the moves could not be made"
    sum_x=$tx
    sum_y=$ty
    want="$((254 + 3 * (tx > 0 ? 1 : -1))) $((254 + 3 * (ty > 0 ? 1 : -1)))"
    got=$(e2e_wait_marble "$want" 6) || fail "phase $phase (seed $seed): tilt ($tx, $ty) should rest the marble at ($want), it is at ($got)"
done

xdotool key Escape
menu_wait 5
e2e_hand_back
menu_quit
echo "tilt e2e: ok ($phase phases, seed $seed)"
