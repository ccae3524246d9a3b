#!/usr/bin/env bash
# Starts the real kelbrin.exe with a file in a code-page 932 folder, ticks
# both passes and presses the run button with real key presses, dismisses the
# completion box, closes the window and checks the files on disk.
# Usage: window_test.sh EMULATOR PROGRAM. Needs DISPLAY and xdotool.
set -u
emulator=$1
program=$2
work=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  exit 1
}

# wait_for WHAT COMMAND...: polls the command until it succeeds, for up to 60 s.
wait_for() {
  local what=$1
  shift
  for _ in $(seq 600); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  fail "timed out waiting for $what"
}

# The visible windows captioned "Kelbrin": the main window, and the message box while it shows.
kelbrin_windows() { xdotool search --onlyvisible --name '^Kelbrin$' 2>/dev/null; }
count_is() { [ "$(kelbrin_windows | wc -l)" -eq "$1" ]; }
has_bytes() { printf '%b' "$2" | cmp -s - "$1"; }
ended() { ! kill -0 "$pid" 2>/dev/null; }

source='a = b / c; // note\r\n    x\r\n'
no_comments='a = b / c; \r\n    x\r\n'
tidied='a = b / c; \r\n\tx\r\n'

folder="$work/ソース"
mkdir "$folder"
printf '%b' "$source" >"$folder/表.pas"
"$emulator" "$program" "Z:$(printf '%s' "$folder" | tr / '\\')\\表.pas" &
pid=$!

wait_for "the main window" count_is 1
main=$(kelbrin_windows)
xdotool windowfocus --sync "$main"
# The focus starts on the comment box; the run button is five Tabs on.
xdotool key --delay 50 space Tab space Tab Tab Tab Tab Return

wait_for "the completion box" count_is 2
wait_for "the rewritten file" has_bytes "$folder/表.pas" "$tidied"
has_bytes "$folder/ComOld_表.pas" "$source" || fail "ComOld_表.pas does not hold the original"
has_bytes "$folder/TabOld_表.pas" "$no_comments" || fail "TabOld_表.pas does not hold the file without comments"
[ "$(ls "$folder" | wc -l)" -eq 3 ] || fail "unexpected files: $(ls "$folder")"

box=$(kelbrin_windows | grep -vx "$main")
xdotool windowfocus --sync "$box"
xdotool key Return
wait_for "the box to close" count_is 1

# A second box would keep the disabled main window from closing.
xdotool windowfocus --sync "$main"
xdotool key alt+F4
wait_for "the program to end" ended
wait "$pid" || fail "kelbrin.exe ended with status $?"
pid=
echo "PASS"
