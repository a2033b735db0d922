#!/usr/bin/env bash
# Builds the Debian package of the program: build/package/tk410_<version>_amd64.deb
# (its path is the last line printed). It packs the build tree that ./test.sh
# builds, installed under /usr; Depends come from dpkg-shlibdeps.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh" package
"$root/scripts/build.sh" "$root/build" -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cd "$root/build"
rm -f package/tk410_*.deb
cpack -G DEB >/dev/null
deb=$(ls "$root"/build/package/tk410_*_amd64.deb)
echo "package: built $(basename "$deb") (Depends: $(dpkg-deb -f "$deb" Depends))"
echo "$deb"
