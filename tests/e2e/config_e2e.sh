#!/bin/bash
# vinkla.cfg as a player keeps it: comments, sections of their own, [settings] among them.
# Through a whole game (a run, the settings, "Lopeta") only the keys the player changed change,
# each in [settings] (with the walls, the first tile the run named), and every other line stays
# byte for byte. A vinkla.cfg that cannot be written is
# said in Finnish before the window closes.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
e2e_start "64 65 66 67" "$1" "$2"
W=$E2E_WORK

cat >"$W/vinkla.cfg" <<'CFG'
# vinkla: omat asetukset
[settings]
sound = 0x80
friction = 0.985
# musiikki oli liian kovalla

[sound]
# MIDI-soittimet
vinkla_soittimet = omat.dat
[omat]
muistiin = music = 0
CFG

e2e_game
menu_skip_title
menu_wait 5
# A short run on the default level, left with Esc.
e2e_click 400 300
e2e_wait_marble "59 59" 10 >/dev/null || fail "no run on the default level: $(e2e_marble)"
xdotool key Escape
menu_wait 5
# Two steps right on the music slider (8 to 10), then "Ok". Closing the dialog on a slider
# takes both volumes from the sliders: the sound, 0x80 = 128, shows as 8 and becomes 136.
e2e_click 400 408
e2e_wait_pixel "$W/settings.png" 250 300 "255 238 221" 5
e2e_focus_slider 296
# Each step closes and reopens the dialog: the next key waits until the slider moved.
for i in 1 2; do
    e2e_shot "$W/slider.png"
    xdotool key Right
    e2e_wait_change "$W/slider.png" 400x24+200+284 5
done
e2e_press settings:Ok
menu_wait 5
menu_quit

cat >"$W/expected.cfg" <<'CFG'
# vinkla: omat asetukset
[settings]
sound = 136
friction = 0.985
tiles_met = *
music = 170
# musiikki oli liian kovalla

[sound]
# MIDI-soittimet
vinkla_soittimet = omat.dat
[omat]
muistiin = music = 0
CFG
diff "$W/expected.cfg" "$W/vinkla.cfg" >&2 || fail "vinkla.cfg is not the player's file with the game's keys set"
ls -A "$W" | grep -q '^\.vinkla-' && fail "a temporary file was left behind"

# A vinkla.cfg that is a folder cannot be written: "Lopeta" shows the alert, the window stays
# until it is answered, and the folder is left as it was.
rm "$W/vinkla.cfg"
mkdir "$W/vinkla.cfg"
echo tallella >"$W/vinkla.cfg/muistiinpanot.txt"
e2e_game
menu_skip_title
menu_wait 5
e2e_click 400 488
xdotool mousemove 790 590
e2e_wait_pixel "$W/alert.png" 400 300 "255 255 255" 5
sleep 1  # nothing to wait for: the game must still be there a while later
kill -0 "$E2E_GAME_PID" 2>/dev/null || fail "the game ended without waiting for the alert"
xdotool key Escape
e2e_wait_exit 10 >"$W/exit_status.txt"
rc=$(cat "$W/exit_status.txt")
[ "$rc" = 0 ] || fail "exit status $rc after the alert"
[ "$(cat "$W/vinkla.cfg/muistiinpanot.txt")" = tallella ] || fail "the folder vinkla.cfg was touched"
[ "$(ls -A "$W/vinkla.cfg")" = muistiinpanot.txt ] || fail "something was written into the folder vinkla.cfg"

# A vinkla.cfg that is a link to a file elsewhere is read, but a volume set in Asetukset is not
# written through it: the alert says so once, at the "Ok", and the quit asks nothing more.
rm -r "$W/vinkla.cfg"
mkdir "$W/muualla"
printf '[settings]\nsound = 17\n' >"$W/muualla/asetukset"
ln -s "$W/muualla/asetukset" "$W/vinkla.cfg"
e2e_game
menu_skip_title
menu_wait 5
e2e_press menu:Asetukset
e2e_wait_pixel "$W/settings.png" 250 300 "255 238 221" 5
e2e_focus_slider 248
xdotool key Right
e2e_press settings:Ok
xdotool mousemove 790 590
e2e_wait_pixel "$W/link_alert.png" 400 300 "255 255 255" 5
xdotool key Escape
menu_wait 5
menu_quit
[ "$(cat "$W/muualla/asetukset")" = "$(printf '[settings]\nsound = 17')" ] ||
    fail "the link's target was written: $(cat "$W/muualla/asetukset")"
[ -L "$W/vinkla.cfg" ] || fail "the link vinkla.cfg was replaced"
echo "config e2e: ok"
