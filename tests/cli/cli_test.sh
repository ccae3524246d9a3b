#!/usr/bin/env bash
# Drives kelbrin-cli end to end: filter mode, rewriting in place, messages and
# exit statuses. Usage: cli_test.sh PROGRAM [ARG...], where PROGRAM may be an
# emulator that runs the real program given by the ARGs; the cases that only
# POSIX systems have (symbolic links, FIFOs) run when it is not.
set -u
cli=("$@")
posix=true
[ $# -gt 1 ] && posix=false
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/files" && cd "$work/files" || exit 1
out_file=$work/out.bin
err_file=$work/err.txt
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect_run NAME STATUS STDOUT STDERR STDIN -- ARGS: runs the program with
# STDIN as its input and compares status, output and messages exactly.
expect_run() {
  local name=$1 status=$2 out=$3 err=$4 in=$5
  shift 6
  printf '%b' "$in" | "${cli[@]}" "$@" >"$out_file" 2>"$err_file"
  local got=$?
  [ "$got" = "$status" ] || fail "$name: exit status $got, expected $status"
  printf '%b' "$out" | cmp -s - "$out_file" || fail "$name: output $(od -c "$out_file" | head -3)"
  # Messages end their lines as the platform does (CR LF on Windows).
  local said
  said=$(tr -d '\r' <"$err_file")
  [ "$said" = "$err" ] || fail "$name: messages '$said', expected '$err'"
}

# expect_file NAME PATH BYTES
expect_file() {
  if [ ! -f "./$2" ]; then fail "$1: $2 is missing"; return; fi
  printf '%b' "$3" | cmp -s - "./$2" || fail "$1: $2 holds $(od -c "./$2" | head -3)"
}

expect_names() {  # NAME FOLDER NAMES...
  local name=$1 folder=$2
  shift 2
  local got
  got=$(cd "$folder" && ls -A | LC_ALL=C sort | tr '\n' '|')
  local want=
  [ $# -eq 0 ] || want=$(printf '%s\n' "$@" | LC_ALL=C sort | tr '\n' '|')
  [ "$got" = "$want" ] || fail "$name: $folder holds '$got', expected '$want'"
}

source='a = b / c; // note\r\n    x\r\n'
no_comments='a = b / c; \r\n    x\r\n'
tidied='a = b / c; \r\n\tx\r\n'

"${cli[@]}" --version | tr -d '\r' >"$out_file"
[ "$(cat "$out_file")" = "kelbrin-cli 1.1.0" ] || fail "version: $(cat "$out_file")"
expect_run "nothing selected" 2 '' 'kelbrin-cli: nothing to do: choose --comments and/or --tabs' 'x' -- -3
expect_run "unknown option" 2 '' "kelbrin-cli: unknown option '-x' (see kelbrin-cli --help)" '' -- -cx

expect_run "filter, both rules chained" 0 "$tidied" '' "$source" -- -ct
expect_run "filter, explicit -" 0 'a\tb\tc\n' '' 'a   b    c\n' -- -t3 -
expect_run "filter, LF-only lines" 0 'a \nb\n' '' 'a // 1\nb// 2\n' -- --comments
expect_run "filter, pending blanks at the end" 0 'x\t' '' 'x   ' -- -t -3
expect_run "filter, empty input" 0 '' '' '' -- -ct3

printf '%b' "$source" >x.pas
expect_run "in place" 0 '' '' '' -- -ct x.pas
expect_file "in place" x.pas "$tidied"
expect_file "in place" ComOld_x.pas "$source"
expect_file "in place" TabOld_x.pas "$no_comments"

printf '%b' "$source" >x.pas
expect_run "in place again" 0 '' '' '' -- -ct x.pas
expect_names "in place again" . 'ComOld_x (2).pas' ComOld_x.pas 'TabOld_x (2).pas' TabOld_x.pas x.pas
expect_file "in place again" 'ComOld_x (2).pas' "$source"

mkdir sub folder
printf '%b' "$source" >sub/y.pas
printf '%b' "$source" >-z.pas
expect_run "a failure does not stop the others" 1 '' \
  "kelbrin-cli: missing.pas: no such file; file unchanged
kelbrin-cli: folder: is a directory; file unchanged" '' -- -c missing.pas sub/y.pas folder -- -z.pas
expect_file "a failure does not stop the others" sub/y.pas 'a = b / c; \r\n    x\r\n'
expect_file "a failure does not stop the others" sub/ComOld_y.pas "$source"
expect_file "a leading dash after --" -z.pas "$no_comments"
expect_names "nothing made where it failed" folder

# A name so long that the backup's name would pass the file system's limit.
long_name=$(printf 'n%.0s' $(seq 248)).pas
printf '%b' "$source" >"$long_name"
expect_run "a name too long for a backup" 1 '' "kelbrin-cli: $long_name: name too long; file unchanged" '' -- -c "$long_name"
expect_file "a name too long for a backup" "$long_name" "$source"
rm "$long_name"

if [ "$failures" -ne 0 ]; then
  echo "$failures failed"
  exit 1
fi
echo "all passed"
