#!/usr/bin/env bash
# Installs the native build into a temporary tree, as `make install DESTDIR=…`
# does, and tries what is there: the program, its manual page and its
# completion. Usage: install_test.sh CMAKE BUILD_DIR
set -u
cmake=$1
build=$2
source "$(dirname "$0")/checks.sh"

prefix=/opt/kelbrin
DESTDIR=$work/stage "$cmake" --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
root=$work/stage$prefix

# What is listed, under the prefix, and nothing else.
expected='bin/kelbrin-cli
share/bash-completion/completions/kelbrin-cli
share/doc/kelbrin/LICENSE
share/doc/kelbrin/README.md
share/man/man1/kelbrin-cli.1'
installed=$(cd "$work/stage" && find . ! -type d | sed "s|^\./${prefix#/}/||" | LC_ALL=C sort)
[ "$installed" = "$expected" ] || fail "installed: $installed"

cli=$root/bin/kelbrin-cli
version=$("$cli" --version)
[ "$(head -1 <<<"$version")" = "kelbrin-cli 1.1.0" ] || fail "version: $version"
grep -q "MIT License" <<<"$version" || fail "--version names no licence"
# The filter example of the README and the manual page, with its output.
printf 'x = 1;  // one\n        y = 2;\n' | "$cli" -ct | cmp -s - <(printf 'x = 1;  \n\t\ty = 2;\n') ||
  fail "the filter example gives another output"

page=$root/share/man/man1/kelbrin-cli.1
warnings=$(groff -ww -z -man "$page" 2>&1)
[ -z "$warnings" ] || fail "groff warns: $warnings"
rendered=$(MANWIDTH=80 man --warnings -l "$page" 2>"$work/man.err")
[ -s "$work/man.err" ] && fail "man -l warns: $(cat "$work/man.err")"
for section in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" FILES EXAMPLES "SEE ALSO"; do
  grep -qx "$section" <<<"$rendered" || fail "the manual page has no $section"
done

# options: the long and short option names in the text on standard input,
# with a trailing = where they take a value.
options() { grep -oE -- '(^|[ ,"])--?[[:alnum:]][-[:alnum:]]*=?' | tr -d ' ,"' | LC_ALL=C sort -u; }
# The manual page's list: the tag after each .TP of its OPTIONS section.
documented=$(sed -n '/^\.SH OPTIONS/,/^\.SH/p' "$page" | sed -n '/^\.TP/{n;p}' | tr -d '\\' | options)
# Each option of --help, from the tag that starts its line.
helped=$("$cli" --help | sed -n 's/^ \{1,8\}\(-[^ ].*\)/\1/p' | sed 's/  .*//' | options)
missing=$(LC_ALL=C comm -23 <(echo "$helped") <(echo "$documented"))
[ -z "$missing" ] || fail "--help has options the manual page lacks: $missing"

# The completion offers exactly the manual page's options, and the values of
# those that take a fixed set.
completions() {  # WORD...: what the completion offers for the last word
  bash -c 'source "$0"; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _kelbrin_cli; printf "%s\n" "${COMPREPLY[@]}"' \
    "$root/share/bash-completion/completions/kelbrin-cli" kelbrin-cli "$@" 2>&1
}
offered=$(completions - | LC_ALL=C sort)
[ "$offered" = "$documented" ] || fail "the completion offers $(echo $offered), the manual page lists $(echo $documented)"
[ "$(completions --syntax = '' | tr '\n' ' ')" = "c cpp java pascal auto " ] || fail "--syntax= completes to $(completions --syntax = '')"
[ "$(completions --encoding=u | tr '\n' ' ')" = "--encoding=utf-8 " ] || fail "--encoding=u completes to $(completions --encoding=u)"
[ -z "$(completions -- --c)" ] || fail "after --, options are still offered"

finish
