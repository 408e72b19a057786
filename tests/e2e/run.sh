#!/usr/bin/env bash
# Runs the end-to-end scenario on its own X server and session bus.
#   tests/e2e/run.sh <bin-folder>
set -euo pipefail
here=$(cd "$(dirname "$(readlink -f "$0")")" && pwd)
bin=$(cd "${1:?usage: run.sh <bin-folder>}" && pwd)

runtime=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$runtime"' EXIT
# -displayfd picks a free display, so runs can go side by side; another X
# server starting at the same moment can still take it, so check and retry.
start_xvfb() {
  local fd
  exec {fd}<> <(:)
  # -noreset: the accessibility bus launcher connects and leaves early, and a
  # server reset then would refuse the program's connection.
  Xvfb -displayfd "$fd" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb=$!
  read -r -t 20 display <&"$fd" || return 1
  exec {fd}<&-
  DISPLAY=:$display xdpyinfo >/dev/null 2>&1
}
xvfb=""
for attempt in 1 2 3; do
  if start_xvfb; then break; fi
  kill "$xvfb" 2>/dev/null || true
  if ((attempt == 3)); then echo "run.sh: Xvfb did not start" >&2; exit 1; fi
done
export DISPLAY=:$display XDG_RUNTIME_DIR=$runtime
unset QT_QPA_PLATFORM
# The accessibility registry inherits DISPLAY, so the bus starts after it.
exec dbus-run-session -- /usr/bin/python3 "$here/e2e_test.py" "$bin" 2> >(grep -v -e '^dbus-daemon' >&2) | grep --line-buffered -v 'SpiRegistry daemon'
