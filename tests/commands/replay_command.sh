#!/bin/bash
# vinkla-replay on runs that prove nothing, with no display and no data file in reach: a byte
# changed, a run of another board, a cut one, one of other rules, a level that is no level.
# Each says why in one line on standard error and exits 1, and none crashes.
#   replay_command.sh VINKLA_REPLAY DATA_DIR
set -euo pipefail
replay=$1
data=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
unset DISPLAY

# expect_refusal WHAT LEVEL RUN TEXT: exit 1 and TEXT in the one line it writes (a command
# still waiting after 10 s is ended, and fails).
expect_refusal() {
    local status=0
    timeout -s KILL 10 "$replay" "$2" "$3" >out.txt 2>err.txt || status=$?
    [ "$status" = 1 ] || { echo "FAIL: $1: exit $status, not 1 ($(cat err.txt))"; exit 1; }
    [ ! -s out.txt ] || { echo "FAIL: $1: wrote to standard output: $(cat out.txt)"; exit 1; }
    grep -q "$4" err.txt || { echo "FAIL: $1: says '$(cat err.txt)', not '$4'"; exit 1; }
}

level=$data/sarjat/1_alkeet/01_alku.vkl
run=$data/sarjat/1_alkeet/01_alku.vkl.mouse.run
size=$(stat -c %s "$run")

# One byte of the tilts changed, in the middle of the file.
cp "$run" changed.run
printf '\x7f' | dd of=changed.run bs=1 seek=$((size / 2)) conv=notrunc status=none
expect_refusal "a changed byte" "$level" changed.run "sum does not match"

expect_refusal "another board" "$data/sarjat/1_alkeet/10_mutkat.vkl" "$run" "another board"

head -c $((size - 30)) "$run" >cut.run
expect_refusal "a cut file" "$level" cut.run "cut short"

# Rules 2, with the sum made again so that only the version is wrong.
python3 - "$run" rules.run <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
body = data[:data.rindex(b"sum ")].replace(b"rules 1\n", b"rules 2\n", 1)
h = 14695981039346656037
for b in body:
    h = ((h ^ b) * 1099511628211) % 2**64
open(sys.argv[2], "wb").write(body + b"sum %016x\n" % h)
PY
expect_refusal "other rules" "$level" rules.run "made under rules 2, this game has rules 1"

printf 'no level here\n' >bad.vkl
expect_refusal "no level" bad.vkl "$run" "not a level"
expect_refusal "no file" "$level" missing.run "cannot be read"
# A pipe no one writes to is refused at once: its open would wait for a writer for ever.
mkfifo pipe.run
expect_refusal "a pipe" "$level" pipe.run "not a regular file"
mkdir folder.run
expect_refusal "a folder" "$level" folder.run "not a regular file"
echo "replay command: ok"
