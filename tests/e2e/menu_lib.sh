# Steps the menu, info and settings scripts share; sourced after lib.sh.

# Presses the button once the title shows and holds it: the fades end at once and the title
# waits for the release, so the five seconds are skipped without a race. Not before the title:
# the game reads the mouse only from then on, and a press it missed is never seen (under load
# the window can stand a while before).
menu_skip_title() {
    local shot="$E2E_WORK/title.png" i got="0 0 0"
    xdotool mousemove 760 20
    for i in $(seq 1 50); do
        e2e_shot "$shot"
        got=$(e2e_pixel "$shot" 400 195)
        [ "$got" != "0 0 0" ] && break
        sleep 0.2
    done
    [ "$got" != "0 0 0" ] || fail "the title picture never showed"
    xdotool mousedown 1
    # Held until the last of the three pictures stands whole, which a seen press draws at once.
    for i in $(seq 1 50); do
        e2e_shot "$shot"
        [ "$(e2e_pixel "$shot" 330 310)" = "96 136 201" ] && break
        sleep 0.1
    done
    xdotool mouseup 1
}

# Waits until the main menu's six buttons are drawn (grey inside the "Lopeta" button).
menu_wait() {
    e2e_wait_pixel "$E2E_WORK/menu.png" 330 480 "170 170 170" "${1:-5}"
}

# Presses "Lopeta" and checks the exit status.
menu_quit() {
    e2e_press menu:Lopeta
    local rc
    # Not rc=$(e2e_wait_exit): a subshell cannot wait for the game, and its wait gives -1
    # when the game ends while it polls.
    e2e_wait_exit 10 >"$E2E_WORK/exit_status.txt"
    rc=$(cat "$E2E_WORK/exit_status.txt")
    [ "$rc" = 0 ] || fail "exit status $rc after Lopeta"
}

# Esc, held as a hand does until the menu shows, ends the run; then "Lopeta", and no crash.
menu_leave_run() {
    xdotool keydown Escape
    menu_wait 5
    xdotool keyup Escape
    e2e_hand_back
    menu_quit
    ! grep -q "due to signal" "$E2E_WORK/stderr.txt" || fail "the game crashed"
}

# menu_editor_opens LEVEL: the game started and its title skipped, "Editori", and the level
# opened there with "Avaa".
menu_editor_opens() {
    e2e_game
    menu_skip_title
    menu_wait
    e2e_press menu:Editori
    e2e_wait_pixel "$E2E_WORK/editor.png" 600 364 "170 170 170" 5
    e2e_press editor:Avaa
    xdotool mousemove 780 590
    e2e_type_path "$1"
}
