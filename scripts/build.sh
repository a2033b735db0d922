#!/usr/bin/env bash
# Configures and builds the project into a build directory.
# Usage: scripts/build.sh [BUILD_DIR] [extra cmake arguments...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
shift || true
source "$root/scripts/ccache.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
  # Installed under /usr, as the Debian package lays it out (scripts/package.sh
  # packs this same tree); pass another -DCMAKE_INSTALL_PREFIX to change it.
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
    "${compiler_launcher[@]}" "$@"
elif [ "$#" -gt 0 ]; then
  cmake -S "$root" -B "$build" "$@"
fi
cmake --build "$build" -j "$(nproc)"
