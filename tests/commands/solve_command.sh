#!/bin/bash
# vinkla-solve on a shipped level, with no display and no data file in reach: the run it finds is
# the one kept beside the level, byte for byte (the search and the rules are deterministic), and
# vinkla-replay says it wins; a level with no flag is refused with a reason.
#   solve_command.sh BUILD_DIR DATA_DIR
set -euo pipefail
build=$1
data=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
unset DISPLAY

"$build/vinkla-solve" --out found.run "$data/05_kuilut.vkl" >out.txt
cmp -s found.run "$data/05_kuilut.vkl.mouse.run" || { echo "FAIL: another run than the kept one"; exit 1; }
"$build/vinkla-replay" "$data/05_kuilut.vkl" found.run | grep -q '^won in 408 frames' ||
    { echo "FAIL: the run found does not win in 408 frames"; exit 1; }

{ echo '**************'; echo '*A...........*'; for i in $(seq 1 11); do echo '*............*'; done
  echo '**************'; echo noname; echo 9999; } >empty.vkl
status=0
"$build/vinkla-solve" empty.vkl 2>err.txt || status=$?
[ "$status" = 1 ] && grep -q "flags" err.txt || { echo "FAIL: a level without flags: $status $(cat err.txt)"; exit 1; }
echo "solve command: ok"
