# Shared helpers for the end-to-end tests: the real program in a real window under Xvfb.
# A script sources this, calls e2e_start "DISPLAY_NUMBERS" "$1" "$2" (the executable and the data
# folder CTest passes; the data file is the one beside the executable, or $VINKLA_DATA_FILE),
# and everything it started is ended by id when the script exits.
set -euo pipefail
# stdbuf preloads a library; a sanitizer build refuses to start after it unless told not to check.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"

E2E_PIDS=()                         # helpers such as Xvfb, ended after the games
E2E_GAME_PIDS=()
E2E_WORK=""
E2E_GAME_PID=""
E2E_LIB=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
E2E_PY=/usr/bin/python3            # the system interpreter has PIL and numpy
[ -x $E2E_PY ] || E2E_PY=python3
E2E_NAME=$(basename "$0" .sh)

# e2e_alive PID: a live child of this script. A reaped process's id may be handed to a stranger.
e2e_alive() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
    stat=${stat##*) }
    local state ppid
    read -r state ppid _ <<<"$stat"
    [ "$ppid" = "$$" ] && [ "$state" != Z ]
}

# e2e_end PID SECONDS: SIGTERM, at most SECONDS to go, then SIGKILL. Status 1 when it needed
# SIGKILL.
e2e_end() {
    local pid=$1 i
    e2e_alive "$pid" || return 0
    kill -TERM "$pid" 2>/dev/null
    for i in $(seq 1 $(($2 * 10))); do
        e2e_alive "$pid" || { wait "$pid" 2>/dev/null; return 0; }
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null
    for i in $(seq 1 20); do
        e2e_alive "$pid" || break
        sleep 0.1
    done
    e2e_alive "$pid" || wait "$pid" 2>/dev/null
    return 1
}

# Runs from the EXIT trap: every game, then every helper, each given 3 s after SIGTERM. A game
# that needed SIGKILL fails a script that had passed.
e2e_cleanup() {
    local rc=$? pid killed=""
    set +e
    trap - EXIT
    for pid in "${E2E_GAME_PIDS[@]}"; do
        e2e_end "$pid" 3 || killed="$killed $pid"
    done
    for pid in "${E2E_PIDS[@]}"; do
        e2e_end "$pid" 3 || echo "$E2E_NAME: helper $pid needed SIGKILL" >&2
    done
    if [ -n "$killed" ] && [ "$rc" = 0 ]; then
        echo "FAIL: $E2E_NAME: the game (pid$killed) did not end within 3 s of SIGTERM and needed SIGKILL" >&2
        [ -n "$E2E_WORK" ] && echo "work folder: $E2E_WORK" >&2
        rc=1
        E2E_KEEP=1
    elif [ -n "$killed" ]; then
        echo "$E2E_NAME: the game (pid$killed) also needed SIGKILL" >&2
    fi
    if [ -n "$E2E_WORK" ] && [ -z "${E2E_KEEP:-}" ]; then
        rm -rf "$E2E_WORK"
    fi
    exit "$rc"
}
trap e2e_cleanup EXIT
trap 'exit 143' TERM
trap 'exit 130' INT

fail() {
    echo "FAIL: $*" >&2
    [ -n "$E2E_WORK" ] && echo "work folder: $E2E_WORK" >&2
    E2E_KEEP=1
    exit 1
}

# e2e_start "N [M ...]" EXE DATA: Xvfb on the first of the displays that no live server holds
# (several builds may run a script at once), and a fresh working folder holding a copy of the
# data folder. The screen is 1024x768 (the game then keeps its window at 800x600) unless
# E2E_SCREEN names another size, e.g. 2400x1800.
e2e_start() {
    local n="" candidate lock
    for candidate in $1; do
        lock=/tmp/.X$candidate-lock
        if [ ! -e "$lock" ] || ! kill -0 "$(tr -d ' ' <"$lock" 2>/dev/null)" 2>/dev/null; then
            n=$candidate
            break
        fi
    done
    [ -n "$n" ] || fail "displays $1 all busy"
    E2E_EXE=$2
    E2E_DATA=$3
    export DISPLAY=":$n"
    rm -f "/tmp/.X${n}-lock" "/tmp/.X11-unix/X${n}" 2>/dev/null || true
    Xvfb ":$n" -screen 0 "${E2E_SCREEN:-1024x768}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    local i
    for i in $(seq 1 100); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
    xdpyinfo >/dev/null 2>&1 || fail "Xvfb :$n did not start"
    E2E_WORK=$(mktemp -d /tmp/vinkla-e2e-XXXXXX)
    cp -r "$E2E_DATA"/. "$E2E_WORK"/
    # The data file of the build under test: each build folder makes its own beside the program.
    local datafile=${VINKLA_DATA_FILE:-$(dirname "$E2E_EXE")/data1.dat}
    if [ -f "$datafile" ]; then
        cp "$datafile" "$E2E_WORK/data1.dat"
    fi
    rm -f "$E2E_WORK/vinkla.cfg"
    xdotool mousemove 700 580
}

# e2e_game [ARGS...]: starts the game in the working folder, stdout/stderr to files there.
e2e_game() {
    (cd "$E2E_WORK" && exec stdbuf -oL "$E2E_EXE" "$@" >"$E2E_WORK/stdout.txt" 2>"$E2E_WORK/stderr.txt") &
    e2e_await_window 20
}

# e2e_game_under SECONDS WRAPPER...: the game started as the wrapper's last argument (valgrind,
# env with a preload), its window awaited for up to SECONDS.
e2e_game_under() {
    local limit=$1
    shift
    (cd "$E2E_WORK" && exec "$@" "$E2E_EXE" >"$E2E_WORK/stdout.txt" 2>"$E2E_WORK/stderr.txt") &
    e2e_await_window "$limit"
}

# e2e_track_game PID: a game the script started itself, ended with the rest.
e2e_track_game() {
    E2E_GAME_PID=$1
    E2E_GAME_PIDS+=("$1")
}

# e2e_await_window SECONDS: the game just started in the background is ended with the rest.
e2e_await_window() {
    e2e_track_game $!
    timeout "$1" xdotool search --sync --name '^vinkla 1.0$' >/dev/null 2>&1 || fail "no window titled vinkla 1.0"
}

# e2e_wait_exit SECONDS: waits for the game to end; prints its exit status. Call it in the
# script's own shell (redirect to a file), never as $(...): a subshell cannot wait for the game.
e2e_wait_exit() {
    local limit=$1 i
    for i in $(seq 1 $((limit * 10))); do
        if ! kill -0 "$E2E_GAME_PID" 2>/dev/null; then
            local rc=0
            wait "$E2E_GAME_PID" || rc=$?
            echo "$rc"
            return 0
        fi
        sleep 0.1
    done
    fail "the game did not end within $limit s"
}

# e2e_shot FILE: a screenshot of the whole screen.
e2e_shot() {
    timeout 30 import -window root "$1"
}

# Every call of xdotool in the scripts ends, even against an X server that stopped answering.
# It types letters beyond ASCII only in a UTF-8 locale, which a bare environment (env -i, a
# fresh machine without LANG) lacks; the game keeps the caller's locale.
xdotool() {
    LC_ALL=C.UTF-8 timeout 60 xdotool "$@"
}

# e2e_pixel FILE X Y: prints "R G B" of one pixel.
e2e_pixel() {
    convert "$1" -format '%[fx:int(255*p{'"$2"','"$3"'}.r)] %[fx:int(255*p{'"$2"','"$3"'}.g)] %[fx:int(255*p{'"$2"','"$3"'}.b)]' info:
}

# e2e_click X Y: a press and release the dialog manager does not miss. It polls the mouse: the
# pointer must rest before the press, the press last, and the pointer stay until the release
# was seen, or the button is not pressed or the click falls elsewhere.
e2e_click() {
    xdotool mousemove "$1" "$2" sleep 0.15 mousedown 1 sleep 0.12 mouseup 1
    sleep 0.15
}

# e2e_press NAME: clicks a named button: "menu:Pelaa" .. "menu:Lopeta" of the main menu,
# "editor:Uusi", "editor:Avaa", "editor:Tallenna", "editor:Kokeile", "editor:Apua", "editor:Lopeta", the editor's
# palette as "tool:1" .. "tool:21" (four to a row, from the top left), "settings:Ok", "info:Ok".
e2e_press() {
    local x y t
    case $1 in
        menu:Pelaa) x=400 y=288 ;;
        menu:Avaa) x=400 y=328 ;;
        menu:Editori) x=400 y=368 ;;
        menu:Asetukset) x=400 y=408 ;;
        menu:Info) x=400 y=448 ;;
        menu:Lopeta) x=400 y=488 ;;
        editor:Uusi) x=636 y=364 ;;
        editor:Avaa) x=636 y=396 ;;
        editor:Tallenna) x=636 y=428 ;;
        editor:Kokeile) x=636 y=460 ;;
        editor:Apua) x=636 y=492 ;;
        editor:Lopeta) x=636 y=524 ;;
        settings:Ok) x=342 y=396 ;;
        info:Ok) x=400 y=575 ;;
        tool:*)
            t=$((${1#tool:} - 1))
            x=$((592 + 48 * (t % 4) + 19)) y=$((56 + 48 * (t / 4) + 19)) ;;
        *) fail "no button named $1" ;;
    esac
    e2e_click "$x" "$y"
}

# e2e_decline_basis [SECONDS]: after a level is saved in the editor the solver wins it and offers
# its run as the level's medal basis; Esc, which an alert takes for its second button "Ei", keeps
# nothing beside the level. A key waits in the buffer, where a click can fall between two slow
# rounds of the alert on a loaded machine.
e2e_decline_basis() {
    e2e_until "${1:-10}" "no question from the solver (see $E2E_WORK/basis.png)" \
        e2e_is_pixel "$E2E_WORK/basis.png" 410 322 "255 255 255"
    xdotool key Escape
    e2e_until "${1:-10}" "the solver's question stays (see $E2E_WORK/basis.png)" \
        e2e_gone_pixel "$E2E_WORK/basis.png" 300 300 "255 255 255"
}

# e2e_named [SECONDS]: after Enter in the win panel's name field, until the panel is drawn again
# with the table and no field in it. The panel writes and proves the records first; a click or a
# key before it is drawn again can fall into that busy moment.
e2e_named() {
    e2e_until "${1:-10}" "the name field stays in the win panel (see $E2E_WORK/named.png)" e2e_no_name_field
}
e2e_no_name_field() {
    e2e_shot "$E2E_WORK/named.png"
    [ "$(e2e_count "$E2E_WORK/named.png" 400x125+74+208 "255 252 246")" = 0 ]
}

# e2e_other_file [SCALE]: from the main menu, "Avaa" and then the level select's "Muu
# tiedosto...", which opens the file chooser.
e2e_other_file() {
    local k=${1:-1}
    e2e_click $((400 * k)) $((328 * k))
    e2e_wait_pixel "$E2E_WORK/select.png" $((30 * k)) $((30 * k)) "255 238 221" 5
    e2e_click $((305 * k)) $((570 * k))
}

# e2e_level ROW1 [ROW12]: a level file's text on standard output: the wall ring, rows 1 and 12
# as given (row 12 plain floor when left out) and plain floor between, then "noname" and "9999".
e2e_level() {
    local i
    printf '%s\n' '**************' "$1"
    for i in $(seq 1 10); do printf '%s\n' '*............*'; done
    printf '%s\n' "${2:-*............*}" '**************' noname 9999
}

# e2e_marble [SHOT]: a screenshot now (kept as SHOT) and the marble's centre on it, "X Y", or
# "none" when the whole marble is nowhere on the board.
e2e_marble() {
    local shot=${1:-$E2E_WORK/marble_shot.png}
    if [ ! -f "$E2E_WORK/marble.bmp" ]; then
        (cd "$E2E_WORK" && dat -x data1.dat A00_MARBLE_BMP -o marble.bmp >/dev/null 2>&1) ||
            fail "cannot export the marble"
    fi
    e2e_shot "$shot"
    $E2E_PY "$E2E_LIB/marble_at.py" "$shot" "$E2E_WORK/marble.bmp"
}

# e2e_cells LEVEL [R,C ...]: board_cells.py on a screenshot now: "ok" when the board drawn is
# LEVEL's (the cells given may differ: a flag taken).
e2e_cells() {
    e2e_shot "$E2E_WORK/cells.png"
    $E2E_PY "$E2E_LIB/board_cells.py" "$E2E_WORK/cells.png" "$1" "$E2E_WORK/data1.dat" "${@:2}"
}

# e2e_clock: a checksum of the run panel's clock now.
e2e_clock() {
    e2e_shot "$E2E_WORK/clock.png"
    e2e_crop "$E2E_WORK/clock.png" 92x16+680+128
}

# e2e_wait_marble "X Y" SECONDS: waits until the marble is there; prints where it was last
# seen and fails (status 1) when it did not come.
e2e_wait_marble() {
    local want=$1 got="" i
    for i in $(seq 1 $(($2 * 4))); do
        got=$(e2e_marble)
        [ "$got" = "$want" ] && return 0
        sleep 0.25
    done
    echo "$got"
    return 1
}

# e2e_cell_is SHOT ROW COL REF [LEFT TOP]: the board cell (the board drawn from LEFT, TOP,
# default the screen's corner) shows exactly the picture REF.
e2e_cell_is() {
    local cell
    cell=$($E2E_PY -c 'import sys; sys.path.insert(0, sys.argv[1]); import game_tables; print(game_tables.cell())' "$E2E_LIB/../../tools")
    local x=$((${5:-0} + cell * $3)) y=$((${6:-0} + cell * $2)) diff
    convert "$1" -crop "${cell}x${cell}+$x+$y" +repage -alpha off "$E2E_WORK/crop.png"
    diff=$(compare -metric AE "$E2E_WORK/crop.png" -alpha off "$4" null: 2>&1 || true)
    [ "$diff" = "0" ] || fail "cell ($2, $3) of $1 differs from $4 in $diff pixels"
}

# e2e_wait_pixel FILE X Y "R G B" SECONDS: screenshots until the pixel has that colour.
e2e_wait_pixel() {
    local file=$1 x=$2 y=$3 want=$4 limit=$5 i got=""
    for i in $(seq 1 $((limit * 5))); do
        e2e_shot "$file"
        got=$(e2e_pixel "$file" "$x" "$y")
        [ "$got" = "$want" ] && return 0
        sleep 0.2
    done
    fail "pixel ($x, $y) is '$got', expected '$want' (see $file)"
}

# e2e_leave_win [SCALE]: waits for the win panel over the board, then Esc takes the run (with
# the name offered) back to the menu.
e2e_leave_win() {
    local s=${1:-1}
    # The panel is drawn by the dialog that reads the keys, after the run emptied the buffer.
    e2e_wait_pixel "$E2E_WORK/win.png" $((70 * s + s / 2)) $((100 * s + s / 2)) "255 238 221" 10
    xdotool key Escape
}

# e2e_tap_to_win KEY: in a run about to take its last flag, taps KEY as a player does (Space
# to level the board) until the side panel's count of flags changes. The tap before that
# screenshot fell in the run's last frames: the screenshot must not show the win panel yet (the
# winning frame stands a moment before the panel covers it).
e2e_tap_to_win() {
    local before now="" i
    e2e_shot "$E2E_WORK/tap.png"
    before=$(e2e_crop "$E2E_WORK/tap.png" 92x16+680+100)
    for i in $(seq 1 150); do
        xdotool key "$1"
        e2e_shot "$E2E_WORK/tap.png"
        now=$(e2e_crop "$E2E_WORK/tap.png" 92x16+680+100)
        [ "$now" != "$before" ] && break
    done
    [ "$now" != "$before" ] || fail "tapping $1, the last flag was not taken (see $E2E_WORK/tap.png)"
    [ "$(e2e_pixel "$E2E_WORK/tap.png" 70 100)" != "255 238 221" ] ||
        fail "the win panel covered the winning frame at once (see $E2E_WORK/tap.png)"
}

# e2e_type_path TEXT: waits for a file selector (its white corner at (210, 160), inside both
# sizes the game uses), replaces the offered path (up to 50 characters) with TEXT, accepts it
# and waits until the selector is gone. The library's key buffer holds 64 keys: the path is
# typed once the field is seen empty, so the Backspaces and the letters never fill it together.
e2e_type_path() {
    e2e_wait_pixel "$E2E_WORK/selector.png" 210 160 "255 255 255" 10
    # The field offers the level played now, which may be a long path.
    local i
    for i in 1 2 3 4 5 6; do
        xdotool key End
        xdotool key --delay 10 --repeat 60 BackSpace
        e2e_path_empty && break
    done
    e2e_until 10 "the selector's path field was not emptied (see $E2E_WORK/selector.png)" e2e_path_empty
    xdotool type --delay 30 "$1"
    xdotool key Return
    e2e_until 20 "the file selector stays open (see $E2E_WORK/selector.png)" e2e_gone_pixel \
        "$E2E_WORK/selector.png" 210 160 "255 255 255"
}

# e2e_path_empty: the file selector's path field shows no letter (its cursor aside); the large
# selector's corner (160, 110) is white, the small one's is not.
e2e_path_empty() {
    local field=340x16+229+196
    e2e_shot "$E2E_WORK/selector.png"
    [ "$(e2e_pixel "$E2E_WORK/selector.png" 160 110)" = "255 255 255" ] && field=430x18+184+152
    [ "$(convert "$E2E_WORK/selector.png" -crop $field +repage -format '%[fx:minima>0.9]' info:)" = 1 ]
}

# e2e_until SECONDS WHAT COMMAND...: runs COMMAND until it succeeds; after SECONDS fails
# saying WHAT.
e2e_until() {
    local limit=$1 what=$2
    local end=$((SECONDS + limit + 1))
    shift 2
    until "$@"; do
        [ "$SECONDS" -lt "$end" ] || fail "$what (waited $limit s)"
        sleep 0.05
    done
}

# e2e_is_pixel FILE X Y "R G B" / e2e_gone_pixel ...: a screenshot now, that pixel has (has not)
# that colour.
e2e_is_pixel() {
    e2e_shot "$1"
    [ "$(e2e_pixel "$1" "$2" "$3")" = "$4" ]
}
e2e_gone_pixel() {
    ! e2e_is_pixel "$@"
}

# e2e_crop FILE GEOMETRY: a checksum of that part of the picture (GEOMETRY as WxH+X+Y).
e2e_crop() {
    convert "$1" -crop "$2" +repage -format '%#' info:
}

# e2e_count FILE GEOMETRY "R G B": how many pixels of that colour that part of the picture holds.
e2e_count() {
    local rgb="rgb($(echo $3 | tr ' ' ,))"
    convert "$1" -crop "$2" +repage -fill black +opaque "$rgb" -fill white -opaque "$rgb" \
        -format '%[fx:int(mean*w*h+0.5)]' info:
}

# e2e_wait_change REFERENCE GEOMETRY SECONDS: screenshots until that part of the screen differs
# from the same part of REFERENCE, a screenshot taken before the cause.
e2e_wait_change() {
    local ref
    ref=$(e2e_crop "$1" "$2")
    e2e_until "$3" "the screen at $2 did not change from $1" e2e_changed "$ref" "$2"
}
e2e_changed() {
    e2e_shot "$E2E_WORK/now.png"
    [ "$(e2e_crop "$E2E_WORK/now.png" "$2")" != "$1" ]
}

# e2e_wait_still GEOMETRY SECONDS: screenshots until that part of the screen shows the same in
# two screenshots in a row (a drawing under way has ended); the last one is $E2E_WORK/still.png.
e2e_wait_still() {
    E2E_STILL=""
    e2e_until "$2" "the screen at $1 keeps changing" e2e_same_twice "$1"
}
e2e_same_twice() {
    e2e_shot "$E2E_WORK/still.png"
    local now
    now=$(e2e_crop "$E2E_WORK/still.png" "$1")
    [ "$now" = "$E2E_STILL" ] && return 0
    E2E_STILL=$now
    return 1
}

# e2e_point X Y [SECONDS]: moves the pointer and waits until the game draws its arrow there (white tip,
# white inside a black rim), so it is gone from where it was: out of the way of a screenshot,
# or resting over a button before a key press. Only where the arrow is shown and the spot is
# not white.
# The library's X11 driver loses a move that lands while its own warp of the pointer is under
# way: a move that shows no arrow within 2 s is made again from a pixel beside.
e2e_point() {
    local end=$((SECONDS + ${3:-10} + 1)) i
    while :; do
        xdotool mousemove "$1" "$2"
        for i in $(seq 1 10); do
            e2e_arrow_at "$1" "$2" && return 0
            sleep 0.2
        done
        [ "$SECONDS" -lt "$end" ] || fail "the arrow is not drawn at ($1, $2) (see $E2E_WORK/arrow.png)"
        xdotool mousemove $(($1 + 1)) "$2"
    done
}
e2e_arrow_at() {
    e2e_shot "$E2E_WORK/arrow.png"
    [ "$(e2e_pixel "$E2E_WORK/arrow.png" "$1" "$2")" = "255 255 255" ] &&
        [ "$(e2e_pixel "$E2E_WORK/arrow.png" $(($1 + 1)) $(($2 + 5)))" = "255 255 255" ]
}

# e2e_focus_slider Y: the pointer on the settings dialog's slider whose middle row is Y, until the
# slider shows it has the focus (its dotted frame, whose top row is Y - 8), so that keys reach
# it. The slider redraws itself as it takes the focus, over the arrow at times: its frame, not
# the arrow, is what is waited for; a lost move is made again from a pixel beside.
e2e_focus_slider() {
    local end=$((SECONDS + 11)) i
    while :; do
        xdotool mousemove 300 "$1"
        for i in $(seq 1 10); do
            e2e_shot "$E2E_WORK/slider_focus.png"
            [ "$(convert "$E2E_WORK/slider_focus.png" -crop 280x1+260+$(($1 - 8)) +repage \
                -format '%[fx:minima<0.5]' info:)" = 1 ] && return 0
            sleep 0.2
        done
        [ "$SECONDS" -lt "$end" ] || fail "the slider at y $1 does not take the focus (see $E2E_WORK/slider_focus.png)"
        xdotool mousemove 301 "$1"
    done
}

# e2e_hand_back [SCALE [SECONDS]]: after a run the game has its pointer at the window's centre
# and the window system's elsewhere, until the library brings the latter over. A pixel of
# movement (the first after a run is what brings them into step), then a wait until the game
# draws its arrow where the window system has the pointer: from then on a click lands where it
# is aimed.
e2e_hand_back() {
    xdotool mousemove_relative -- 1 1
    e2e_until "${2:-10}" "the game's arrow is not where the window system has the pointer (see $E2E_WORK/arrow.png)" \
        e2e_in_step
}
e2e_in_step() {
    local X Y
    eval "$(xdotool getmouselocation --shell | head -2)"
    e2e_arrow_at "$X" "$Y"
}

# e2e_editor_board_is SHOT LEVEL: every cell of the editor's board (at 16, 16) but the start at
# (1, 1) shows what the game shows for LEVEL's codes.
e2e_editor_board_is() {
    local cells="" i j got
    for i in $(seq 0 13); do
        for j in $(seq 0 13); do
            [ "$i,$j" = "1,1" ] || cells="$cells $i,$j"
        done
    done
    convert "$1" -crop 546x546+16+16 +repage -alpha off "$E2E_WORK/board.png"
    # shellcheck disable=SC2086
    got=$($E2E_PY "$E2E_LIB/board_cells.py" "$E2E_WORK/board.png" "$2" "$E2E_WORK/data1.dat" $cells)
    [ "$got" = "ok" ] || fail "the board of $1 is not $(basename "$2"): $got"
}
