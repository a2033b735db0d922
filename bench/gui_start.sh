#!/usr/bin/env bash
# Start-up of the GUI beside a bare Qt window of the same size, under Xvfb
# with no window manager: milliseconds from the fork to the first window
# mapped and to its first frame drawn (and to the last drawing before it went
# quiet), and the resident memory 5 s after the start. Beside the wall-clock
# times, the CPU time each program had used by its map and its first frame
# (all threads), which other programs on a busy machine disturb less. The two
# programs run interleaved, RUNS times each (default 7); medians are printed
# last, with the GUI's figures as a ratio of the bare window's. The GUI runs
# against the virtual wired mouse in a fresh HOME each time. Prints figures;
# not a test.
#
# usage: bench/gui_start.sh [BUILD_DIR]     (RUNS=N to change the count)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
runs="${RUNS:-7}"
gui="$build/bin/tk410"
[ -x "$gui" ] || { echo "gui_start: $gui not built" >&2; exit 1; }

work="$(mktemp -d)"
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work" ${session_runtime_root:+"$session_runtime_root"}
}
trap cleanup EXIT

# The two helpers, built here: the bare window and the watcher that times both.
g++ -O2 -fPIC -o "$work/bare_window" "$root/bench/gui/bare_window.cpp" $(pkg-config --cflags --libs Qt6Widgets)
cc -O2 -o "$work/map_watch" "$root/bench/gui/map_watch.c" -lX11 -lXdamage

. "$root/bench/gui/session.sh"
start_xvfb gui_start

run_one() {  # name command...
  local name="$1"; shift
  in_fresh_home "$work/home-$name-$RANDOM$RANDOM" \
    "$work/map_watch" --quiet-ms 1500 --rss-at-ms 5000 -- "$@" 2>/dev/null | tail -n 1
}

echo "gui_start: $runs interleaved runs, Xvfb $DISPLAY, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-6s %-5s %9s %9s %10s %9s %10s %12s\n' run prog map_ms paint_ms settled_ms rss_kib cpu_map_ms cpu_paint_ms
declare -a bare_map bare_paint bare_rss gui_map gui_paint gui_rss gui_settled bare_settled
declare -a bare_cmap bare_cpaint gui_cmap gui_cpaint
for i in $(seq "$runs"); do
  for prog in bare gui; do
    if [ "$prog" = bare ]; then
      line="$(run_one bare "$work/bare_window")"
    else
      line="$(run_one gui "$gui" --simulate wired)"
    fi
    eval "$line"  # map_ms= paint_ms= settled_ms= rss_kib= cpu_map_ms= cpu_paint_ms=
    printf '%-6s %-5s %9s %9s %10s %9s %10s %12s\n' "$i" "$prog" "$map_ms" "$paint_ms" "$settled_ms" "$rss_kib" \
      "$cpu_map_ms" "$cpu_paint_ms"
    eval "${prog}_map+=($map_ms); ${prog}_paint+=($paint_ms); ${prog}_settled+=($settled_ms); ${prog}_rss+=($rss_kib)"
    eval "${prog}_cmap+=($cpu_map_ms); ${prog}_cpaint+=($cpu_paint_ms)"
  done
done

median() { printf '%s\n' "$@" | sort -g | awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
bm=$(median "${bare_map[@]}"); gm=$(median "${gui_map[@]}")
bp=$(median "${bare_paint[@]}"); gp=$(median "${gui_paint[@]}")
bs=$(median "${bare_settled[@]}"); gs=$(median "${gui_settled[@]}")
br=$(median "${bare_rss[@]}"); gr=$(median "${gui_rss[@]}")
bcm=$(median "${bare_cmap[@]}"); gcm=$(median "${gui_cmap[@]}")
bcp=$(median "${bare_cpaint[@]}"); gcp=$(median "${gui_cpaint[@]}")
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf (b > 0 ? "%.2f" : "-"), a / b }'; }
echo "medians of $runs runs:"
printf '  map      bare %7.1f ms  gui %7.1f ms  ratio %s\n' "$bm" "$gm" "$(ratio "$gm" "$bm")"
printf '  paint    bare %7.1f ms  gui %7.1f ms  ratio %s\n' "$bp" "$gp" "$(ratio "$gp" "$bp")"
printf '  settled  bare %7.1f ms  gui %7.1f ms\n' "$bs" "$gs"
printf '  cpu@map  bare %7.1f ms  gui %7.1f ms  ratio %s\n' "$bcm" "$gcm" "$(ratio "$gcm" "$bcm")"
printf '  cpu@paint bare %6.1f ms  gui %7.1f ms  ratio %s\n' "$bcp" "$gcp" "$(ratio "$gcp" "$bcp")"
printf '  rss@5s   bare %7.1f MiB gui %7.1f MiB ratio %s\n' "$(awk -v k="$br" 'BEGIN{print k/1024}')" \
  "$(awk -v k="$gr" 'BEGIN{print k/1024}')" "$(ratio "$gr" "$br")"
