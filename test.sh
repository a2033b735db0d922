#!/usr/bin/env bash
# Sets up what is missing, builds everything and runs every test.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
"$root/scripts/deps.sh" test
"$root/scripts/build.sh" "$root/build"
cd "$root/build"
ctest --output-on-failure -j "$(nproc)" "$@"
