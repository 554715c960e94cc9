#!/bin/bash
# Removes what install.sh put in place; the players' own folders are left alone.
set -euo pipefail
prefix=$1
dest=${2:-}
P="$dest$prefix"
rm -f "$P/bin/vinkla" "$P/share/applications/vinkla.desktop" \
    "$P/share/icons/hicolor/scalable/apps/vinkla.svg"
for s in 16 24 32 48 64 128 256; do
    rm -f "$P/share/icons/hicolor/${s}x${s}/apps/vinkla.png"
done
rm -rf "$P/lib/vinkla" "$P/share/vinkla"
echo "vinkla removed from $P"
