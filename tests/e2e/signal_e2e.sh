#!/bin/bash
# The session ends under the game: SIGTERM, SIGINT and SIGHUP on the menu, in the editor and in a
# run, SIGTERM while the X server is stopped, and the X server killed. Each ends with exit 0
# within 2 s and nothing is lost: a volume set in Asetukset is in vinkla.cfg, and a board
# painted but not saved is kept and offered back by the editor at its next start.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
e2e_start "114 115 116 117" "$1" "$2"
W=$E2E_WORK
GREY="170 170 170"
WHITE="255 255 255"

# ends_after SIGNAL WHAT: the signal to the game, which must be gone with exit 0 within 2 s.
ends_after() {
    kill "-$1" "$E2E_GAME_PID"
    e2e_wait_exit 2 >"$W/exit_status.txt"
    [ "$(cat "$W/exit_status.txt")" = 0 ] || fail "exit status $(cat "$W/exit_status.txt") after SIG$1 $2"
    ! grep -q "due to signal\|Aborted" "$W/stderr.txt" || fail "SIG$1 $2: $(cat "$W/stderr.txt")"
}

# Waits until the run shows its marble.
wait_run() {
    local i
    for i in $(seq 1 25); do
        [ "$(e2e_marble)" != none ] && return 0
        sleep 0.2
    done
    fail "no marble on the board"
}

to_menu() {
    e2e_game
    menu_skip_title
    menu_wait
}

# wall_at_3_5 SHOT: the board (at 16, 16; cells of 39) shows a wall on row 3, column 5: the
# cell's middle as in the outer wall above it.
CX=$((16 + 39 * 5 + 19)) CY=$((16 + 39 * 3 + 19))
wall_at_3_5() {
    [ "$(e2e_pixel "$1" $CX $CY)" = "$(e2e_pixel "$1" $CX 35)" ]
}

# wait_wall SHOT: screenshots until the wall shows there.
wait_wall() {
    local i
    for i in $(seq 1 25); do
        e2e_shot "$1"
        wall_at_3_5 "$1" && return 0
        sleep 0.2
    done
    fail "no wall on row 3, column 5 (see $1)"
}

# The editor with the wall tool painted on row 3, column 5.
paint_in_editor() {
    e2e_press menu:Editori
    e2e_wait_pixel "$W/editor.png" 600 364 "$GREY" 5
    e2e_press tool:3
    e2e_click $CX $CY
    wait_wall "$W/painted.png"
}

# 1. A volume set in Asetukset, then SIGTERM on the menu.
to_menu
e2e_press menu:Asetukset
e2e_wait_pixel "$W/settings.png" 250 300 "255 238 221" 5
e2e_focus_slider 248
for i in 1 2 3; do
    xdotool key Right
    sleep 0.3
done
e2e_press settings:Ok
menu_wait
ends_after TERM "on the menu"
grep -q '^sound = 187$' "$W/vinkla.cfg" || fail "sound not 187: $(cat "$W/vinkla.cfg")"
! grep -q '^music' "$W/vinkla.cfg" || fail "music written though unchanged: $(cat "$W/vinkla.cfg")"

# 2. A board painted but not saved, then SIGTERM in the editor: kept, nothing asked.
to_menu
paint_in_editor
ends_after TERM "in the editor"
[ -f "$W/vinkla.palautus" ] || fail "no recovery file after SIGTERM in the editor"
[ "$(sed -n 4p "$W/vinkla.palautus")" = '*....*.......*' ] ||
    fail "the recovery file's row 3 is $(sed -n 4p "$W/vinkla.palautus")"
! grep -q '# tiedosto' "$W/vinkla.palautus" || fail "a new board named a file: $(cat "$W/vinkla.palautus")"

# 3. The editor offers the board back; P restores it, unsaved. SIGINT keeps it again.
to_menu
e2e_press menu:Editori
e2e_wait_pixel "$W/offer.png" 400 300 "$WHITE" 5
xdotool key p
e2e_wait_pixel "$W/editor.png" 600 364 "$GREY" 5
xdotool mousemove 790 590
wait_wall "$W/restored.png"
[ ! -e "$W/vinkla.palautus" ] || fail "the recovery file stays after it was restored"
ends_after INT "in the restored editor"
[ -f "$W/vinkla.palautus" ] || fail "no recovery file after SIGINT"

# 4. SIGHUP in a run.
to_menu
e2e_press menu:Pelaa
wait_run
ends_after HUP "in a run"

# 5. SIGTERM while the X server is stopped, in a run; the server goes on half a second later.
to_menu
e2e_press menu:Pelaa
wait_run
XPID=${E2E_PIDS[0]}
kill -STOP "$XPID"
kill -TERM "$E2E_GAME_PID"
sleep 0.5                       # the stopped server, as a stalled one would be
kill -CONT "$XPID"
e2e_wait_exit 2 >"$W/exit_status.txt"
[ "$(cat "$W/exit_status.txt")" = 0 ] || fail "exit status $(cat "$W/exit_status.txt") with the X server stopped"

# 6. The X server killed, as a logout does, with an unsaved board in the editor: kept, exit 0.
rm -f "$W"/vinkla.palautus*
to_menu
e2e_press menu:Editori
e2e_wait_pixel "$W/editor.png" 600 364 "$GREY" 5
e2e_press tool:3
e2e_click $CX $CY
wait_wall "$W/painted.png"
kill -TERM "$XPID"
e2e_wait_exit 3 >"$W/exit_status.txt"
[ "$(cat "$W/exit_status.txt")" = 0 ] || fail "exit status $(cat "$W/exit_status.txt") when the X server went"
[ -f "$W/vinkla.palautus" ] || fail "no recovery file after the X server went: $(cat "$W/stderr.txt")"
echo "signal e2e: ok"
