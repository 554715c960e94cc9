#!/bin/bash
# Builds the Debian packages from debian/ into deb/, then checks them: lintian (no error; the
# warnings left are named in the README) and appstreamcli on the installed metadata.
# As root too (CI): the rules need no root, and nothing leaves the tree.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
version=$(dpkg-parsechangelog -S Version)
arch=$(dpkg --print-architecture)
rm -rf deb
mkdir deb
# -b: binary packages only (a native package's source tarball would take the build folders);
# the .buildinfo and .changes go into deb/ beside the packages.
dpkg-buildpackage -b --no-sign --buildinfo-option=-udeb --changes-option=-udeb \
    --buildinfo-file="deb/vinkla_${version}_${arch}.buildinfo" \
    --changes-file="deb/vinkla_${version}_${arch}.changes"
ls deb/*.deb
lintian --fail-on error --info deb/vinkla_"${version}"_"${arch}".changes
# The metadata as the package installs it; --no-net since its screenshots' site is not up yet.
meta=$(mktemp -d)
trap 'rm -rf "$meta"' EXIT
dpkg-deb -x "deb/vinkla_${version}_${arch}.deb" "$meta"
appstreamcli validate --no-net "$meta"/usr/share/metainfo/*.metainfo.xml
