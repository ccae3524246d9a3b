#!/bin/sh
# Installs what building and testing Kelbrin needs on Debian, once: running it
# again finds nothing missing and does nothing. With the argument `bench`, also
# what the benchmarks need; with `corpus`, the sources `make check-corpus`
# compiles.
set -eu

# clang and its runtime libraries give `make fuzz` libFuzzer; the command
# line's tests apply its diffs with patch.
packages="cmake g++ make libgtest-dev g++-mingw-w64-x86-64-posix wine wine64 xvfb xdotool
  fonts-ipafont-gothic locales clang libclang-rt-14-dev
  imagemagick x11-utils xauth patch libacl1-dev libattr1-dev acl attr fusefat dosfstools
  fp-compiler fp-units-rtl openjdk-17-jdk-headless"
[ "${1:-}" = bench ] && packages="$packages libbenchmark-dev time"
[ "${1:-}" = corpus ] && packages="$packages googletest fpc-source fp-units-base fp-units-fcl openjdk-17-source
  newlib-source unzip xz-utils"
# make dist and the packaging tests: dpkg-shlibdeps and file for the .deb's
# dependencies, groff and man for the manual page.
packages="$packages dpkg-dev file groff-base man-db"

missing=""
for package in $packages; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' || missing="$missing $package"
done
# Wine needs the Japanese locale to give programs code page 932.
need_locale=false
locale -a 2>/dev/null | grep -qix 'ja_JP.utf8' || need_locale=true

[ -z "$missing" ] && [ "$need_locale" = false ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  as_root=""
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
  as_root="sudo"
else
  echo "Kelbrin needs some packages. Please run, as root:" >&2
  echo "  apt-get update && apt-get install -y$missing && localedef -i ja_JP -f UTF-8 ja_JP.UTF-8" >&2
  exit 1
fi

if [ -n "$missing" ]; then
  echo "Installing:$missing"
  $as_root apt-get update -qq
  $as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing
fi
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  $as_root localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
