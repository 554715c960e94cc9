#!/bin/bash
# Installs what `make` (or `make run`) built, like a desktop game:
#   install.sh BUILD_DIR PREFIX [DESTDIR [BINDIR]]      (BINDIR: PREFIX/bin unless given)
#   PREFIX/lib/vinkla/vinkla (+ patches.dat beside it, where the MIDI synthesiser looks)
#   PREFIX/share/vinkla/data1.dat, levels/*.vkl and the level sets sarjat/SET/
#   BINDIR/vinkla, a launcher that plays in the player's own folder; vinkla-replay, vinkla-solve
#   PREFIX/share/applications/vinkla.desktop and the icons, every size and a scalable one
#   PREFIX/share/man/man6/ the manual pages, PREFIX/share/metainfo/ what software centres show
# It builds nothing: run as root it would leave files in the tree that the player cannot change.
set -euo pipefail
build=$1
prefix=$2
dest=${3:-}
bindir=${4:-$prefix/bin}
root="$(cd "$(dirname "$0")/.." && pwd)"
P="$dest$prefix"
B="$dest$bindir"
metainfo=example.c_seed_2cd98258.vinkla.metainfo.xml
# The game's commands without a window, each with its manual page man/NAME.6.
commands="vinkla-replay vinkla-solve"
sizes="16 24 32 48 64 128 256"

needed=("$build/vinkla" "$build/data1.dat" "$build/icons/hicolor/scalable/apps/vinkla.svg")
for c in $commands; do
    needed+=("$build/$c")
done
for s in $sizes; do
    needed+=("$build/icons/hicolor/${s}x${s}/apps/vinkla.png")
done
for f in "${needed[@]}"; do
    if [ ! -f "$f" ]; then
        echo "install: nothing to install: $f has not been built." >&2
        echo "install: build the game as yourself first (make, or make run), then run sudo make install." >&2
        exit 1
    fi
done
newer=$(find "$root/src" "$root/tools" -newer "$build/vinkla" -type f -print -quit)
[ -z "$newer" ] || echo "install: note: $newer is newer than the build; run make first to install it" >&2

# share/vinkla is the game's own: what a former version left there goes.
rm -rf "$P/share/vinkla/levels" "$P/share/vinkla/sarjat"
install -d "$P/lib/vinkla" "$P/share/vinkla/levels" "$P/share/vinkla/sarjat" "$B" "$P/share/applications" \
    "$P/share/man/man6" "$P/share/metainfo"
install -m 755 "$build/vinkla" "$P/lib/vinkla/vinkla"
[ -f "$build/patches.dat" ] && install -m 644 "$build/patches.dat" "$P/lib/vinkla/patches.dat"
install -m 644 "$build/data1.dat" "$P/share/vinkla/data1.dat"
for level in "$root"/data/*.vkl; do
    [ -f "$level" ] && install -m 644 "$level" "$P/share/vinkla/levels/"
done
# Each set whole: its set file, its levels and their runs, from which the medal times come.
for set in "$root"/data/sarjat/*/; do
    name=$(basename "$set")
    install -d "$P/share/vinkla/sarjat/$name"
    for f in "$set"*; do
        [ -f "$f" ] && install -m 644 "$f" "$P/share/vinkla/sarjat/$name/"
    done
done
install -m 755 "$root/scripts/vinkla-launcher" "$B/vinkla"
for c in $commands; do
    install -m 755 "$build/$c" "$B/$c"
done
sed "s|@BINDIR@|$bindir|" "$root/scripts/vinkla.desktop.in" >"$P/share/applications/vinkla.desktop"
chmod 644 "$P/share/applications/vinkla.desktop"
# The manual pages compressed as man-db reads them; -n keeps the date out, so builds agree.
for page in vinkla $commands; do
    gzip -9n <"$root/man/$page.6" >"$P/share/man/man6/$page.6.gz"
    chmod 644 "$P/share/man/man6/$page.6.gz"
done
install -m 644 "$root/scripts/$metainfo" "$P/share/metainfo/$metainfo"
# The icons tools/icons.py drew in the build, the same picture the game puts on its window.
for s in $sizes; do
    install -D -m 644 "$build/icons/hicolor/${s}x${s}/apps/vinkla.png" \
        "$P/share/icons/hicolor/${s}x${s}/apps/vinkla.png"
done
install -D -m 644 "$build/icons/hicolor/scalable/apps/vinkla.svg" "$P/share/icons/hicolor/scalable/apps/vinkla.svg"
echo "vinkla installed under $P"
