#!/usr/bin/env bash
# Sets up what is missing, builds, and starts the program.
# With the GUI built it starts the GUI (see README); until then it runs the
# command-line tool against the virtual mouse.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
"$root/scripts/deps.sh"
"$root/scripts/build.sh" "$root/build" >/dev/null
bin="$root/build/bin"
if [ -x "$bin/tk410" ]; then
  exec "$root/scripts/run-gui.sh" "$@"
elif [ -x "$bin/tk410ctl" ]; then
  if [ "$#" -eq 0 ]; then set -- --simulate wired status; fi
  exec "$bin/tk410ctl" "$@"
else
  echo "run.sh: no program has been built yet" >&2
  exit 1
fi
