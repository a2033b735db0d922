#!/usr/bin/env bash
# The GUI at rest: starts it under Xvfb (no window manager) against the
# virtual wired mouse in a fresh HOME, lets it settle, then counts for
# SECONDS (default 20) how often each of its threads woke up (voluntary
# context switches: each is one sleep that ended) and how much CPU time it
# used (/proc/PID/task/TID/schedstat). Prints one line per thread and the
# whole process. Prints figures; not a test.
#
# usage: bench/gui_idle.sh [BUILD_DIR]     (SECONDS_IDLE=N, SETTLE=N to change the times)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
span="${SECONDS_IDLE:-20}"
settle="${SETTLE:-5}"
gui="$build/bin/tk410"
[ -x "$gui" ] || { echo "gui_idle: $gui not built" >&2; exit 1; }

work="$(mktemp -d)"
xvfb_pid=""
gui_pid=""
cleanup() {
  [ -n "$gui_pid" ] && kill "$gui_pid" 2>/dev/null && wait "$gui_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work" ${session_runtime_root:+"$session_runtime_root"}
}
trap cleanup EXIT

. "$root/bench/gui/session.sh"
start_xvfb gui_idle

# exec: the job is the GUI itself, not a shell around it.
in_fresh_home "$work/home" exec "$gui" --simulate wired >"$work/gui.log" 2>&1 &
gui_pid=$!
sleep "$settle"
kill -0 "$gui_pid" 2>/dev/null || { echo "gui_idle: the GUI ended early:" >&2; cat "$work/gui.log" >&2; exit 1; }

# One line per thread: tid name voluntary nonvoluntary cpu_ns
sample() {
  for task in /proc/"$gui_pid"/task/*; do
    local tid="${task##*/}"
    local name vol nonvol cpu
    name="$(tr ' ' '_' <"$task/comm" 2>/dev/null)" || continue
    vol="$(awk '/^voluntary_ctxt_switches/ {print $2}' "$task/status" 2>/dev/null)" || continue
    nonvol="$(awk '/^nonvoluntary_ctxt_switches/ {print $2}' "$task/status" 2>/dev/null)" || continue
    cpu="$(cut -d' ' -f1 "$task/schedstat" 2>/dev/null)" || continue
    echo "$tid $name $vol $nonvol $cpu"
  done
}
sample >"$work/before"
sleep "$span"
sample >"$work/after"

echo "gui_idle: $span s after $settle s of settling, virtual wired mouse, Xvfb $DISPLAY, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
awk -v span="$span" '
  NR == FNR { name[$1] = $2; vol[$1] = $3; nonvol[$1] = $4; cpu[$1] = $5; next }
  {
    tid = $1
    v0 = (tid in vol) ? vol[tid] : 0; n0 = (tid in nonvol) ? nonvol[tid] : 0; c0 = (tid in cpu) ? cpu[tid] : 0
    dv = $3 - v0; dn = $4 - n0; dc = $5 - c0
    printf "  thread %-7s %-16s wake-ups/s %7.2f  preempted/s %6.2f  cpu %7.4f %%\n", tid, $2, dv / span, dn / span, dc / (span * 1e7)
    tv += dv; tn += dn; tc += dc
  }
  END {
    printf "  process                          wake-ups/s %7.2f  preempted/s %6.2f  cpu %7.4f %% of a core\n", tv / span, tn / span, tc / (span * 1e7)
  }' "$work/before" "$work/after"
