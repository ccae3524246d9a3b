#!/bin/sh
# Opens Kelbrin's window through Wine, on a target if one is given. Without a
# display it opens the window on a virtual one instead, saves a screenshot and
# closes it again.
# Usage: scripts/run-window.sh BUILD_DIR SCREENSHOT [FILE]
set -eu
build=$1
screenshot=$2
file=${3:-}

# The target as the program expects it: a Windows path. Wine shows the root
# folder as drive Z:. (Asking Wine itself would start it before the display.)
target=$file
if [ -n "$file" ] && [ -e "$file" ]; then
  target="Z:$(realpath "$file" | tr / '\\')"
fi

# ヘルプ → ヘルプ opens ReadMe.txt through the shell, as on Windows: Wine has a
# notepad for text files, but its new prefixes do not tie .txt to it. Done on
# the display the window will use, like every start of Wine here.
associate_text_files() {
  "$build/wine-run" reg add 'HKCR\.txt' /ve /d txtfile /f >/dev/null 2>&1 ||
    echo "Could not tie .txt files to Wine's notepad: ヘルプ → ヘルプ may open nothing." >&2
}

if [ "${KELBRIN_ON_VIRTUAL_DISPLAY:-}" != 1 ]; then
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    associate_text_files
    if [ -n "$target" ]; then exec "$build/wine-run" "$build/kelbrin.exe" "$target"; fi
    exec "$build/wine-run" "$build/kelbrin.exe"
  fi
  KELBRIN_ON_VIRTUAL_DISPLAY=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
  echo "No display here: Kelbrin ran on a virtual display; its window is in $screenshot."
  exit 0
fi

# On the virtual display: wait for the window, let it finish drawing, take it,
# close it. Wine's chatter about the display going away afterwards is dropped.
associate_text_files
if [ -n "$target" ]; then
  "$build/wine-run" "$build/kelbrin.exe" "$target" 2>/dev/null &
else
  "$build/wine-run" "$build/kelbrin.exe" 2>/dev/null &
fi
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

poll() {  # poll TRIES COMMAND...: 0.1 s apart
  tries=$1
  shift
  while [ "$tries" -gt 0 ]; do
    if "$@" >/dev/null 2>&1; then return 0; fi
    tries=$((tries - 1))
    sleep 0.1
  done
  return 1
}
window() { xdotool search --onlyvisible --name '^Kelbrin$' 2>/dev/null | head -1 | grep .; }
# Two captures alike in a row mean the window has finished drawing.
previous=
drawn() {
  shown=$(window) || return 1
  import -window "$shown" "$screenshot" || return 1
  current=$(md5sum <"$screenshot")
  [ "$current" = "$previous" ] && return 0
  previous=$current
  return 1
}

mkdir -p "$(dirname "$screenshot")"
poll 600 window || { echo "Kelbrin's window did not open." >&2; exit 1; }
poll 100 drawn || true
shown=$(window) && xdotool windowfocus --sync "$shown" key alt+F4
poll 100 sh -c "! kill -0 $pid" || true
# Wine's own processes linger a moment; they go before the display does.
WINEPREFIX="$build/wineprefix" wineserver -w 2>/dev/null || true
