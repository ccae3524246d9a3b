#!/usr/bin/env bash
# Ctrl-C during a run of kelbrin-cli.exe under Wine (SIGINT, which Wine hands
# to the program as a console Ctrl-C): the run stops with exit status 130,
# says so, leaves no work file and the file's name holds a whole file.
# Usage: interrupt_test.sh EMULATOR CLI
set -u
emulator=$1 cli=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

yes '    if (a / b) x();    // why' | head -c 100000000 >original.pas
"$emulator" "$cli" -c <original.pas >comments.pas 2>/dev/null
"$emulator" "$cli" -ct <original.pas >tidied.pas 2>/dev/null

# The moment is found by trying: too early, Wine ends the program before it
# listens; too late, the run is over.
delay=0.3
for attempt in $(seq 8); do
  mkdir "try$attempt" && cp original.pas "try$attempt/stop-me.pas"
  (cd "try$attempt" && exec "$emulator" "$cli" -ct stop-me.pas 2>../err.txt) &
  runner=$!
  program=
  for _ in $(seq 500); do
    program=$(pgrep -f "^[^ ]*$(basename "$cli") -ct stop-me.pas" | head -1)
    [ -n "$program" ] && break
    sleep 0.01
  done
  sleep "$delay"
  [ -n "$program" ] && kill -INT "$program" 2>/dev/null
  wait "$runner"
  status=$?
  said=$(tr -d '\r' <err.txt)
  if [ "$status" = 130 ] && [ "$said" != "kelbrin-cli: interrupted" ]; then
    failures=0
    [ "$said" = "kelbrin-cli: stop-me.pas: interrupted; file unchanged" ] || { echo "FAIL: messages '$said'"; failures=1; }
    leftovers=$(ls -A "try$attempt" | grep -v -e '^stop-me\.pas$' -e '^ComOld_stop-me\.pas$')
    [ -z "$leftovers" ] || { echo "FAIL: left over: $leftovers"; failures=1; }
    if ! cmp -s original.pas "try$attempt/stop-me.pas" && ! cmp -s comments.pas "try$attempt/stop-me.pas"; then
      echo "FAIL: stop-me.pas holds neither the original nor the first pass's result"
      failures=1
    fi
    [ "$failures" = 0 ] && echo "1 passed (attempt $attempt, ${delay}s)"
    exit "$failures"
  fi
  # Stopped after the last pass had published its result: too late, but the
  # result stands and the stop is told.
  if [ "$status" = 130 ] && [ "$said" = "kelbrin-cli: interrupted" ]; then
    cmp -s tidied.pas "try$attempt/stop-me.pas" || { echo "FAIL: interrupted after the passes, but not tidied"; exit 1; }
    status=0
  elif [ "$status" = 0 ]; then
    cmp -s tidied.pas "try$attempt/stop-me.pas" || { echo "FAIL: exit status 0 but stop-me.pas is not tidied"; exit 1; }
  fi
  if [ "$status" = 0 ]; then
    delay=$(awk "BEGIN { print $delay / 2 }")
  else
    delay=$(awk "BEGIN { print $delay * 1.5 }")
  fi
  rm -rf "try$attempt"
done
echo "FAIL: no attempt was stopped in time (last exit status $status, '$said')"
exit 1
