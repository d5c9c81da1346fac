#!/usr/bin/env bash
# Installs Vendra into a temporary prefix that its user cannot write, runs a search from the
# command line there against the sample site, and checks that the working files and the help
# page went to the per-user folder. Arguments: the build folder, the sample site's program.
set -euo pipefail
build=$1 site=$2
work=$(mktemp -d)
site_pid=
trap '[ -n "$site_pid" ] && kill $site_pid 2>/dev/null; rm -rf "$work"' EXIT
prefix=$work/prefix home=$work/home
cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/vendra share/vendra/instructions.htm share/applications/vendra.desktop \
            share/icons/hicolor/32x32/apps/vendra.png; do
  [ -f "$prefix/$file" ] || { echo "not installed: $file" >&2; exit 1; }
done
mkdir -p "$home"
chmod 755 "$work" && chmod -R a-w "$prefix" && chmod 777 "$home"
# Root may write anywhere: the program runs as an ordinary user.
as_user=()
[ "$(id -u)" -eq 0 ] && as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)

"$site" --port 0 --log "$work/site.log" >"$work/site.out" &
site_pid=$!
for _ in $(seq 100); do grep -q '^listening on' "$work/site.out" && break; sleep 0.1; done
port=$(sed -n 's/^listening on \([0-9]*\)$/\1/p' "$work/site.out")
[ -n "$port" ] || { echo "the sample site did not start" >&2; exit 1; }

page=$(env -i HOME="$home" PATH=/usr/bin:/bin http_proxy="http://127.0.0.1:$port" \
         "${as_user[@]}" "$prefix/bin/vendra" --category 267 --min-bids 2 2>"$work/progress")
folder=$home/.local/share/Vendra
[ "$page" = "$folder/Finalsearch.htm" ] || { echo "results page at '$page'" >&2; cat "$work/progress" >&2; exit 1; }
grep -q '</html>$' "$page" || { echo "results page incomplete" >&2; exit 1; }
cmp "$prefix/share/vendra/instructions.htm" "$folder/instructions.htm"
[ -z "$(ls -A "$prefix/bin" | grep -v '^vendra$')" ] || { echo "files written beside the program" >&2; exit 1; }
echo "installed program searched from a read-only prefix; working files and help page in $folder"
