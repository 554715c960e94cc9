#!/bin/bash
# "Tallenna" in the editor replaces the level and nothing else: the player's own x.vkl.tmp and
# every other file beside it keep their bytes, and no temporary file is left behind.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/menu_lib.sh"
e2e_start "74 75 76 77" "$1" "$2"
W=$E2E_WORK

mkdir "$W/omat"
echo "vanha kenttä" >"$W/omat/x.vkl"
echo "pelaajan oma x.vkl.tmp" >"$W/omat/x.vkl.tmp"
echo "varmuuskopio" >"$W/omat/x.vkl~"
ln -s x.vkl.tmp "$W/omat/linkki"
(cd "$W/omat" && ls -A | sort && md5sum x.vkl.tmp x.vkl~ && readlink linkki) >"$W/before.txt"

e2e_game
menu_skip_title
menu_wait 5
e2e_click 400 368                                     # "Editori"
e2e_wait_pixel "$W/editor.png" 600 364 "170 170 170" 5
e2e_click 636 427                                     # "Tallenna"
xdotool mousemove 780 590
e2e_type_path "$W/omat/x.vkl"
# The question about the existing file: an alert in the middle.
e2e_wait_pixel "$W/alert.png" 300 300 "255 255 255" 10
e2e_click 369 331                                     # "Kyllä": the old x.vkl is replaced
# The game writes a file whole under another name and renames it.
e2e_until 5 "x.vkl was not replaced" grep -q noname "$W/omat/x.vkl"
# The solver's offer of its run as the medal basis declined: nothing more beside x.vkl.
e2e_decline_basis
printf '%s\n' '**************' '*AF..........*' \
    '*............*' '*............*' '*............*' '*............*' '*............*' \
    '*............*' '*............*' '*............*' '*............*' '*............*' \
    '*............*' '**************' 'noname' '9999' >"$W/expected.vkl"
cmp "$W/expected.vkl" "$W/omat/x.vkl" || fail "x.vkl does not hold the editor's board"
(cd "$W/omat" && ls -A | sort && md5sum x.vkl.tmp x.vkl~ && readlink linkki) >"$W/after.txt"
diff "$W/before.txt" "$W/after.txt" >&2 || fail "saving x.vkl touched another file beside it"

e2e_click 636 523                                     # the editor's "Lopeta"
menu_wait 5
menu_quit
echo "save e2e: ok"
