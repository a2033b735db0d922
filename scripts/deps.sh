#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need,
# and those of the checking builds: ccache, clang with libFuzzer's runtime.
# Idempotent: when every package is present it only checks and returns.
# `deps.sh package` adds the tools that build and check the Debian package;
# `deps.sh test` adds what only the tests use (a small window manager, and
# xdotool to bring windows to the front).
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libsqlite3-dev sqlite3
  libhidapi-dev libudev-dev
  qt6-base-dev libgl-dev
  libx11-dev libxtst-dev libxi-dev libxkbcommon-dev libglib2.0-dev libxdamage-dev libfontconfig-dev libxcb1-dev
  xvfb xauth x11-xkb-utils x11-utils fonts-noto-cjk fonts-open-sans fonts-noto-color-emoji
  librsvg2-bin
  ccache
  clang libclang-rt-dev
)
if [ "${1:-}" = "package" ]; then
  PACKAGES+=(dpkg-dev file lintian desktop-file-utils appstream)
fi
if [ "${1:-}" = "test" ]; then
  PACKAGES+=(openbox xdotool)
fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
