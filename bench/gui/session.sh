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

# Runs a command with HOME and the XDG folders in the fresh folder $1.
in_fresh_home() {
  local home="$1"; shift
  mkdir -p "$home/.config" "$home/runtime"
  chmod 700 "$home/runtime"
  HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$home/runtime" "$@"
}
