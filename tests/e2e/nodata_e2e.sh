#!/bin/bash
# Without a usable data1.dat the game says so in an alert and ends with status 0.
source "$(dirname "$0")/lib.sh"
e2e_start 71 "$1" "$2"

# alert_then_enter NAME: the alert must draw something in the middle of the black window;
# before the mouse is installed, Return closes a one-button alert.
alert_then_enter() {
    local shot="$E2E_WORK/$1.png" i lit=0
    for i in $(seq 1 25); do
        e2e_shot "$shot"
        lit=$(convert "$shot" -crop 500x150+150+225 +repage -format '%[fx:mean>0.02]' info:)
        [ "$lit" = 1 ] && break
        sleep 0.2
    done
    [ "$lit" = 1 ] || fail "no alert on the screen ($shot)"
    xdotool key Return
    local rc
    # In this shell: a subshell cannot wait for the game (its wait gives -1).
    e2e_wait_exit 5 >"$E2E_WORK/exit_status.txt"
    rc=$(cat "$E2E_WORK/exit_status.txt")
    [ "$rc" = 0 ] || fail "exit status $rc after the alert"
    [ ! -e "$E2E_WORK/vinkla.cfg" ] || fail "vinkla.cfg written though nothing started"
}

rm -f "$E2E_WORK/data1.dat"
e2e_game
alert_then_enter missing

# A data file of another make: it loads, but holds one picture instead of the 44 objects.
convert -size 8x8 xc:red BMP3:"$E2E_WORK/red.bmp"
(cd "$E2E_WORK" && dat -t BMP -bpp 32 -s1 data1.dat -a red.bmp >/dev/null)
e2e_game
alert_then_enter wrong

echo "nodata e2e: ok"
