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
trap 'umount "$work/files/full" 2>/dev/null; fusermount -u "$work/files/fat" 2>/dev/null; rm -rf "$work"' EXIT
mkdir "$work/files" && cd "$work/files" || exit 1
out_file=$work/out.bin
err_file=$work/err.txt
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect_run NAME STATUS STDOUT STDERR STDIN -- ARGS: runs the program with
# STDIN as its input and compares status, output and messages exactly. A run
# that hangs is stopped and fails.
expect_run() {
  local name=$1 status=$2 out=$3 err=$4 in=$5
  shift 6
  printf '%b' "$in" | timeout 120 "${cli[@]}" "$@" >"$out_file" 2>"$err_file"
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
[ "$(head -1 "$out_file")" = "kelbrin-cli 1.1.0" ] || fail "version: $(cat "$out_file")"
grep -qx 'License: MIT License <https://opensource.org/license/mit>.' "$out_file" || fail "version names no licence"
expect_run "nothing selected" 2 '' 'kelbrin-cli: nothing to do: choose --comments and/or --tabs' 'x' -- -3
expect_run "unknown option" 2 '' "kelbrin-cli: unknown option '-x' (see kelbrin-cli --help)" '' -- -cx

expect_run "filter, both rules chained" 0 "$tidied" '' "$source" -- -ct
expect_run "filter, explicit -" 0 'a\tb\tc\n' '' 'a   b    c\n' -- -t3 -
expect_run "filter, LF-only lines" 0 'a \nb\n' '' 'a // 1\nb// 2\n' -- --comments
expect_run "filter, pending blanks at the end" 0 'x\t' '' 'x   ' -- -t -3
expect_run "filter, empty input" 0 '' '' '' -- -ct3
expect_run "syntax: strings and block comments stay" 0 'url = "http://x"; x = 1;\r\n/* see http://x */ int y; \r\n' '' \
  'url = "http://x"; x = 1;\r\n/* see http://x */ int y; // z\r\n' -- --syntax=c -c
expect_run "syntax: blanks in strings stay" 0 'printf("a    b");\tx\n' '' 'printf("a    b");    x\n' -- --syntax=cpp -t
expect_run "syntax: code page 932 stepped over" 0 's = "\x95\x5c"; \n' '' 's = "\x95\x5c"; // c\n' -- --syntax=c -c --encoding=cp932
expect_run "syntax: auto on standard input" 2 '' \
  'kelbrin-cli: standard input has no name to choose a language by: give --syntax=c, cpp, java or pascal' 'x' -- --syntax=auto -c
expect_run "tab stops keep the column" 0 'ab\t  c\n' '' 'ab    c\n' -- -t --tab-stops=4
expect_run "tab stops: indentation only" 0 '\tx    y\n' '' '    x    y\n' -- -t -T 4 --leading
expect_run "tab stops and -3" 2 '' \
  'kelbrin-cli: -3 counts blanks and --tab-stops keeps columns: use one or the other (see kelbrin-cli --help)' '' -- -t3 -T4

# Writing into the file being read would grow it without end.
printf '%b' "$source" >self.pas
"${cli[@]}" -t <self.pas >>self.pas 2>"$err_file"
status=$?
[ "$status" = 1 ] || fail "filter on its own input: exit status $status, expected 1"
[ "$(tr -d '\r' <"$err_file")" = "kelbrin-cli: -: input file is output file" ] ||
  fail "filter on its own input: messages '$(cat "$err_file")'"
expect_file "filter on its own input" self.pas "$source"
rm self.pas

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

# Names that a command line or a program could get wrong. Windows allows no
# double quote in a name, so that one is for POSIX only.
names=('a b.pas' ' lead.pas' "it's.pas" 'ソース 表.pas' '-x.pas' '--tabs')
$posix && names+=('say "hi".pas' 'back\slash.pas')
for name in "${names[@]}"; do
  printf '%b' "$source" >"$name"
  expect_run "name '$name'" 0 '' '' '' -- -ct -- "$name"
  expect_file "name '$name'" "$name" "$tidied"
  expect_file "name '$name'" "ComOld_$name" "$source"
  expect_file "name '$name'" "TabOld_$name" "$no_comments"
done

# A name so long that the backup's name would pass the file system's limit.
long_name=$(printf 'n%.0s' $(seq 248)).pas
printf '%b' "$source" >"$long_name"
expect_run "a name too long for a backup" 1 '' "kelbrin-cli: $long_name: name too long; file unchanged" '' -- -c "$long_name"
expect_file "a name too long for a backup" "$long_name" "$source"
rm "$long_name"

if $posix; then
  # A link is followed: the file it leads to is tidied beside its backups, and
  # the link stays as it was.
  mkdir real links
  printf '%b' "$source" >real/x.pas
  ln -s ../real/x.pas links/l.pas
  ln -s ../real/missing.pas links/dangling.pas
  ln -s ../real links/folder
  expect_run "a link to a file" 0 '' '' '' -- -ct links/l.pas
  expect_file "a link to a file" real/x.pas "$tidied"
  expect_file "a link to a file" real/ComOld_x.pas "$source"
  expect_names "a link to a file" real ComOld_x.pas TabOld_x.pas x.pas
  [ "$(readlink links/l.pas)" = ../real/x.pas ] || fail "a link to a file: the link changed"
  expect_run "links to nothing and to a folder" 1 '' \
    "kelbrin-cli: links/dangling.pas: no such file; file unchanged
kelbrin-cli: links/folder: is a directory; file unchanged" '' -- -ct links/dangling.pas links/folder
  expect_names "links to nothing and to a folder" links dangling.pas folder l.pas

  # Opening a FIFO would wait for a writer that never comes.
  mkfifo pipe.pas
  expect_run "a FIFO" 1 '' "kelbrin-cli: pipe.pas: not a regular file; file unchanged" '' -- -ct pipe.pas
  [ -p pipe.pas ] || fail "a FIFO: pipe.pas is gone"
  ls ./*Old_pipe.pas >/dev/null 2>&1 && fail "a FIFO: a backup was made"

  # A real full disk: a tmpfs too small for the file and its rewritten copy.
  mkdir full
  if mount -t tmpfs -o size=64k tmpfs full 2>/dev/null; then
    yes 'value = a / b;' | head -c 40000 >full/x.pas
    cp full/x.pas "$work/before.pas"
    expect_run "a full disk" 1 '' "kelbrin-cli: full/x.pas: disk full; file unchanged" '' -- -ct full/x.pas
    cmp -s "$work/before.pas" full/x.pas || fail "a full disk: x.pas changed"
    expect_names "a full disk" full x.pas
    umount full
  else
    echo "skipped the full disk: cannot mount a tmpfs here (needs root)"
  fi

  # FAT through FUSE has neither hard links nor a rename that refuses to
  # replace: the original is moved to its backup name instead.
  mkdir fat
  if dd if=/dev/zero of="$work/fat.img" bs=1M count=4 status=none && mkfs.vfat "$work/fat.img" >/dev/null 2>&1 &&
    fusefat -o rw+ "$work/fat.img" fat >/dev/null 2>&1; then
    printf '%b' "$source" >fat/x.pas
    expect_run "FAT through FUSE" 0 '' '' '' -- -ct fat/x.pas
    expect_names "FAT through FUSE" fat ComOld_x.pas TabOld_x.pas x.pas
    expect_file "FAT through FUSE" fat/x.pas "$tidied"
    expect_file "FAT through FUSE" fat/ComOld_x.pas "$source"
    fusermount -u fat
  else
    echo "skipped FAT through FUSE: cannot mount one here (needs fusefat, dosfstools and /dev/fuse)"
  fi
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures failed"
  exit 1
fi
echo "all passed"
