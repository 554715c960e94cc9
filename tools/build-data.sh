#!/bin/bash
# Build data1.dat from the generators in tools/: bash tools/build-data.sh OUT.dat
# Intermediates live in a temporary folder; OUT is replaced only after a clean build,
# since dat can leave a damaged file behind when a step fails.
set -euo pipefail

out=${1:?usage: build-data.sh OUT.dat}
here=$(cd "$(dirname "$0")" && pwd)
py=/usr/bin/python3            # the system interpreter has PIL and numpy
work=$(mktemp -d "${TMPDIR:-/tmp}/vinkla-data.XXXXXX")
trap 'rm -rf "$work"' EXIT

"$py" "$here/gen_data.py" "$work/src"

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

# Refuse to install a file that lost or misordered objects.
count=$(dat -l "$work/data1.dat" | grep -c '^- ')
if [ "$count" -ne "$n" ]; then
    echo "build-data.sh: expected $n objects, dat lists $count" >&2
    exit 1
fi

mkdir -p "$(dirname "$out")"
cp "$work/data1.dat" "$out.tmp.$$"
mv -f "$out.tmp.$$" "$out"
