#!/usr/bin/env bash
# Runs a command as the one client of a headless weston of its own: a fresh runtime folder and
# socket, drawing with pixman so that the screen can be read (--debug lets weston-screenshooter
# read it), and no panel, so that only the command's windows change the screen. The command runs
# with Qt's Wayland platform; its exit status is the script's.
set -uo pipefail
runtime=$(mktemp -d)
chmod 700 "$runtime"
printf '[core]\nidle-time=0\n[shell]\npanel-position=none\nstartup-animation=none\nanimation=none\nclose-animation=none\nfocus-animation=none\n' >"$runtime/weston.ini"
XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --use-pixman --width=1024 \
  --height=768 --socket=wayland-test --config="$runtime/weston.ini" --debug \
  >"$runtime/weston.log" 2>&1 &
weston=$!
trap 'kill $weston 2>/dev/null; wait $weston 2>/dev/null; rm -rf "$runtime"' EXIT
for _ in $(seq 100); do
  [ -S "$runtime/wayland-test" ] && break
  kill -0 $weston 2>/dev/null || break
  sleep 0.1
done
if [ ! -S "$runtime/wayland-test" ]; then
  echo "weston did not start:" >&2
  cat "$runtime/weston.log" >&2
  exit 1
fi
XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=wayland-test QT_QPA_PLATFORM=wayland "$@"
