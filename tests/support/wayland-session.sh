#!/bin/sh
# Runs a program in a Wayland session of its own: a headless Weston on a
# socket in a private runtime folder, with no X display, ended when the
# program ends. Exit status: the program's.
#
#   wayland-session.sh PROGRAM [ARGS...]
set -eu
dir=$(mktemp -d)
chmod 700 "$dir"
trap 'kill "$compositor" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$dir"' EXIT INT TERM
export XDG_RUNTIME_DIR="$dir"
weston --backend=headless-backend.so --socket=wayland-test --idle-time=0 --width=1280 \
  --height=1024 >"$dir/weston.log" 2>&1 &
compositor=$!
# The compositor is up once its shell has started (it logs the launch).
tries=0
until grep -q "launching '.*weston-desktop-shell'" "$dir/weston.log" 2>/dev/null &&
  [ -S "$dir/wayland-test" ]; do
  tries=$((tries + 1))
  if [ "$tries" -gt 500 ] || ! kill -0 "$compositor" 2>/dev/null; then
    echo "wayland-session: the compositor did not start" >&2
    cat "$dir/weston.log" >&2
    exit 1
  fi
  sleep 0.02
done
unset DISPLAY
export WAYLAND_DISPLAY=wayland-test XDG_SESSION_TYPE=wayland
status=0
"$@" || status=$?
exit "$status"
