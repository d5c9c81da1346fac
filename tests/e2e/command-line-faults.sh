#!/usr/bin/env bash
# The command line where the system fails it or its folder holds traps: standard output full or
# closed, standard error closed early, links, FIFOs and folders planted at the working files' and
# the lock's paths, bad locks, a --since name that holds a line break, and --since files that are
# large or never end, under a memory limit. Every run has a deadline: a hang fails (status 124).
# Arguments: the program, the sample site, 1 when built with sanitizers (no memory limit then).
set -uo pipefail
vendra=$1 site=$2 sanitized=${3:-0}
work=$(mktemp -d)
site_pid=
trap '[ -n "$site_pid" ] && kill $site_pid 2>/dev/null; umount "$work/full" 2>/dev/null; rm -rf "$work"' EXIT
app=$work/app
mkdir -p "$app"
cp "$vendra" "$app/vendra"

"$site" --port 0 --log "$work/site.log" >"$work/site.out" &
site_pid=$!
for _ in $(seq 100); do grep -q '^listening on' "$work/site.out" && break; sleep 0.1; done
port=$(sed -n 's/^listening on \([0-9]*\)$/\1/p' "$work/site.out")
[ -n "$port" ] || { echo "the sample site did not start" >&2; exit 1; }
export http_proxy=http://127.0.0.1:$port

failures=0
fail() { echo "FAILED: $*" >&2; [ -f "$work/err" ] && sed 's/^/  /' "$work/err" >&2; failures=$((failures + 1)); }
run() { timeout 60 "$app/vendra" --category 6000 "$@"; }  # one page of listings
said() { grep -q -- "$1" "$work/err"; }
clean() { rm -rf "$app/Finalsearch.htm" "$app/Listinglist.txt" "$app/Vendra-search.lock"; }

# Standard output full, and a pipe whose reader has gone: status 1 and a message, no SIGPIPE.
run >/dev/full 2>"$work/err"
status=$?
[ $status = 1 ] && said "write error on standard output: No space left on device" || fail "stdout full: $status"
mkfifo "$work/pipe"
true <"$work/pipe" &
reader=$!
exec 4>"$work/pipe"
wait $reader
run >&4 2>"$work/err"
status=$?
[ $status = 1 ] && said "write error on standard output: Broken pipe" || fail "stdout closed: $status"
# Standard error closed early: the search still ends as it would, its listing file gone.
run >"$work/out" 2>&4
status=$?
exec 4>&-
[ $status = 0 ] && [ ! -e "$app/Listinglist.txt" ] && [ -s "$work/out" ] || fail "stderr closed: $status"

# Links and FIFOs planted at the working files: removed, never followed nor waited on.
clean
ln -s "$work/made-through-link" "$app/Finalsearch.htm"
ln -s "$work/also-made" "$app/Listinglist.txt"
run >"$work/out" 2>"$work/err"
status=$?
[ $status = 0 ] && [ ! -e "$work/made-through-link" ] && [ ! -e "$work/also-made" ] &&
  [ ! -L "$app/Finalsearch.htm" ] || fail "links at the working files: $status"
clean
mkfifo "$app/Finalsearch.htm" "$app/Listinglist.txt" "$work/d.json.partial"
run --data "$work/d.json" >"$work/out" 2>"$work/err"
status=$?
[ $status = 0 ] && [ -f "$app/Finalsearch.htm" ] && [ -s "$work/d.json" ] &&
  [ -p "$work/d.json.partial" ] || fail "FIFOs at the working files: $status"

# Locks: a file of any content serves; anything else is refused with a message, at once.
for lock in empty bytes folder link fifo; do
  clean
  case $lock in
    empty) : >"$app/Vendra-search.lock" ;;
    bytes) head -c 300 /dev/urandom >"$app/Vendra-search.lock" ;;
    folder) mkdir "$app/Vendra-search.lock" ;;
    link) ln -s "$work/lock-target" "$app/Vendra-search.lock" ;;
    fifo) mkfifo "$app/Vendra-search.lock" ;;
  esac
  run >"$work/out" 2>"$work/err"
  status=$?
  case $lock in
    empty | bytes) [ $status = 0 ] || fail "a lock file with $lock: $status" ;;
    *) [ $status = 1 ] && said "Vendra-search.lock is not a regular file" &&
         said "the folder of the working files cannot be used" && [ ! -e "$work/lock-target" ] ||
         fail "a lock that is a $lock: $status" ;;
  esac
done
clean
# A folder at a working file's path: refused before anything is fetched.
mkdir -p "$app/Listinglist.txt/x"
requests=$(wc -l <"$work/site.log")
run >"$work/out" 2>"$work/err"
status=$?
[ $status = 1 ] && said "Cannot delete $app/Listinglist.txt: not a regular file" &&
  [ "$(wc -l <"$work/site.log")" = "$requests" ] || fail "a folder at the listing file: $status"
clean

# --since: a name with a line break prints as one line; a file that never ends is an error at
# its place; 100 MB of links are read under a memory limit a whole-file read would break.
run --data "$work/last.csv" >"$work/out" 2>"$work/err" || fail "data file: $?"
since="$work/last
FAKE: 0 of 0 listings are new since x.csv"
cp "$work/last.csv" "$since"
run --since "$since" >"$work/out" 2>"$work/err"
status=$?
[ $status = 0 ] && ! grep -q '^FAKE' "$work/err" && said "new since $work/last?FAKE" || fail "--since name: $status"
{ printf '[{"x":'; head -c 5000000 /dev/zero | tr '\0' '['; } >"$work/deep.json"
run --since "$work/deep.json" >"$work/out" 2>"$work/err"
status=$?
[ $status = 2 ] && said "nested deeper than 64 levels at byte 69" || fail "5 MB of [: $status"
if [ "$sanitized" != 1 ]; then
  # Short fields around each link: a whole-file reader keeps each as a string of its own.
  awk 'BEGIN { printf "bids,title,link,price,ends,new\r\n"; c = sprintf("%60s", ""); gsub(/ /, ",", c)
               for (i = 0; i < 1250000; i++) printf "%d,,http://x/%07d%s\r\n", i % 50, i, c }' \
    >"$work/big.csv"
  (ulimit -v 1000000 && run --since "$work/big.csv" >"$work/out" 2>"$work/err")
  status=$?
  [ $status = 0 ] && said "listings are new since $work/big.csv" || fail "100 MB --since: $status"
fi
# A disk that fills during the walk (a small file system of its own, where one may be mounted):
# the blocks it refused are told, also when no results page follows.
mkdir "$work/full"
if mount -t tmpfs -o size=$(($(stat -c %s "$vendra") + 60000)) tmpfs "$work/full" 2>/dev/null; then
  cp "$vendra" "$work/full/vendra"
  timeout 60 "$work/full/vendra" --category 267 >"$work/out" 2>"$work/err"
  status=$?
  [ $status = 1 ] && said "listing blocks could not be written to the listing file (No space left" ||
    fail "a full disk: $status"
  umount "$work/full"
fi
[ $failures = 0 ] && echo "every fault of the command line ended as it should"
