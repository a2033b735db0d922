#!/usr/bin/env bash
# Starts the GUI (build/bin/tk410).
# - With no supported mouse attached it runs against the virtual wired mouse
#   (--simulate wired), unless the caller chose --simulate already.
# - Where no display exists it runs under Xvfb, saves a screenshot and says where.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="$root/build/bin/tk410"
if [ ! -x "$bin" ]; then
  echo "run-gui.sh: $bin has not been built (run scripts/build.sh)" >&2
  exit 1
fi

# Vendor:product pairs of the supported models, from the shipped catalogue.
supported_attached() {
  local pairs
  pairs=$(grep -o 'vid="[0-9A-Fa-f]*"[^>]*pid="[0-9A-Fa-f]*"' "$root/data/config.xml" 2>/dev/null |
          sed -E 's/vid="([0-9A-Fa-f]+)".*pid="([0-9A-Fa-f]+)"/\1:\2/' | tr 'a-f' 'A-F' | sort -u)
  [ -n "$pairs" ] || return 1
  local uevent id
  for uevent in /sys/class/hidraw/*/device/uevent; do
    [ -r "$uevent" ] || continue
    # HID_ID=0003:00001209:00000001 → 1209:0001
    id=$(sed -nE 's/^HID_ID=[0-9A-Fa-f]+:0*([0-9A-Fa-f]{1,4}):0*([0-9A-Fa-f]{1,4})$/\1:\2/p' "$uevent" | tr 'a-f' 'A-F')
    [ -n "$id" ] || continue
    id=$(printf '%04X:%04X' "0x${id%%:*}" "0x${id##*:}")
    if grep -qx "$id" <<<"$pairs"; then return 0; fi
  done
  return 1
}

args=("$@")
if [[ " ${args[*]-} " != *" --simulate "* ]] && ! supported_attached; then
  echo "run-gui.sh: no supported mouse attached; using the virtual wired mouse" >&2
  args+=(--simulate wired)
fi

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$bin" "${args[@]}"
fi

# No display: run once under Xvfb and keep a picture of the window.
if ! command -v xvfb-run >/dev/null 2>&1; then
  echo "run-gui.sh: no display and no xvfb-run (Debian package xvfb)" >&2
  exit 1
fi
shot_dir="$root/build/artifacts"
mkdir -p "$shot_dir"
shot="$shot_dir/tk410-screenshot.png"
xvfb-run -a -s "-screen 0 1280x900x24" "$bin" "${args[@]}" --screenshot "$shot"
echo "run-gui.sh: no display here; the window ran under Xvfb and its screenshot is $shot"
