#!/bin/bash
# The session ends under the game: SIGTERM, SIGINT and SIGHUP on the menu, in the editor and in a
# run, SIGTERM while the X server is stopped for longer than an end may take (the board kept
# meanwhile), SIGTERM with a key held at the end of the title, and the X server killed. Each ends
# with exit 0 within 2 s and nothing is lost: a volume set in Asetukset is in vinkla.cfg, and a
# board painted but not saved is kept and offered back by the editor at its next start.
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
[ ! -e "$W/vinkla.palautus.1" ] || fail "the board was kept twice after SIGTERM in the editor"
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

# stop_x SECONDS [GAP]: the X server stopped for that long (longer than the 2 s an end may take),
# as a display hung at logout, and SIGTERM to the game GAP seconds after it stopped (at once by
# default). Meanwhile, every 0.1 s from the signal: when the recovery file first showed
# ($kept_ms, or "none") and when the game had gone ($gone_ms). Nothing here speaks to the
# stopped server.
XPID=${E2E_PIDS[0]}
stop_x() {
    local t0 now i
    kept_ms=none gone_ms=none
    kill -STOP "$XPID"
    sleep "${2:-0}"
    kill -TERM "$E2E_GAME_PID"
    t0=$(date +%s%N)
    for i in $(seq 1 $(($1 * 10))); do
        now=$(( ($(date +%s%N) - t0) / 1000000 ))
        [ "$kept_ms" = none ] && [ -f "$W/vinkla.palautus" ] && kept_ms=$now
        [ "$gone_ms" = none ] && ! e2e_alive "$E2E_GAME_PID" && gone_ms=$now
        sleep 0.1
    done
    kill -CONT "$XPID"
}

# 5. With the X server stopped for 4 s, in a run: the game ends with 0, within 2 s of the server
# answering again at the latest.
to_menu
e2e_press menu:Pelaa
wait_run
stop_x 4
e2e_wait_exit 2 >"$W/exit_status.txt"
[ "$(cat "$W/exit_status.txt")" = 0 ] || fail "exit status $(cat "$W/exit_status.txt") with the X server stopped"

# 5b. In the editor with an unsaved board, the signal half a second after the server stopped,
# when every thread of the game that draws waits for it: the board is in the recovery file
# within 2 s, while the server still does not answer.
rm -f "$W"/vinkla.palautus*
to_menu
paint_in_editor
stop_x 4 0.5
[ "$kept_ms" != none ] && [ "$kept_ms" -le 2000 ] ||
    fail "with the X server stopped, the recovery file came at $kept_ms ms (game gone at $gone_ms ms)"
e2e_wait_exit 2 >"$W/exit_status.txt"
[ "$(cat "$W/exit_status.txt")" = 0 ] || fail "exit status $(cat "$W/exit_status.txt") in the editor with the X server stopped"
[ "$(sed -n 4p "$W/vinkla.palautus")" = '*....*.......*' ] ||
    fail "with the X server stopped, the recovery file's row 3 is $(sed -n 4p "$W/vinkla.palautus")"
echo "X server stopped: the board kept after $kept_ms ms, the game gone after $gone_ms ms"

# 5c. A key held as the title ends: the title waits for its release, but not at the end of the
# session. The press is seen when the fades end at once and the last picture stands whole.
e2e_game
e2e_until 10 "the title picture never showed" e2e_gone_pixel "$W/title.png" 400 195 "0 0 0"
xdotool keydown x
e2e_until 10 "the held key did not end the fades" e2e_is_pixel "$W/title.png" 330 310 "96 136 201"
ends_after TERM "with a key held at the end of the title"
xdotool keyup x

# 6. The X server killed, as a logout does, with an unsaved board in the editor: kept, exit 0.
rm -f "$W"/vinkla.palautus*
to_menu
paint_in_editor
kill -TERM "$XPID"
e2e_wait_exit 3 >"$W/exit_status.txt"
[ "$(cat "$W/exit_status.txt")" = 0 ] || fail "exit status $(cat "$W/exit_status.txt") when the X server went"
[ -f "$W/vinkla.palautus" ] || fail "no recovery file after the X server went: $(cat "$W/stderr.txt")"
echo "signal e2e: ok"
