#!/bin/bash
# Removes what install.sh put in place: uninstall.sh PREFIX [DESTDIR [BINDIR]]; the players' own
# folders are left alone.
set -euo pipefail
prefix=$1
dest=${2:-}
bindir=${3:-$prefix/bin}
P="$dest$prefix"
B="$dest$bindir"
for c in vinkla vinkla-replay vinkla-solve; do
    rm -f "$B/$c" "$P/share/man/man6/$c.6.gz"
done
rm -f "$P/share/applications/vinkla.desktop" "$P/share/metainfo/example.c_seed_2cd98258.vinkla.metainfo.xml" \
    "$P/share/icons/hicolor/scalable/apps/vinkla.svg"
for s in 16 24 32 48 64 128 256; do
    rm -f "$P/share/icons/hicolor/${s}x${s}/apps/vinkla.png"
done
rm -rf "$P/lib/vinkla" "$P/share/vinkla"
echo "vinkla removed from $P"
