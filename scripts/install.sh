#!/bin/bash
# Installs the built game like a desktop game: install.sh BUILD_DIR PREFIX [DESTDIR]
#   PREFIX/lib/vinkla/vinkla (+ patches.dat beside it, where the MIDI synthesiser looks)
#   PREFIX/share/vinkla/data1.dat and levels/*.vkl
#   PREFIX/bin/vinkla, a launcher that plays in the player's own folder
#   PREFIX/share/applications/vinkla.desktop and an icon
set -euo pipefail
build=$1
prefix=$2
dest=${3:-}
root="$(cd "$(dirname "$0")/.." && pwd)"
P="$dest$prefix"

install -d "$P/lib/vinkla" "$P/share/vinkla/levels" "$P/bin" \
    "$P/share/applications" "$P/share/icons/hicolor/64x64/apps"
install -m 755 "$build/vinkla" "$P/lib/vinkla/vinkla"
[ -f "$build/patches.dat" ] && install -m 644 "$build/patches.dat" "$P/lib/vinkla/patches.dat"
install -m 644 "$build/data1.dat" "$P/share/vinkla/data1.dat"
for level in "$root"/data/*.vkl; do
    install -m 644 "$level" "$P/share/vinkla/levels/"
done
install -m 755 "$root/scripts/vinkla-launcher" "$P/bin/vinkla"
sed "s|@BINDIR@|$prefix/bin|" "$root/scripts/vinkla.desktop.in" >"$P/share/applications/vinkla.desktop"
chmod 644 "$P/share/applications/vinkla.desktop"
# The icon: a steel marble lit from the upper left.
icon_tmp=$(mktemp -d)
convert -size 110x110 radial-gradient:'#ffffff'-'#1a2440' -crop 64x64+37+37 +repage "$icon_tmp/shade.png"
convert -size 64x64 xc:none -fill white -draw 'circle 32,32 32,3' "$icon_tmp/disc.png"
convert "$icon_tmp/shade.png" "$icon_tmp/disc.png" -alpha off -compose CopyOpacity -composite \
    PNG32:"$P/share/icons/hicolor/64x64/apps/vinkla.png"
rm -rf "$icon_tmp"
echo "vinkla installed under $P"
