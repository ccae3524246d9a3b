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

# expect_output NAME STATUS FILE ARGS...: runs the program with no input and
# compares its status, and its output with FILE's bytes; it says nothing.
expect_output() {
  local name=$1 status=$2 expected=$3
  shift 3
  timeout 120 "${cli[@]}" "$@" </dev/null >"$out_file" 2>"$err_file"
  local got=$?
  [ "$got" = "$status" ] || fail "$name: exit status $got, expected $status"
  cmp -s "$expected" "$out_file" || fail "$name: output $(od -c "$out_file" | head -3)"
  [ -s "$err_file" ] && fail "$name: messages $(cat "$err_file")"
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
if ! $posix; then
  "${cli[@]}" '/?' | tr -d '\r' | head -1 >"$out_file"
  [ "$(cat "$out_file")" = "Usage: kelbrin-cli [OPTION]... [FILE]..." ] || fail "/?: $(cat "$out_file")"
fi
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
[ "$(tr -d '\r' <"$err_file")" = "kelbrin-cli: standard output: input file is output file" ] ||
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

# The files of a folder with what tells a touched file apart: inode, time of
# the last change, size.
snapshot() { find "$1" -type f -printf '%p %i %T@ %s\n' | LC_ALL=C sort; }

# Long options by any unambiguous start; what cannot be taken says why.
printf '%b' "$source" >p.pas
expect_run "a long option shortened" 0 '' '' '' -- --com --tabs p.pas
expect_file "a long option shortened" p.pas "$tidied"
expect_run "an option given a value" 2 '' \
  "kelbrin-cli: option '--check' doesn't allow an argument (see kelbrin-cli --help)" '' -- -c --check=yes p.pas
expect_run "an ambiguous option" 2 '' \
  "kelbrin-cli: option '--c' is ambiguous; possibilities: '--comments' '--check' (see kelbrin-cli --help)" '' -- --c

# --check, --diff and --stdout touch nothing: every file keeps its inode and
# its time, and no file is made.
mkdir show
printf 'a = b / c; // note\r\n    x\r\n\r\n// gone\r\n' >show/crlf.pas
printf 'one // 1\n    two\n3\n4\n5\n6\n7\n8\n9\nten    // 10\n' >show/lf.pas
printf 'a // b\r    c\r' >show/cr.pas
printf 'x\ny // z' >show/no-end.pas
printf 'x\n// only a comment' >show/gone.pas
printf 'nothing\tto do\r\n' >show/same.pas
shown=(show/cr.pas show/crlf.pas show/gone.pas show/lf.pas show/no-end.pas show/same.pas)
touch -d '2001-02-03 04:05:06' show/*
before=$(snapshot show)
mkdir tidied && cp -p show/* tidied/
expect_run "tidied in place, for the comparisons" 0 '' '' '' -- -ct tidied/*
expect_run "--check names what would change" 1 \
  'show/cr.pas\nshow/crlf.pas\nshow/gone.pas\nshow/lf.pas\nshow/no-end.pas\n' '' '' -- -ct --check "${shown[@]}"
expect_run "--check, nothing would change" 0 '' '' '' -- -ct --check show/same.pas
expect_run "--check, a file that cannot be read" 2 'show/cr.pas\n' 'kelbrin-cli: show/missing.pas: no such file' '' \
  -- -ct --check show/missing.pas show/cr.pas show/same.pas
expect_run "--check, standard input that would change" 1 '-\n' '' 'a // b' -- -c --check
expect_run "--check, standard input that would not" 0 '' '' 'a / b' -- -c --check
cat tidied/cr.pas tidied/same.pas >"$work/expected.bin"
expect_output "--stdout" 0 "$work/expected.bin" -ct --stdout show/cr.pas show/same.pas
expect_run "--stdout, standard input" 0 "$tidied" '' "$source" -- -ct --stdout -
expect_output "--diff" 0 /dev/null -ct --diff show/same.pas
"${cli[@]}" -ct --diff "${shown[@]}" >"$work/changes.diff" || fail "--diff: exit status $?"
expect_output "--diff --check" 1 "$work/changes.diff" -ct --diff --check "${shown[@]}"
expect_run "--diff --check, nothing would change" 0 '' '' '' -- -ct --check --diff show/same.pas
expect_run "--diff, standard input" 0 '--- -\n+++ -\n@@ -1 +1 @@\n-a // b\n\\ No newline at end of file\n+a \n\\ No newline at end of file\n' \
  '' 'a // b' -- -c --diff
[ "$(snapshot show)" = "$before" ] || fail "showing touched a file: $(snapshot show)"
# Applied with patch, the diff gives what tidying in place gives: CR LF, LF
# and CR-only lines, a last line without its end, one that goes, and a file
# with nothing to change.
mkdir patched && cp -r show patched/
(cd patched && patch -s -p0 <"$work/changes.diff") || fail "--diff: patch refused it"
for file in "${shown[@]}"; do
  cmp -s "patched/$file" "tidied/${file#show/}" || fail "--diff: patched $file holds $(od -c "patched/$file" | head -3)"
done

# Backups are never tidied again, unless asked for; a skipped backup does not
# change the exit status.
mkdir tree
printf '%b' "$source" >tree/a.pas
printf '%b' "$source" >tree/ComOld_b.pas
printf '%b' "$source" >tree/TabOld_c.pas
expect_run "backups skipped" 0 '' "kelbrin-cli: tree/ComOld_b.pas: a backup; skipped
kelbrin-cli: tree/TabOld_c.pas: a backup; skipped" '' -- -ct tree/a.pas tree/ComOld_b.pas tree/TabOld_c.pas
expect_names "backups skipped" tree ComOld_a.pas ComOld_b.pas TabOld_a.pas TabOld_c.pas a.pas
expect_file "backups skipped" tree/ComOld_b.pas "$source"
expect_run "--check over the tree agrees" 0 '' "kelbrin-cli: tree/ComOld_a.pas: a backup; skipped
kelbrin-cli: tree/ComOld_b.pas: a backup; skipped
kelbrin-cli: tree/TabOld_a.pas: a backup; skipped
kelbrin-cli: tree/TabOld_c.pas: a backup; skipped" '' -- -ct --check tree/*
expect_run "a backup skipped among failures" 1 '' "kelbrin-cli: tree/missing.pas: no such file; file unchanged
kelbrin-cli: tree/ComOld_b.pas: a backup; skipped" '' -- -c tree/missing.pas tree/ComOld_b.pas
expect_run "--tidy-backups" 0 '' '' '' -- -c --tidy-backups tree/ComOld_b.pas
expect_file "--tidy-backups" tree/ComOld_b.pas "$no_comments"
expect_file "--tidy-backups" tree/ComOld_ComOld_b.pas "$source"

# A second run over the tree changes nothing: the tidied file needs nothing
# more, the backups are skipped, and nothing is moved, rewritten or backed up.
before=$(snapshot tree)
expect_run "a second run over the tree" 0 '' "kelbrin-cli: tree/ComOld_a.pas: a backup; skipped
kelbrin-cli: tree/ComOld_ComOld_b.pas: a backup; skipped
kelbrin-cli: tree/TabOld_a.pas: a backup; skipped
kelbrin-cli: tree/TabOld_c.pas: a backup; skipped" '' -- -ct tree/a.pas tree/ComOld_a.pas tree/ComOld_ComOld_b.pas \
  tree/TabOld_a.pas tree/TabOld_c.pas
[ "$(snapshot tree)" = "$before" ] || fail "a second run over the tree touched a file: $(snapshot tree)"

# Without backups, both passes at once and nothing kept beside the file.
mkdir bare
printf '%b' "$source" >bare/x.pas
expect_run "--no-backup" 0 '' '' '' -- -ct --no-backup bare/x.pas
expect_names "--no-backup" bare x.pas
expect_file "--no-backup" bare/x.pas "$tidied"

# Named twice, or by a second link, a file is tidied a turn at a time, in the
# names' order: no turn finds it in use by another.
mkdir twice
printf '%b' "$source" >twice/a.pas
ln twice/a.pas twice/b.pas
expect_run "a file named twice" 0 '' '' '' -- -ct twice/a.pas twice/b.pas twice/a.pas twice/b.pas
expect_names "a file named twice" twice ComOld_a.pas ComOld_b.pas TabOld_a.pas TabOld_b.pas a.pas b.pas
expect_file "a file named twice" twice/a.pas "$tidied"
expect_file "a file named twice" twice/b.pas "$tidied"

# Standard input and output are named as such. In place, the files after a
# filter that failed are still tidied.
printf '%b' "$source" >after.pas
printf 'x' | "${cli[@]}" -c - after.pas >/dev/full 2>"$err_file"
status=$?
[ "$status" = 1 ] || fail "a full standard output: exit status $status"
[ "$(tr -d '\r' <"$err_file")" = "kelbrin-cli: standard output: disk full" ] || fail "a full standard output: $(cat "$err_file")"
expect_file "a full standard output" after.pas "$no_comments"
"${cli[@]}" -c --check show/cr.pas >/dev/full 2>"$err_file"
status=$?
[ "$status" = 2 ] || fail "--check to a full standard output: exit status $status"
"${cli[@]}" -c <. 2>"$err_file"
status=$?
[ "$status" = 1 ] || fail "standard input that cannot be read: exit status $status"
grep -q '^kelbrin-cli: standard input: ' "$err_file" || fail "standard input that cannot be read: $(cat "$err_file")"

# With many files, a line on standard error says how far the run is, but only
# on a terminal: `script` gives it one. A console may draw blanks as moves.
mkdir many
for n in 1 2 3 4 5 6; do printf '%b' "$source" >"many/$n.pas"; done
script -qec "$(printf '%q ' "${cli[@]}") -c many/?.pas" /dev/null >"$work/terminal.txt" 2>&1
sed 's/\x1b\[[?0-9;]*[a-zA-Z]//g' "$work/terminal.txt" | tr -d ' ' | grep -q 'kelbrin-cli:\[0/6\]many/1.pas' ||
  fail "no files line on a terminal: $(od -c "$work/terminal.txt" | head -5)"
rm many/*Old_*
expect_run "no files line on a pipe" 0 '' '' '' -- -c many/?.pas

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
