#!/usr/bin/env bash
# The systemd user unit of the watch: it starts `vendra watch` from /usr/bin, restarts it when it
# fails, and systemd-analyze verifies it without a word (with the program under test standing in
# for the installed one). Arguments: the vendra program, the source folder.
set -euo pipefail
prog=$(cd "$(dirname "$1")" && pwd)/$(basename "$1") unit=$2/resources/vendra-watch.service
fail() { echo "user-unit: $*" >&2; exit 1; }

grep -qx 'ExecStart=/usr/bin/vendra watch' "$unit" || fail "the unit does not start /usr/bin/vendra watch"
grep -qx 'Restart=on-failure' "$unit" || fail "the unit does not restart on failure"
grep -qx 'WantedBy=default.target' "$unit" || fail "the unit is not wanted by the user's session"
if ! command -v systemd-analyze >/dev/null; then
  echo "user-unit: no systemd-analyze here, the unit's text alone checked"
  exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
sed "s|^ExecStart=/usr/bin/vendra |ExecStart=$prog |" "$unit" >"$work/vendra-watch.service"
said=$(XDG_RUNTIME_DIR=$work/runtime systemd-analyze verify --user --man=no \
         "$work/vendra-watch.service" 2>&1) || fail "systemd-analyze: $said"
[ -z "$said" ] || fail "systemd-analyze: $said"
echo "vendra-watch.service verified"
