#!/usr/bin/env bash
# Holds the manual page (docs/vendra.1) and the bash completion
# (resources/vendra.bash-completion) to what `vendra --help` says: the page renders without a
# warning, names every option and exit status of --help and no other, and the completion,
# sourced into a bare bash, offers the options, the search modes and the category names that
# --help lists. Arguments: the vendra program, the source folder.
set -euo pipefail
shopt -s inherit_errexit
prog=$(cd "$(dirname "$1")" && pwd)/$(basename "$1") source=$2
page=$source/docs/vendra.1
completion=$source/resources/vendra.bash-completion
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/folder"

fail() {
  echo "manual-and-completion: $*" >&2
  exit 1
}

[ -x "$prog" ] || fail "no program at $prog"
[ -f "$page" ] || fail "no manual page at $page"
[ -f "$completion" ] || fail "no completion at $completion"
help=$("$prog" --help) || fail "vendra --help failed"
version=$("$prog" --version) || fail "vendra --version failed"

# The options, search modes, exit statuses and category names that --help states.
mapfile -t options < <(grep -oE -- '--[a-z][a-z-]*' <<<"$help" | sort -u)
((${#options[@]})) || fail "vendra --help names no option"
mapfile -t modes < <(sed -n 's/.*--mode \([a-z|]*\).*/\1/p' <<<"$help" | head -n 1 | tr '|' '\n')
((${#modes[@]} > 1)) || fail "vendra --help gives no values of --mode"
mapfile -t statuses < <(tr '\n' ' ' <<<"$help" | sed -n 's/.*Exit status: \([^.]*\)\..*/\1/p' |
                        grep -oE '(^|, )[0-9]+' | tr -dc '0-9\n')
((${#statuses[@]})) || fail "vendra --help states no exit status"
mapfile -t categories < <(sed -n '/^CATEGORY-NAME is one of:$/,$ s/^    \(.\)/\1/p' <<<"$help")
((${#categories[@]})) || fail "vendra --help lists no category name"
# The options whose value the completion leaves to the user: all but files and category names.
mapfile -t free_values < <(grep -oE -- '--[a-z][a-z-]* [A-Z][A-Z-]*' <<<"$help" |
                           grep -vE ' (FILE|CATEGORY-NAME)$' | cut -d' ' -f1 | sort -u)

# The page renders without a warning, through man as a reader sees it and through groff.
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null) ||
  fail "man could not render $page"
[ -z "$warnings" ] || fail "man warns about $page: $(head -n 1 <<<"$warnings")"
warnings=$(groff -man -ww -z "$page" 2>&1) || fail "groff could not render $page"
[ -z "$warnings" ] || fail "groff warns about $page: $(head -n 1 <<<"$warnings")"

# The rendered text, with the words hyphenated at a line's end joined again.
text=$(LC_ALL=C.UTF-8 MANWIDTH=100 man -E UTF-8 -l "$page" 2>/dev/null | col -bx |
       LC_ALL=C sed -z 's/\xe2\x80\x90\n *//g')
section() { awk -v name="$1" '/^[A-Z]/ { inside = ($0 == name); next } inside' <<<"$text"; }
options_section=$(section OPTIONS)
exit_section=$(section "EXIT STATUS")
[ -n "$options_section" ] || fail "the manual page has no OPTIONS section"
[ -n "$exit_section" ] || fail "the manual page has no EXIT STATUS section"

# Every option of --help has an entry of its own under OPTIONS; the page names no other.
mapfile -t entries < <(sed -n 's/^       \(--[a-z][a-z-]*\).*/\1/p' <<<"$options_section" | sort -u)
for option in "${options[@]}"; do
  printf '%s\n' "${entries[@]}" | grep -qxF -- "$option" ||
    fail "the manual page's OPTIONS section has no entry for $option"
done
# (The commands of other programs it shows, systemctl's and journalctl's, take their own.)
mapfile -t named < <(grep -vE '^ *(systemctl|journalctl) ' <<<"$text" |
                     grep -oE -- '--[a-z][a-z-]*' | sort -u)
for option in "${named[@]}"; do
  printf '%s\n' "${options[@]}" | grep -qxF -- "$option" ||
    fail "the manual page names $option, which vendra --help does not"
done
# The same exit statuses, each with an entry.
mapfile -t page_statuses < <(sed -n 's/^       \([0-9][0-9]*\)\( .*\)\{0,1\}$/\1/p' \
                               <<<"$exit_section")
for status in "${statuses[@]}"; do
  printf '%s\n' "${page_statuses[@]}" | grep -qxF "$status" ||
    fail "the manual page's EXIT STATUS section lacks $status"
done
for status in "${page_statuses[@]}"; do
  printf '%s\n' "${statuses[@]}" | grep -qxF "$status" ||
    fail "the manual page gives exit status $status, which vendra --help does not"
done
grep -q "^\.TH VENDRA 1 [^ ]* \"Vendra ${version#vendra }\"" "$page" ||
  fail "the manual page's .TH line does not name the version of $version"

# The completion. `replies WORD... CURRENT` completes CURRENT, typed as is after the program
# and WORDs, in a bare bash in a folder of its own, and prints the replies one a line.
function=$(sed -n 's/^complete -F \([A-Za-z_][A-Za-z0-9_]*\) vendra$/\1/p' "$completion")
[ -n "$function" ] || fail "the completion has no 'complete -F FUNCTION vendra'"
replies() {
  local line
  line=$(printf '%q' "$prog")
  for word in "$@"; do line+=" $word"; done
  (cd "$work/folder" && LINE=$line bash --norc --noprofile -c '
    source "$1" >/dev/null || exit 3
    function=$2
    shift 2
    COMP_WORDS=("$@") COMP_CWORD=$(($# - 1)) COMP_LINE=$LINE COMP_POINT=${#LINE}
    COMP_TYPE=9 COMP_KEY=9
    COMPREPLY=()
    "$function" vendra "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    ((${#COMPREPLY[@]} == 0)) || printf "%s\n" "${COMPREPLY[@]}"
  ' _ "$completion" "$function" "$prog" "$@" 2>"$work/stderr") ||
    fail "the completion failed on '$line': $(head -n 1 "$work/stderr")"
}
# The replies to `WORD... CURRENT` as the shell reads them back, sorted.
unquoted_replies() {
  local out reply
  local -a words
  out=$(replies "$@")
  [ -n "$out" ] || return 0
  while IFS= read -r reply; do
    eval "words=($reply)"
    ((${#words[@]} == 1)) || fail "the completion offers '$reply' after '$*', not one word"
    printf '%s\n' "${words[0]}"
  done <<<"$out" | LC_ALL=C sort
}
expect() {
  local what=$1 got=$2 wanted=$3
  [ "$got" = "$wanted" ] ||
    fail "the completion offers $what: '$(paste -sd '|' <<<"$got")'," \
         "not '$(paste -sd '|' <<<"$wanted")'"
}
sorted() { printf '%s\n' "$@" | LC_ALL=C sort; }

got=$(unquoted_replies --)
expect "for '--'" "$got" "$(sorted "${options[@]}")"
got=$(unquoted_replies --mode '')
expect "after --mode" "$got" "$(sorted "${modes[@]}")"
got=$(unquoted_replies --in '')
expect "after --in" "$got" "$(sorted "${categories[@]}")"
# Each name from the shortest start that no other name shares, typed escaped.
for name in "${categories[@]}"; do
  for ((length = 1; length < ${#name}; length++)); do
    count=0
    for other in "${categories[@]}"; do
      if [[ $other == "${name:0:length}"* ]]; then count=$((count + 1)); fi
    done
    if ((count == 1)); then break; fi
  done
  typed=$(printf %q "${name:0:length}")
  got=$(unquoted_replies --in "$typed")
  expect "after --in $typed" "$got" "$name"
done
# Typed after an opening quote, up to a '&', the reply takes the place of what follows the
# quote, and the shell closes it.
for name in "${categories[@]}"; do
  if [[ $name != *'&'* ]]; then continue; fi
  typed=\"${name%%&*}\&
  got=$(replies --in "$typed")
  eval "words=(\"$got\")"
  expect "after --in $typed" "${words[*]}" "$name"
  break
done
for option in "${free_values[@]}"; do
  got=$(replies "$option" '')
  expect "after $option" "$got" ""
done
# File names for --data: the data files and the folders before anything else.
mkdir "$work/folder/data" && touch "$work/folder/"{earlier.csv,earlier.json,notes.txt}
got=$(unquoted_replies --data '')
expect "after --data" "$got" "$(sorted data earlier.csv earlier.json)"

# The verbs first, the saved searches' names after one, and file names for their files.
got=$(unquoted_replies w)
expect "for 'w'" "$got" "watch"
mkdir -p "$work/config/vendra" && printf '[books]\ncategory = 1\n\n[red-shoes] # x\nkeywords = "a"\n' \
  >"$work/config/vendra/searches.toml"
got=$(XDG_CONFIG_HOME=$work/config unquoted_replies watch '')
expect "after watch" "$got" "$(sorted books red-shoes "${options[@]}")"
got=$(XDG_CONFIG_HOME=$work/config unquoted_replies history r)
expect "after history r" "$got" "red-shoes"
got=$(unquoted_replies --searches '')
expect "after --searches" "$got" "$(sorted data earlier.csv earlier.json notes.txt)"

echo "manual page and completion agree with vendra --help: ${#options[@]} options," \
     "${#statuses[@]} exit statuses, ${#categories[@]} category names"
