#!/bin/bash
# Removes what install.sh put in place; the players' own folders are left alone.
set -euo pipefail
prefix=$1
dest=${2:-}
P="$dest$prefix"
rm -f "$P/bin/vinkla" "$P/share/applications/vinkla.desktop" \
    "$P/share/icons/hicolor/64x64/apps/vinkla.png"
rm -rf "$P/lib/vinkla" "$P/share/vinkla"
echo "vinkla removed from $P"
