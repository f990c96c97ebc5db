#!/bin/sh
# Runs a program on a desktop of its own: an X server (Xvfb) on a free
# display and a window manager (openbox, tests/support/openbox-rc.xml), both
# ended when the program ends. Exit status: the program's.
#
#   desktop-session.sh [--screen WIDTHxHEIGHT] PROGRAM [ARGS...]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
screen=1280x1024
if [ "${1:-}" = --screen ]; then
  screen=$2
  shift 2
fi
dir=$(mktemp -d)
trap 'kill "$wm" "$xvfb" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$dir"' EXIT INT TERM
mkfifo "$dir/display"
Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
xvfb=$!
read -r number <"$dir/display"
export DISPLAY=":$number"
openbox --config-file "$here/openbox-rc.xml" >"$dir/wm.log" 2>&1 &
wm=$!
# The window manager is up once it has named itself on the root window.
tries=0
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
  tries=$((tries + 1))
  if [ "$tries" -gt 500 ]; then
    echo "desktop-session: the window manager did not start" >&2
    cat "$dir/wm.log" >&2
    exit 1
  fi
  sleep 0.02
done
status=0
"$@" || status=$?
exit "$status"
