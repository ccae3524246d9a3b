#!/usr/bin/env bash
# A file that another program holds open without sharing is left alone: the
# CLI says it is in use, changes nothing and makes no backup.
# Usage: in_use_test.sh EMULATOR CLI HOLDER, with HOLDER the hold_open program.
set -u
emulator=$1 cli=$2 holder=$3
work=$(mktemp -d)
holder_pid=
finish() {
  exec 3>&- 2>/dev/null
  [ -n "$holder_pid" ] && wait "$holder_pid"
  rm -rf "$work"
}
trap finish EXIT
mkdir "$work/files" && cd "$work/files" || exit 1
source='a = b / c; // note\r\n    x\r\n'
printf '%b' "$source" >x.pas

# The holder reads its standard input from a FIFO that this script keeps open
# until the end; closing it lets the holder go.
mkfifo "$work/control"
"$emulator" "$holder" x.pas <"$work/control" >"$work/held.txt" 2>&1 &
holder_pid=$!
exec 3>"$work/control"
for _ in $(seq 600); do
  grep -q held "$work/held.txt" && break
  kill -0 "$holder_pid" 2>/dev/null || break
  sleep 0.1
done
if ! grep -q held "$work/held.txt"; then
  echo "FAIL: the holder did not get the file: $(cat "$work/held.txt")"
  exit 1
fi

"$emulator" "$cli" -ct x.pas >"$work/out.txt" 2>"$work/err.txt"
status=$?
said=$(tr -d '\r' <"$work/err.txt")
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
[ "$status" = 1 ] || fail "exit status $status, expected 1"
[ "$said" = "kelbrin-cli: x.pas: in use by another program; file unchanged" ] || fail "messages '$said'"
[ "$(ls -A)" = "x.pas" ] || fail "the folder holds $(ls -A | tr '\n' ' ')"
printf '%b' "$source" | cmp -s - x.pas || fail "x.pas changed"

if [ "$failures" -ne 0 ]; then
  echo "$failures failed"
  exit 1
fi
echo "1 passed, 0 failed"
