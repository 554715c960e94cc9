#!/bin/bash
# Ctrl+Z in the editor takes back one whole stroke: a drag across six cells of a row paints all
# six, the last one too when the button is let go right after the pointer reached it, and each
# Ctrl+Z brings back exactly the board before the newest stroke. A drag that rests on its last
# cell is taken back whole too, and the pointer resting there lets that cell be seen as it is.
# A flick that jumps over cells between two reads of the pointer paints the cells it crossed.
source "$(dirname "$0")/lib.sh"
e2e_start "138 139 140 141" "$1" "$2"
source "$(dirname "$0")/menu_lib.sh"
W=$E2E_WORK
HERE=$(dirname "$0")

# level ROW... : a level file of the new board with walls painted; each ROW is "R C1 C2".
level() {
    local out=$1
    shift
    $E2E_PY - "$out" "$@" <<'EOF'
import sys
rows = [list("*" * 14)] + [list("*AF..........*")] + [list("*............*") for _ in range(11)] + [list("*" * 14)]
for stroke in sys.argv[2:]:
    r, c1, c2 = (int(v) for v in stroke.split())
    for c in range(c1, c2 + 1):
        rows[r][c] = "*"
open(sys.argv[1], "w").write("".join("".join(r) + "\n" for r in rows) + "noname\n9999\n")
EOF
}


shot_settled() {
    e2e_point 790 590
    e2e_wait_still 800x600+0+0 10
    cp "$W/still.png" "$W/$1"
}

# drag ROW: presses on column 2 of the row, moves over columns 3 to 7 a little apart, and lets
# go as soon as the pointer is on column 7. The centre of a cell is 16 + 39 * index + 19.
drag() {
    local y=$((35 + 39 * $1)) c
    xdotool mousemove $((35 + 39 * 2)) "$y" sleep 0.15 mousedown 1 sleep 0.1
    for c in 3 4 5 6; do
        xdotool mousemove $((35 + 39 * c)) "$y" sleep 0.06
    done
    xdotool mousemove $((35 + 39 * 7)) "$y" mouseup 1
}

# rest_drag [undo]: as a hand drags: presses at (130, 320), in row 7 on column 2, moves right
# 10 pixels every 50 ms to (330, 320), on column 8, rests there 0.2 s and lets go; with "undo",
# Ctrl+Z 0.3 s later, the pointer still on that last cell.
rest_drag() {
    local x
    xdotool mousemove 130 320 sleep 0.15 mousedown 1 sleep 0.05
    for x in $(seq 140 10 330); do
        xdotool mousemove "$x" 320 sleep 0.05
    done
    xdotool sleep 0.2 mouseup 1
    [ -z "${1:-}" ] || xdotool sleep 0.3 key ctrl+z
}
# The stroke's first four cells, far from the pointer, show the blank board again.
first_cells_back() {
    e2e_shot "$W/now.png"
    [ "$(e2e_crop "$W/now.png" 156x39+94+289)" = "$(e2e_crop "$W/blank.png" 156x39+94+289)" ]
}

# through_pointer SHOT REF: SHOT's board is REF's but for a pointer resting on it, the tool's
# picture on every other pixel: what differs lies within one 39 by 39 square and on one of its
# two chequers, and the other shows the board.
through_pointer() {
    local got
    got=$($E2E_PY -c '
import sys, numpy as np
from PIL import Image
a, b = (np.asarray(Image.open(f).convert("RGB"))[16:562, 16:562].astype(int) for f in sys.argv[1:3])
ys, xs = np.nonzero((a != b).any(axis=2))
ok = len(xs) and np.ptp(xs) < 39 and np.ptp(ys) < 39 and len(set((xs + ys) % 2)) == 1
print("ok" if ok else "%d pixels differ" % len(xs))' "$1" "$2")
    [ "$got" = ok ] || fail "the board of $1 is not that of $2 through the pointer: $got"
}

# ctrl_z BEFORE: Ctrl+Z, then a settled screenshot once the board changed from BEFORE.
ctrl_z() {
    xdotool key ctrl+z
    e2e_wait_change "$W/$1" 546x546+16+16 10
    shot_settled "$2"
}

level "$W/blank.vkl"
level "$W/row10.vkl" "10 2 7"
level "$W/both.vkl" "10 2 7" "11 2 7"
level "$W/row7.vkl" "7 2 8"
level "$W/row4.vkl" "4 2 9"

e2e_game
menu_skip_title
menu_wait 10
e2e_press menu:Editori
e2e_wait_pixel "$W/editor.png" 600 364 "170 170 170" 5
e2e_press tool:3                                   # the wall
shot_settled blank.png
e2e_editor_board_is "$W/blank.png" "$W/blank.vkl"

# One stroke and its undo, three times over: the release falls at a different moment each time.
for n in 1 2 3; do
    drag 10
    shot_settled "row10_$n.png"
    e2e_editor_board_is "$W/row10_$n.png" "$W/row10.vkl"
    ctrl_z "row10_$n.png" "undone_$n.png"
    e2e_editor_board_is "$W/undone_$n.png" "$W/blank.vkl"
done

# Two strokes: the first Ctrl+Z takes back only the second, the next one the first.
drag 10
shot_settled one.png
e2e_editor_board_is "$W/one.png" "$W/row10.vkl"
drag 11
shot_settled two.png
e2e_editor_board_is "$W/two.png" "$W/both.vkl"
ctrl_z two.png back1.png
e2e_editor_board_is "$W/back1.png" "$W/row10.vkl"
ctrl_z back1.png back2.png
e2e_editor_board_is "$W/back2.png" "$W/blank.vkl"

# A drag that rests on its last cell before the release paints row 7 from column 2 to 8; one
# Ctrl+Z takes back all of it. With the pointer still on that last cell, the cell is seen
# through the pointer as it is: the tool's picture whole over it looked like a cell painted.
rest_drag
shot_settled rested.png
e2e_editor_board_is "$W/rested.png" "$W/row7.vkl"
ctrl_z rested.png rested_back.png
e2e_editor_board_is "$W/rested_back.png" "$W/blank.vkl"
rest_drag undo
e2e_until 10 "Ctrl+Z did not take the stroke back (see $W/now.png)" first_cells_back
e2e_wait_still 546x546+16+16 10
through_pointer "$W/still.png" "$W/blank.png"
shot_settled rested_here.png
e2e_editor_board_is "$W/rested_here.png" "$W/blank.vkl"

# A flick: the pointer jumps from column 2 to column 9 between two reads; every cell it
# crossed is painted, and one Ctrl+Z takes them all back.
xdotool mousemove $((35 + 39 * 2)) $((35 + 39 * 4)) sleep 0.15 mousedown 1 sleep 0.1 \
    mousemove $((35 + 39 * 9)) $((35 + 39 * 4)) sleep 0.1 mouseup 1
shot_settled flick.png
e2e_editor_board_is "$W/flick.png" "$W/row4.vkl"
ctrl_z flick.png flick_back.png
e2e_editor_board_is "$W/flick_back.png" "$W/blank.vkl"

# Nothing left to take back: the board stays.
xdotool key ctrl+z
shot_settled back3.png
e2e_editor_board_is "$W/back3.png" "$W/blank.vkl"
echo "undo e2e: ok"
