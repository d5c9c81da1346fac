#!/usr/bin/env bash
# Installs Vendra into a temporary prefix that its user cannot write, either from a build folder
# (cmake --install) or from the Debian package (dpkg -x into a scratch root), checks that every
# file a desktop looks for is there, runs `vendra --version` and a search from the command line
# there against the sample site, and checks that the working files and the help page went to the
# per-user folder, and that a home it cannot write ends a search before anything is fetched.
# Arguments: the build folder or the .deb, the sample site's program.
set -euo pipefail
from=$1 site=$2
work=$(mktemp -d)
site_pid=
trap '[ -n "$site_pid" ] && kill $site_pid 2>/dev/null; chmod -R u+w "$work"; rm -rf "$work"' EXIT
home=$work/home
if [[ $from == *.deb ]]; then
  dpkg-deb -x "$from" "$work/root"
  prefix=$work/root/usr
else
  prefix=$work/prefix
  cmake --install "$from" --prefix "$prefix" >/dev/null
fi
for file in bin/vendra share/vendra/instructions.htm share/applications/com.example.vendra.desktop \
            share/metainfo/com.example.vendra.metainfo.xml share/man/man1/vendra.1.gz \
            share/bash-completion/completions/vendra share/doc/vendra/copyright \
            share/doc/vendra/changelog.gz share/icons/hicolor/{32x32,64x64,128x128}/apps/vendra.png; do
  [ -f "$prefix/$file" ] || { echo "not installed: $file" >&2; exit 1; }
done
mkdir -p "$home"
chmod 755 "$work" "$(dirname "$prefix")" && chmod -R a-w "$prefix" && chmod 777 "$home"
# Root may write anywhere: the program runs as an ordinary user.
as_user=()
[ "$(id -u)" -eq 0 ] && as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)

"$site" --port 0 --log "$work/site.log" >"$work/site.out" &
site_pid=$!
for _ in $(seq 100); do grep -q '^listening on' "$work/site.out" && break; sleep 0.1; done
port=$(sed -n 's/^listening on \([0-9]*\)$/\1/p' "$work/site.out")
[ -n "$port" ] || { echo "the sample site did not start" >&2; exit 1; }

project=$(dirname "$0")/../../CMakeLists.txt
expected="vendra $(sed -n 's/^project(Vendra VERSION \([0-9.]*\) .*/\1/p' "$project")"
version=$(env -i HOME="$home" PATH=/usr/bin:/bin "${as_user[@]}" "$prefix/bin/vendra" --version)
[ "$version" = "$expected" ] || { echo "the installed program says '$version'" >&2; exit 1; }
page=$(env -i HOME="$home" PATH=/usr/bin:/bin http_proxy="http://127.0.0.1:$port" \
         "${as_user[@]}" "$prefix/bin/vendra" --category 267 --min-bids 2 2>"$work/progress")
folder=$home/.local/share/Vendra
[ "$page" = "$folder/Finalsearch.htm" ] || { echo "results page at '$page'" >&2; cat "$work/progress" >&2; exit 1; }
grep -q '</html>$' "$page" || { echo "results page incomplete" >&2; exit 1; }
cmp "$prefix/share/vendra/instructions.htm" "$folder/instructions.htm"
# No folder it may write (a home it cannot write): said at once, naming the folder, nothing fetched.
locked=$work/locked-home
mkdir -p "$locked" && chmod 555 "$locked"
requests=$(wc -l <"$work/site.log")
if env -i HOME="$locked" PATH=/usr/bin:/bin http_proxy="http://127.0.0.1:$port" \
     "${as_user[@]}" "$prefix/bin/vendra" --category 267 >/dev/null 2>"$work/progress"; then
  echo "searched without a folder" >&2; exit 1
fi
grep -q "No folder can hold the working files: $locked/.local/share/Vendra cannot be written" \
  "$work/progress" || { echo "no folder, not said:" >&2; cat "$work/progress" >&2; exit 1; }
[ "$(wc -l <"$work/site.log")" = "$requests" ] || { echo "fetched without a folder" >&2; exit 1; }
# Run by whoever runs this (root in CI, who may write the prefix all the same): an installed
# program keeps its files in the per-user folder too.
own=$work/own-home
mkdir -p "$own"
page=$(env -i HOME="$own" PATH=/usr/bin:/bin http_proxy="http://127.0.0.1:$port" \
         "$prefix/bin/vendra" --category 267 --min-bids 2 2>"$work/progress")
[ "$page" = "$own/.local/share/Vendra/Finalsearch.htm" ] ||
  { echo "results page of the second run at '$page'" >&2; cat "$work/progress" >&2; exit 1; }
[ -z "$(ls -A "$prefix/bin" | grep -v '^vendra$')" ] || { echo "files written beside the program" >&2; exit 1; }
echo "installed program searched from a read-only prefix; working files and help page in $folder"
