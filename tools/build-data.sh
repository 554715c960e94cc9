#!/bin/bash
# Build data1.dat from the generators in tools/:  bash tools/build-data.sh OUT.dat [PATCHES.dat]
# With a second argument it also builds the MIDI synthesiser's patch set for the two
# pieces from Debian's freepats (skipped, with a note, when freepats is not installed).
# Intermediates live in a temporary folder; outputs are replaced only after a clean build,
# since dat can leave a damaged file behind when a step fails.
set -euo pipefail

out=${1:?usage: build-data.sh OUT.dat [PATCHES.dat]}
patches=${2:-}
# the build below changes folder: make the outputs absolute first
abspath() { case $1 in /*) echo "$1" ;; *) echo "$PWD/$1" ;; esac; }
out=$(abspath "$out")
[ -z "$patches" ] || patches=$(abspath "$patches")
freepats=/usr/share/midi/freepats
here=$(cd "$(dirname "$0")" && pwd)
py=/usr/bin/python3            # the system interpreter has PIL and numpy
work=$(mktemp -d "${TMPDIR:-/tmp}/vinkla-data.XXXXXX")
trap 'rm -rf "$work"' EXIT

"$py" -B "$here/gen_data.py" "$work/src"   # -B: no __pycache__ in the tree

cd "$work/src"
n=$(wc -l < manifest.txt)
i=0
while read -r kind file; do
    i=$((i + 1))
    strip=()
    [ "$i" -eq "$n" ] && strip=(-s1)
    case $kind in
        BMP) dat -a -n0 -t BMP -bpp 32 "${strip[@]}" "$work/data1.dat" "$file" >/dev/null ;;
        *)   dat -a -n0 -t "$kind" "${strip[@]}" "$work/data1.dat" "$file" >/dev/null ;;
    esac
done < manifest.txt

# Refuse to install a file that lost or misordered objects: the game finds them by position.
names=$(dat -l "$work/data1.dat" | awk '/^- / { print $4 }')
count=$(echo "$names" | grep -c .)
if [ "$count" -ne "$n" ]; then
    echo "build-data.sh: expected $n objects, dat lists $count" >&2
    exit 1
fi
k=0
for name in $names; do
    expected=$(printf 'A%02d_' "$k")
    if [ "${name:0:4}" != "$expected" ]; then
        echo "build-data.sh: object $k is $name" >&2
        exit 1
    fi
    k=$((k + 1))
done

install_file() {
    mkdir -p "$(dirname "$2")"
    cp "$1" "$2.tmp.$$"
    mv -f "$2.tmp.$$" "$2"
}
install_file "$work/data1.dat" "$out"

[ -n "$patches" ] || exit 0
if [ ! -d "$freepats/Tone_000" ] || [ ! -d "$freepats/Drum_000" ]; then
    echo "build-data.sh: $freepats not found, the game will play without music" >&2
    rm -f "$patches"
    exit 0
fi
# pat2dat reads the GUS dialect: programs numbered from 1, drums in a multipatch keyed by
# note; it takes patch paths relative to the index file's folder.
ln -s "$freepats/Tone_000" "$work/Tone_000"
ln -s "$freepats/Drum_000" "$work/Drum_000"
{
    for f in "$freepats"/Tone_000/[0-9][0-9][0-9]_*.pat; do
        b=${f##*/}
        echo "$((10#${b:0:3} + 1)) Tone_000/$b"
    done
    echo "129 begin_multipatch default blank"
    for f in "$freepats"/Drum_000/[0-9][0-9][0-9]_*.pat; do
        b=${f##*/}
        echo "$((10#${b:0:3})) Drum_000/$b"
    done
    echo "end_multipatch"
} > "$work/default.cfg"
tunes=()
while read -r kind file; do
    [ "$kind" = MIDI ] && tunes+=("$work/src/$file")
done < manifest.txt
pat2dat -o "$work/patches.dat" "$work/default.cfg" "${tunes[@]}" >/dev/null
install_file "$work/patches.dat" "$patches"
