#!/bin/bash
# Makes a tiny data file with the objects of the game's list (src/platform/data1.h), each of its
# kind, as a seed for the data file fuzzer:  bash fuzz/make_seed_datafile.sh OUT.dat [COUNT]
# COUNT (default all) builds only the first COUNT objects. Uncompressed (-c0), so mutations
# reach the object headers instead of breaking the compression.
set -euo pipefail
out=${1:?usage: make_seed_datafile.sh OUT.dat [COUNT]}
# The game's list: a name and a kind a line, in file order.
mapfile -t objects < <(/usr/bin/python3 -c 'import sys; sys.path.insert(0, sys.argv[1]); import game_tables
for name, kind in game_tables.data_objects_list(): print(name, kind)' "$(dirname "$0")/../tools")
count=${2:-${#objects[@]}}
case $out in /*) ;; *) out=$PWD/$out ;; esac
work=$(mktemp -d "${TMPDIR:-/tmp}/vinkla-seed.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

/usr/bin/python3 - <<'PY'
import struct, wave
from PIL import Image

Image.new("RGB", (2, 2), (200, 30, 40)).save("pic.bmp", format="BMP")
# The fall's last frame is shrunk from its top-left 39 by 39 pixels: the game checks that size.
Image.new("RGB", (39, 39), (20, 30, 40)).save("fall.bmp", format="BMP")

# Font grid: palette index 255 frames each glyph cell, 0 is the background, 1 the ink.
grid = Image.new("P", (9, 5), 0)
pal = [0, 0, 0, 255, 255, 255] + [0, 0, 0] * 253 + [255, 0, 255]
grid.putpalette(pal)
px = grid.load()
for x in range(9):
    px[x, 0] = px[x, 4] = 255
for y in range(5):
    px[0, y] = px[4, y] = px[8, y] = 255
px[2, 2] = px[6, 1] = 1
grid.save("font.bmp", format="BMP")
with open("font.txt", "w") as f:
    f.write("font.bmp 0x20 0x21\n")

with wave.open("snd.wav", "wb") as w:
    w.setnchannels(1)
    w.setsampwidth(1)
    w.setframerate(11025)
    w.writeframes(bytes([128, 160, 128, 96]))

# One track: a note on and off, end of track.
track = bytes([0x00, 0x90, 60, 64, 0x10, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00])
with open("tune.mid", "wb") as f:
    f.write(b"MThd" + struct.pack(">IHHH", 6, 0, 1, 96))
    f.write(b"MTrk" + struct.pack(">I", len(track)) + track)
PY

rm -f seed.dat
for ((i = 0; i < count; i++)); do
    last=()
    [ "$i" -eq $((count - 1)) ] && last=(-s1)
    name=$(printf 'A%02d' "$i")
    read -r object kind <<<"${objects[$i]}"
    case $kind in
        BITMAP) if [ "$object" = FALL7 ]; then cp fall.bmp "$name.bmp"; else cp pic.bmp "$name.bmp"; fi
           dat -a -n0 -c0 -t BMP -bpp 32 "${last[@]}" seed.dat "$name.bmp" ;;
        SAMPLE) cp snd.wav "$name.wav"; dat -a -n0 -c0 -t SAMP "${last[@]}" seed.dat "$name.wav" ;;
        MIDI) cp tune.mid "$name.mid"; dat -a -n0 -c0 -t MIDI "${last[@]}" seed.dat "$name.mid" ;;
        FONT) cp font.bmp "$name.bmp"; sed "s/font.bmp/$name.bmp/" font.txt > "$name.txt"
           dat -a -n0 -c0 -t FONT "${last[@]}" seed.dat "$name.txt" ;;
        PALETTE) cp font.bmp "$name.bmp"; dat -a -n0 -c0 -t PAL "${last[@]}" seed.dat "$name.bmp" ;;
    esac >/dev/null
done
listed=$(dat -l seed.dat | grep -c '^- ')
[ "$listed" -eq "$count" ] || { echo "make_seed_datafile.sh: dat lists $listed objects" >&2; exit 1; }
mv seed.dat "$out"
