#!/usr/bin/env bash
# The desktop entry and the AppStream metadata: both validators pass without a word (hints and
# warnings count), and the two name each other, the program and the icon alike. Argument: the
# source folder.
set -euo pipefail
resources=$1/resources
id=$(sed -n 's/^set(VENDRA_APP_ID \(.*\))$/\1/p' "$1/CMakeLists.txt")
entry=$resources/$id.desktop metainfo=$resources/$id.metainfo.xml
fail() { echo "desktop-metadata: $*" >&2; exit 1; }

said=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $said"
[ -z "$said" ] || fail "desktop-file-validate: $said"
said=$(appstreamcli validate --no-net --pedantic --no-color "$metainfo" 2>&1) ||
  fail "appstreamcli: $said"
grep -qE '^(E|W|P):' <<<"$said" && fail "appstreamcli: $said"

value() { sed -n "s|.*<$1[^>]*>\(.*\)</$1>.*|\1|p" "$metainfo" | head -n 1; }
[ "$(value id)" = "$id" ] || fail "the metadata's id is not $id"
[ "$(value launchable)" = "$id.desktop" ] || fail "the metadata launches $(value launchable)"
[ "$(value binary)" = vendra ] || fail "the metadata provides $(value binary)"
grep -qx 'Exec=vendra' "$entry" || fail "the desktop entry does not start vendra"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -f "$resources/$icon.png" ] || fail "the desktop entry's icon $icon is not among the resources"
echo "desktop entry and metadata of $id valid and in agreement"
