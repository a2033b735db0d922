#!/usr/bin/env bash
# Run on an X display (xvfb-run): starts the installed tk410 against the
# virtual mouse, waits up to 20 s for its window, and checks that the window
# carries an icon (_NET_WM_ICON) and the WM_CLASS given as $1.
set -euo pipefail
want_class="$1"
tk410=${TK410:-/usr/bin/tk410}
"$tk410" --simulate wired >/dev/null 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true' EXIT

window=""
for _ in $(seq 1 200); do
  window=$(xwininfo -root -tree 2>/dev/null | awk '/"TEVO TK410/ && /[0-9]+x[0-9]+\+/ {print $1; exit}')
  [ -n "$window" ] && break
  kill -0 "$pid" 2>/dev/null || { echo "tk410 ended before showing a window" >&2; exit 1; }
  sleep 0.1
done
[ -n "$window" ] || { echo "no tk410 window appeared" >&2; exit 1; }

# The icon is read beside the start and set a moment after the window shows:
# wait up to 5 s for it. Read whole: cutting it short (| head) made xprop die
# of SIGPIPE now and then, which pipefail turned into a silent failure.
icon=""
for _ in $(seq 1 50); do
  icon=$(xprop -id "$window" _NET_WM_ICON)
  icon=${icon:0:200}
  [[ $icon == *"_NET_WM_ICON(CARDINAL) ="* ]] && break
  sleep 0.1
done
class=$(xprop -id "$window" WM_CLASS)
echo "  window $window: $class"
if [[ $icon != *"_NET_WM_ICON(CARDINAL) ="* ]]; then
  echo "the window has no icon: $icon" >&2
  exit 1
fi
# WM_CLASS(STRING) = "instance", "class": the class part is what StartupWMClass names.
if [[ $class != *", \"$want_class\""* ]]; then
  echo "WM_CLASS is not $want_class: $class" >&2
  exit 1
fi
