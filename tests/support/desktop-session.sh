#!/bin/sh
# Runs a program on a desktop of its own: an X server (Xvfb) on a free
# display and a window manager (openbox, tests/support/openbox-rc.xml), both
# ended when the program ends. Exit status: the program's.
#
#   desktop-session.sh [--screen WIDTHxHEIGHT] PROGRAM [ARGS...]
#
# A server probing for a free display (-displayfd) unlinks the sockets of
# servers it passes over, so each session picks an unused display number
# itself, one session at a time (flock), and uses the server once a client
# has reached it. -noreset: a server that resets when its last client leaves
# refuses the next client for a moment.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
screen=1280x1024
if [ "${1:-}" = --screen ]; then
  screen=$2
  shift 2
fi
dir=$(mktemp -d)
xvfb=
wm=
trap 'kill $wm $xvfb 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$dir"' EXIT INT TERM

# Polls COMMAND until it succeeds; gives up after about ten seconds or once
# process PID has ended.
wait_for() {
  pid=$1
  shift
  tries=0
  until "$@" >/dev/null 2>&1; do
    tries=$((tries + 1))
    if [ "$tries" -gt 500 ] || ! kill -0 "$pid" 2>/dev/null; then
      return 1
    fi
    sleep 0.02
  done
}

# Starts Xvfb on display :$1 and waits until a client reaches it.
start_x() {
  Xvfb ":$1" -screen 0 "${screen}x24" -nolisten tcp -noreset 9>&- >>"$dir/xvfb.log" 2>&1 &
  xvfb=$!
  if wait_for "$xvfb" xprop -display ":$1" -root -len 0; then
    export DISPLAY=":$1"
    return 0
  fi
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  xvfb=
  return 1
}

exec 9>"${TMPDIR:-/tmp}/orvalen-desktop-session.lock"
flock -w 120 9
number=20
while [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] ||
  ! start_x "$number"; do
  number=$((number + 1))
  if [ "$number" -gt 99 ]; then
    echo "desktop-session: no X display could be started" >&2
    cat "$dir/xvfb.log" >&2
    exit 1
  fi
done
flock -u 9
exec 9>&-

openbox --config-file "$here/openbox-rc.xml" >"$dir/wm.log" 2>&1 &
wm=$!
# The window manager is up once it has named itself on the root window.
if ! wait_for "$wm" sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'; then
  echo "desktop-session: the window manager did not start" >&2
  cat "$dir/wm.log" "$dir/xvfb.log" >&2
  exit 1
fi
status=0
"$@" || status=$?
exit "$status"
