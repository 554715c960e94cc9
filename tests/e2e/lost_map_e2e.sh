#!/bin/bash
# A window manager that loses the window's first request to be shown, as one still starting
# with the desktop can: the game asks again, its window shows, the menu answers, and "Lopeta"
# ends it with status 0.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
e2e_start "184 185 186 187" "$1" "$2"
W=$E2E_WORK

$E2E_PY "$(dirname "$0")/lossy_wm.py" "$W/wm.txt" &
E2E_PIDS+=($!)
e2e_until 10 "the window manager did not start" grep -qx ready "$W/wm.txt"
e2e_game
grep -qx lost "$W/wm.txt" || fail "the window manager lost no request: $(cat "$W/wm.txt")"
menu_skip_title
menu_wait 10
menu_quit
echo "lost map e2e: ok"
