# Shared by the GUI benchmarks (sourced): a private X server and fresh homes.

# Starts Xvfb on a free-looking display and points DISPLAY and Qt at it;
# sets xvfb_pid. Ends the script (naming it $1) when the server does not come up.
start_xvfb() {
  local display=":$((100 + RANDOM % 800))"
  Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY="$display"
  for _ in $(seq 100); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.05; done
  xwininfo -root >/dev/null 2>&1 || { echo "$1: Xvfb did not start" >&2; exit 1; }
  unset WAYLAND_DISPLAY
  export QT_QPA_PLATFORM=xcb
}

# The runtime folders go to a memory file system, as a desktop's
# /run/user/UID is one: files there (the single-instance lock, which is
# synced to disk when written) cost no disk writes. /dev/shm where it can be
# written, else beside the homes. Sets session_runtime_root; the script
# removes it when it ends.
session_runtime_root=""
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  session_runtime_root="$(mktemp -d -p /dev/shm tk410-bench.XXXXXX 2>/dev/null || true)"
fi

# Runs a command with HOME and the XDG folders in the fresh folder $1.
in_fresh_home() {
  local home="$1"; shift
  local runtime="$home/runtime"
  [ -n "$session_runtime_root" ] && runtime="$session_runtime_root/$(basename "$home")"
  mkdir -p "$home/.config" "$runtime"
  chmod 700 "$runtime"
  HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$runtime" "$@"
}
