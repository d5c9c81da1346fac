#!/usr/bin/env bash
# Runs a command as the one client of a headless sway of its own, a compositor that draws the
# frames of its clients' windows: a fresh runtime folder, drawing with pixman so that grim can
# read the screen, no input devices, no X server, no bar and a plain background, so that only
# the command's windows change the screen. The command runs with Qt's Wayland platform; its exit
# status is the script's.
set -uo pipefail
runtime=$(mktemp -d)
chmod 700 "$runtime"
cat >"$runtime/config" <<'CONFIG'
xwayland disable
output * resolution 1024x768 background #336699 solid_color
CONFIG
# sway refuses to run as root: there it runs as nobody, in a runtime folder of nobody's, which
# root's clients reach all the same.
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  chown 65534:65534 "$runtime"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
env XDG_RUNTIME_DIR="$runtime" HOME="$runtime" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 \
  WLR_RENDERER=pixman WAYLAND_DISPLAY= DISPLAY= "${as_user[@]}" sway --config "$runtime/config" \
  >"$runtime/sway.log" 2>&1 &
sway=$!
trap 'kill $sway 2>/dev/null; wait $sway 2>/dev/null; rm -rf "$runtime"' EXIT
socket=
for _ in $(seq 100); do
  socket=$(cd "$runtime" && ls wayland-* 2>/dev/null | grep -v '\.lock$' | head -n 1)
  [ -n "$socket" ] && [ -S "$runtime/$socket" ] && break
  socket=
  kill -0 $sway 2>/dev/null || break
  sleep 0.1
done
if [ -z "$socket" ]; then
  echo "sway did not start:" >&2
  cat "$runtime/sway.log" >&2
  exit 1
fi
# The client's own runtime folder, with the compositor's socket named by its path.
client=$(mktemp -d)
chmod 700 "$client"
trap 'kill $sway 2>/dev/null; wait $sway 2>/dev/null; rm -rf "$runtime" "$client"' EXIT
XDG_RUNTIME_DIR=$client WAYLAND_DISPLAY=$runtime/$socket QT_QPA_PLATFORM=wayland "$@"
