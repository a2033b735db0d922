#!/usr/bin/env bash
# What profiles that follow the program in front cost while nothing changes:
# the CPU time of the GUI program (tk410 --simulate wired) over 20 seconds
# with a per-program rule active and no window coming to the front, and the
# same without rules, on a private Xvfb with openbox. The watcher's thread
# ("tk410-infront") is shown apart. Target: well under 0.1 % of one core for
# the watcher. Prints figures; fails only when it cannot run.
#
# Usage: bench/rules_idle_cpu.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
seconds="${2:-20}"
bin="$build/bin"
for tool in Xvfb openbox; do
  command -v "$tool" >/dev/null || { echo "rules_idle_cpu: $tool is missing (scripts/deps.sh test installs it)" >&2; exit 1; }
done
[ -x "$bin/tk410" ] && [ -x "$bin/tk410ctl" ] || { echo "rules_idle_cpu: build tk410 and tk410ctl first" >&2; exit 1; }

work="$(mktemp -d)"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# A private display and home.
Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x800x24 >/dev/null 2>&1 3>"$work/display" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME/Documents" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY XDG_SESSION_TYPE
openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done

# Nanoseconds a thread has run (/proc/PID/task/TID/schedstat, first field),
# and all threads of a process together.
cpu_ns() { awk '{print $1}' "$1"; }
program_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{n += $1} END {printf "%d", n}'; }

measure() {
  local label="$1"
  QT_QPA_PLATFORM=xcb "$bin/tk410" --simulate wired >/dev/null 2>&1 &
  local pid=$!
  pids+=("$pid")
  sleep 3  # start-up and the first read of the mouse are not what is measured
  local watcher=""
  for task in /proc/"$pid"/task/*; do
    [ "$(cat "$task/comm" 2>/dev/null)" = "tk410-infront" ] && watcher="$task"
  done
  declare -A thread_before=()
  for task in /proc/"$pid"/task/*; do thread_before[$task]=$(cpu_ns "$task/schedstat"); done
  local before watcher_before=0
  before=$(program_ns "$pid")
  [ -n "$watcher" ] && watcher_before=$(cpu_ns "$watcher/schedstat")
  sleep "$seconds"
  local after watcher_after=0
  after=$(program_ns "$pid")
  [ -n "$watcher" ] && watcher_after=$(cpu_ns "$watcher/schedstat")
  local threads=""
  for task in /proc/"$pid"/task/*; do
    [ -n "${thread_before[$task]:-}" ] || continue
    local used=$(( $(cpu_ns "$task/schedstat") - ${thread_before[$task]} ))
    [ "$used" -gt 0 ] && threads+=$(printf ' %s/%s %d us;' "$(cat "$task/comm")" "${task##*/}" $((used / 1000)))
  done
  kill "$pid"; wait "$pid" 2>/dev/null || true
  awk -v l="$label" -v t=$((after - before)) -v w=$((watcher_after - watcher_before)) \
      -v s="$seconds" -v has="$([ -n "$watcher" ] && echo 1 || echo 0)" 'BEGIN {
    printf "%-32s program %7.4f %% of one core", l, 100 * t / 1e9 / s
    if (has) printf ", watcher thread %7.4f %% (%d us)", 100 * w / 1e9 / s, w / 1000
    printf " over %d s\n", s }'
  echo "    threads that ran:$threads"
}

measure "no rules:"
"$bin/tk410ctl" rule add 2 --exe racer >/dev/null
measure "rules active, no focus change:"
