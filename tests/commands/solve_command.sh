#!/bin/bash
# vinkla-solve on a shipped level, with no display and no data file in reach: the run it finds
# wins when vinkla-replay steps it, in the frames the solver said, at most a tenth longer than the
# run kept beside the level; the same search finds the same run byte for byte (the search and
# the rules are deterministic); the arrow keys win the level too; and a level with no flag is
# refused with a reason.
#   solve_command.sh BUILD_DIR DATA_DIR
set -euo pipefail
build=$1
data=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
unset DISPLAY
level=$data/sarjat/2_taidot/02_kuilut.vkl

"$build/vinkla-solve" --out found.run "$level" >out.txt
frames=$(sed -n 's/.* won in \([0-9]*\) frames .*/\1/p' out.txt)
[ -n "$frames" ] || { echo "FAIL: no win reported: $(cat out.txt)"; exit 1; }
"$build/vinkla-replay" "$level" found.run | grep -q "^won in $frames frames" ||
    { echo "FAIL: the run found does not win in $frames frames"; exit 1; }
kept=$("$build/vinkla-replay" "$level" "$level.mouse.run" | sed -n 's/^won in \([0-9]*\) frames.*/\1/p')
[ "$frames" -le $((kept + kept / 10)) ] || { echo "FAIL: $frames frames, the kept run wins in $kept"; exit 1; }
"$build/vinkla-solve" --out again.run "$level" >/dev/null
cmp -s found.run again.run || { echo "FAIL: another run the second time"; exit 1; }

"$build/vinkla-solve" --keys --out keys.run "$level" >/dev/null
"$build/vinkla-replay" "$level" keys.run | grep -q '^won in' || { echo "FAIL: the keys' run does not win"; exit 1; }

"$build/vinkla-solve" --hand --out hand.run "$level" >out.txt
hand=$(sed -n 's/.* won in \([0-9]*\) frames .*/\1/p' out.txt)
"$build/vinkla-replay" "$level" hand.run | grep -q "^won in $hand frames" || { echo "FAIL: the hand's run does not win"; exit 1; }
cmp -s hand.run "$level.hand.run" || { echo "FAIL: not the hand run kept beside the level"; exit 1; }

# A level in a folder of its own with a copy of that hand run, 5,33 s: gold 110 % is 5,863 s, up
# to 5,90; silver 150 % is 7,995, up to 8,00; bronze 300 % is 15,99, up to 16,00.
mkdir own
cp "$level" own/kuilut.vkl
cp hand.run own/kuilut.vkl.hand.run
[ "$("$build/vinkla-replay" own/kuilut.vkl own/kuilut.vkl.hand.run | sed -n 's/^won in \([0-9]*\) frames.*/\1/p')" = 533 ] ||
    { echo "FAIL: the hand's run is not 533 frames"; exit 1; }
[ "$("$build/vinkla-solve" --medals own/kuilut.vkl)" = "0:05,90 0:08,00 0:16,00" ] ||
    { echo "FAIL: medals $("$build/vinkla-solve" --medals own/kuilut.vkl)"; exit 1; }
# A set file's own times go first.
printf 'vinkla-sarja 1\nnimi Oma\nmitalit kuilut.vkl 600 900 1500\n' >own/sarja.txt
[ "$("$build/vinkla-solve" --medals own/kuilut.vkl)" = "0:06,00 0:09,00 0:15,00" ] ||
    { echo "FAIL: the set file's medals: $("$build/vinkla-solve" --medals own/kuilut.vkl)"; exit 1; }
# No run and no set file: no medals, and it says so.
mkdir bare
cp "$level" bare/
status=0
"$build/vinkla-solve" --medals bare/02_kuilut.vkl 2>err.txt || status=$?
[ "$status" = 1 ] && grep -q "no medal times" err.txt || { echo "FAIL: medals without runs: $status"; exit 1; }

{ echo '**************'; echo '*A...........*'; for i in $(seq 1 11); do echo '*............*'; done
  echo '**************'; echo noname; echo 9999; } >empty.vkl
status=0
"$build/vinkla-solve" empty.vkl 2>err.txt || status=$?
[ "$status" = 1 ] && grep -q "flags" err.txt || { echo "FAIL: a level without flags: $status $(cat err.txt)"; exit 1; }
echo "solve command: ok"
