#!/usr/bin/env bash
# make check-corpus: real sources that no one here wrote, from Debian's
# packages (scripts/install-deps.sh corpus), each file compiled as it is,
# after `kelbrin-cli --syntax=auto -ct3` and after the plain `-ct3`, and the
# object code compared byte for byte. Per corpus it reports the files tidied,
# the files compiled and compared, how many the tidying changed, any whose
# object code differs (there must be none), and how many the plain rules
# break (they must break some, or the corpus tests nothing).
# Usage: scripts/check-corpus.sh [KELBRIN_CLI]
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build/native/kelbrin-cli}
work=$root/build/corpus
[ -x "$cli" ] || { echo "missing $cli: build it first" >&2; exit 1; }
rm -rf "$work"
mkdir -p "$work"
trees=(as-is tidied plain)
failed=0

say() { echo "$*" >&2; }

# tidy TREE: every source file of the four languages in it, in place, with the
# rules the tree is named for; the backups go.
tidy() {
  local tree=$1 options=(--syntax=auto -ct3)
  [ "$(basename "$tree")" = plain ] && options=(-ct3)
  find "$tree" -type f \( -name '*.c' -o -name '*.h' -o -name '*.cc' -o -name '*.cpp' -o -name '*.hpp' \
    -o -name '*.java' -o -name '*.pas' -o -name '*.pp' -o -name '*.inc' \) -print0 |
    xargs -0 -n 200 "$cli" "${options[@]}"
  find "$tree" -type f \( -name 'ComOld_*' -o -name 'TabOld_*' \) -delete
}

# prepare CORPUS SOURCE: three copies of SOURCE, two of them tidied.
prepare() {
  local corpus=$1 source=$2 tree
  for tree in "${trees[@]}"; do
    mkdir -p "$work/$corpus/$tree"
    cp -a "$source/." "$work/$corpus/$tree/"
  done
  tidy "$work/$corpus/tidied"
  tidy "$work/$corpus/plain"
}

# report CORPUS: compares what the compile function left in out/TREE/...,
# one folder per compiled file (or batch), each holding its object files.
report() {
  local corpus=$1 base=$work/$1 tidiedFiles units=0 compared=0 changed=0 differ=0 broken=0 unit objects
  touch "$base/units.txt"
  tidiedFiles=$(diff -rq "$base/as-is" "$base/tidied" | grep -c '^Files' || true)
  while read -r unit; do
    objects=$(cd "$base/out/as-is/$unit" && find . -type f \( -name '*.o' -o -name '*.class' \) | LC_ALL=C sort)
    [ -n "$objects" ] || continue
    units=$((units + 1))
    local plainSame=true object
    while read -r object; do
      compared=$((compared + 1))
      if ! cmp -s "$base/out/as-is/$unit/$object" "$base/out/tidied/$unit/$object"; then
        differ=$((differ + 1))
        echo "  DIFFERS: $unit: $object"
      fi
      cmp -s "$base/out/as-is/$unit/$object" "$base/out/plain/$unit/$object" 2>/dev/null || plainSame=false
    done <<<"$objects"
    [ "$plainSame" = true ] || broken=$((broken + 1))
    ! grep -qxF "$unit" "$base/changed.txt" 2>/dev/null || changed=$((changed + 1))
  done <"$base/units.txt"
  echo "$corpus: $tidiedFiles source files changed by --syntax=auto -ct3; $units compiled ($changed of them" \
    "from a changed source), $compared object files compared, $differ with other object code;" \
    "the plain -ct3 changed or broke the object code of $broken of the $units"
  [ "$differ" -eq 0 ] && [ "$broken" -gt 0 ] && [ "$compared" -gt 0 ] || failed=$((failed + 1))
}

# compile_each CORPUS UNIT COMMAND...: runs COMMAND in each tree with OUT set
# to the unit's output folder there; a unit that fails as it is is left out.
compile_each() {
  local corpus=$1 unit=$2 tree
  shift 2
  for tree in "${trees[@]}"; do
    local out=$work/$corpus/out/$tree/$unit
    mkdir -p "$out"
    if ! (cd "$work/$corpus/$tree" && OUT=$out "$@") >/dev/null 2>&1; then
      if [ "$tree" = as-is ]; then
        rm -rf "$work/$corpus/out/as-is/$unit"
        return
      fi
      rm -rf "$out" && mkdir -p "$out"  # broken: nothing to compare
    fi
    [ "$tree" = as-is ] && echo "$unit" >>"$work/$corpus/units.txt"
  done
}

# changed CORPUS FILE: notes that the tidying changed the unit's own source.
note_changed() {
  cmp -s "$work/$1/as-is/$2" "$work/$1/tidied/$2" || echo "$3" >>"$work/$1/changed.txt"
}

gtest() {
  say "googletest"
  prepare googletest /usr/src/googletest
  local file
  for file in $(cd "$work/googletest/as-is" && ls googletest/src/*.cc googlemock/src/*.cc); do
    note_changed googletest "$file" "$file"
    compile_each googletest "$file" sh -c 'g++ -std=c++17 -c -g0 -w -Igoogletest/include -Igoogletest \
      -Igooglemock/include -Igooglemock "$0" -o "$OUT/unit.o"' "$file"
  done
  report googletest
}

newlib() {
  say "newlib (C)"
  local source=$work/newlib-source
  mkdir -p "$source"
  tar -xJf /usr/src/newlib/newlib-*.tar.xz -C "$source"
  prepare newlib "$(dirname "$(find "$source" -maxdepth 3 -type d -path '*/newlib/libc' | head -1)")"
  local include file
  include=$(gcc -print-file-name=include)
  for file in $(cd "$work/newlib/as-is/libc" && ls string/*.c ctype/*.c stdlib/*.c stdio/*.c time/*.c search/*.c \
    argz/*.c misc/*.c); do
    note_changed newlib "libc/$file" "$file"
    compile_each newlib "$file" sh -c 'cd libc && gcc -c -g0 -w -nostdinc -Iinclude -I"$1" -D_COMPILING_NEWLIB "$0" \
      -o "$OUT/unit.o"' "$file" "$include"
  done
  report newlib
}

fpc_rtl() {
  say "Free Pascal RTL and packages"
  local base=/usr/share/fpcsrc/3.2.2 source=$work/fpc-source
  mkdir -p "$source/rtl" "$source/packages"
  cp -a "$base/rtl/." "$source/rtl/"
  local package
  for package in fcl-base fcl-json fcl-xml fcl-process fcl-image hash fcl-passrc rtl-objpas; do
    mkdir -p "$source/packages/$package" && cp -a "$base/packages/$package/src" "$source/packages/$package/"
  done
  prepare fpc "$source"
  local file
  for file in $(cd "$work/fpc/as-is" && ls rtl/objpas/*.pp rtl/inc/*.pp rtl/unix/*.pp packages/*/src/*.pp \
    packages/*/src/*.pas 2>/dev/null); do
    note_changed fpc "$file" "$file"
    compile_each fpc "$file" sh -c 'fpc -g- -Xs -Cn -v0 -FE"$OUT" -FU"$OUT" -Fi"$(dirname "$0")" -Fu"$(dirname "$0")" \
      -Firtl/inc -Firtl/unix -Firtl/linux -Firtl/x86_64 -Firtl/objpas -Firtl/objpas/sysutils -Firtl/objpas/classes \
      -Fipackages/rtl-objpas/src/inc "$0"' "$file"
  done
  report fpc
}

jdk() {
  say "OpenJDK 17 library"
  local source=$work/jdk-source package
  local packages=(java/util/regex java/util/stream java/time java/time/format java/text java/io java/util/function)
  mkdir -p "$source"
  for package in "${packages[@]}"; do
    (cd "$source" && unzip -q -o /usr/lib/jvm/openjdk-17/lib/src.zip "java.base/$package/*.java" \
      -x "java.base/$package/*/*" >/dev/null 2>&1)
  done
  prepare jdk "$source"
  # A package at a time, in one javac each: a class file for each of its files.
  for package in "${packages[@]}"; do
    local file
    for file in $(cd "$work/jdk/as-is" && ls java.base/"$package"/*.java); do note_changed jdk "$file" "$package"; done
    compile_each jdk "$package" sh -c 'javac -g:none -nowarn -implicit:none -encoding UTF-8 \
      --patch-module java.base="$PWD/java.base" -d "$OUT" java.base/"$0"/*.java' "$package"
  done
  report jdk
}

# CORPORA="gtest newlib fpc_rtl jdk" (the default) chooses which.
for corpus in ${CORPORA:-gtest newlib fpc_rtl jdk}; do "$corpus"; done
[ "$failed" -eq 0 ] && echo "every compiled file has the same object code" || echo "$failed corpora failed"
[ "$failed" -eq 0 ]
