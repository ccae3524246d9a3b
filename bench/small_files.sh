#!/usr/bin/env bash
# Times kelbrin-cli on small files, where start-up and the work per file
# count more than the bytes, against sed -i and against itself, and prints
# the "small files" table as Markdown. bench/run.sh runs it too.
#
# Usage: bench/small_files.sh [BUILD_DIR]     (build/release by default)
# Environment:
#   REPS=5           rounds; the median is reported
#   RUNS=200         runs of a command on one small file per round
#   TREE_FILES=10000 files in the tree
# Every timed run that writes works on copies made, and written out, before
# the timing starts: deleting a tree just before timing slows the next run on
# ext4 (freed inodes are skipped for a while), so copies are only deleted at
# the end, and every run of the script works in a folder of its own.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
# Absolute, as the calls over the tree run in its folder.
build=$(cd "${1:-$root/build/release}" && pwd)
cli=$build/kelbrin-cli
reps=${REPS:-5}
runs=${RUNS:-200}
tree_files=${TREE_FILES:-10000}
sed_script='s#//.*##'

for tool in "$cli" "$build/make-corpus" "$build/time-runs"; do
  [ -x "$tool" ] || { echo "missing $tool: run make bench" >&2; exit 1; }
done
mkdir -p "$root/build"
work=$(mktemp -d "$root/build/bench-small.XXXXXX")
trap 'rm -rf "$work"' EXIT
say() { echo "$*" >&2; }

"$build/make-corpus" crlf 2048 "$work/2k.txt"
"$build/make-corpus" crlf $((200 * 1024)) "$work/200k.txt"
mkdir "$work/tree"
"$build/make-corpus" tree "$tree_files" "$work/tree"
tree_list=()
for ((n = 1; n <= tree_files; n++)); do tree_list+=("$n.pas"); done
cat "${tree_list[@]/#/$work/tree/}" >"$work/tree.txt"
tree_mib=$(du -sm "$work/tree.txt" | cut -f1)

# seconds COMMAND...: how long the command takes, in seconds; nothing, and
# its failure, where it fails.
seconds() {
  local start=$EPOCHREALTIME
  "$@" || { local status=$?; say "failed: $*"; return "$status"; }
  awk -v s="$start" -v e="$EPOCHREALTIME" 'BEGIN { printf "%.6f\n", e - s }'
}

# The calls over the whole tree; DIR holds a fresh copy where they write.
tree_kelbrin() { (cd "$1" && "$cli" -ct3 "${tree_list[@]}"); }
tree_sed() { (cd "$1" && LC_ALL=C sed -i -e "$sed_script" "${tree_list[@]}"); }
tree_check() { (cd "$work/tree" && "$cli" -ct3 --check "${tree_list[@]}" >/dev/null) || [ $? = 1 ]; }
tree_filter() { "$cli" -ct3 <"$work/tree.txt" >"$work/out"; }
# read_tree DIR: reads the tree's files in DIR, untimed.
read_tree() { cat "${tree_list[@]/#/$1/}" >/dev/null; }

# copies FILE DIR: RUNS copies of FILE in DIR, named 1.pas and on.
copies() {
  mkdir "$2"
  for ((i = 1; i <= runs; i++)); do cp "$1" "$2/$i.pas"; done
}

declare -A times
add() { times[$1]+="$2 "; }
# timed KEY COMMAND...: adds how long the command takes under KEY. Assigned
# apart from its declaration, so that a call that fails stops the script.
timed() {
  local took
  took=$(seconds "${@:2}")
  add "$1" "$took"
}
# compare KEY_A KEY_B COMMAND_A... -- COMMAND_B...: the medians of RUNS runs
# of each, taken in turn (see TimeRuns.cpp), both in the C locale.
compare() {
  local a=$1 b=$2 medians
  shift 2
  medians=$(LC_ALL=C "$build/time-runs" "$runs" "$@")
  add "$a" "${medians% *}"
  add "$b" "${medians#* }"
}
for ((rep = 1; rep <= reps; rep++)); do
  say "small files: round $rep of $reps"
  round=$work/round-$rep
  mkdir "$round"
  copies "$work/2k.txt" "$round/kelbrin" && copies "$work/2k.txt" "$round/sed"
  cp -r "$work/tree" "$round/tree-kelbrin" && cp -r "$work/tree" "$round/tree-sed"
  # The copies are written out before the timing, or their write-back runs
  # during it and slows whichever command it meets.
  sync
  cat "$work/2k.txt" "$work/200k.txt" >/dev/null  # into the page cache
  compare one-in-place one-sed "$cli" -ct3 "$round/kelbrin/{}.pas" -- sed -i -e "$sed_script" "$round/sed/{}.pas"
  for size in 2k 200k; do
    compare "filter-$size" "one-thread-$size" "$cli" -ct3 "<$work/$size.txt" ">$work/out" \
      -- "$cli" -ct3 --stdout "$work/$size.txt" ">$work/out"
  done
  # Every call over the tree reads what was read just before, untimed: on
  # this machine memory unused for a few seconds costs more to touch again,
  # and page-cache pages unread for a minute may be dropped (--check over the
  # tree took 0.24 s the first time, 0.06 s right after). sed -i comes last:
  # right after it --check took 0.16 s, so the untimed copies of the next
  # round follow it.
  read_tree "$work/tree"
  timed tree-check tree_check
  cat "$work/tree.txt" >/dev/null
  timed tree-filter tree_filter
  for tool in kelbrin sed; do
    read_tree "$round/tree-$tool"
    timed "tree-$tool" "tree_$tool" "$round/tree-$tool"
  done
done

median() { tr ' ' '\n' | grep . | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
declare -A median_of
for key in "${!times[@]}"; do median_of[$key]=$(median <<<"${times[$key]}"); done

# row WHAT LIMIT OURS THEIRS UNIT: one target, both figures (in ms for one
# run, in s for a call over the tree) and their ratio, met when at most LIMIT.
row() {
  awk -v what="$1" -v limit="$2" -v a="${median_of[$3]}" -v b="${median_of[$4]}" -v unit="$5" 'BEGIN {
    r = a / b; scale = unit == "ms" ? 1000 : 1; verdict = r <= limit ? "met" : "not met"
    printf "| %s | %.3f %s | %.3f %s | %.2f | ≤ %.2f | %s |\n", what, a * scale, unit, b * scale, unit, r, limit, verdict }'
}
ratio_row() {  # the same for a target on how many times faster (theirs / ours)
  awk -v what="$1" -v limit="$2" -v a="${median_of[$3]}" -v b="${median_of[$4]}" 'BEGIN {
    r = b / a; verdict = r >= limit ? "met" : "not met"
    printf "| %s | %.3f s | %.3f s | %.2f × faster | ≥ %.0f × faster | %s |\n", what, a, b, r, limit, verdict }'
}

echo "Small files (bench/small_files.sh, REPS=$reps, medians; the one-file rows take $runs runs of each a round, in turn, started without a shell):"
echo
echo "| Small files | kelbrin-cli | Against | Ratio | Target | |"
echo "|---|---:|---:|---:|---|---|"
row "One 2 KiB file in place, \`-ct3\`, against \`sed -i -e '$sed_script'\`" 0.8 one-in-place one-sed ms
ratio_row "$tree_files files of 2–20 KiB ($tree_mib MiB) in place in one call, \`-ct3\`, against \`sed -i\` over the same list" 4 tree-kelbrin tree-sed
row "Filter \`-ct3\` on 2 KiB against one thread (\`--stdout FILE\`)" 1 filter-2k one-thread-2k ms
row "Filter \`-ct3\` on 200 KiB against one thread (\`--stdout FILE\`)" 1 filter-200k one-thread-200k ms
row "\`--check -ct3\` over the tree against the filter over the same bytes" 1 tree-check tree-filter s
