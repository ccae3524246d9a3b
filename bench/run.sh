#!/usr/bin/env bash
# Times kelbrin-cli against cat and its peers on generated corpora, measures its
# peak memory, runs the in-memory benchmark of the byte rules, and prints the
# figures as Markdown ready to paste into bench/RESULTS.md.
#
# Usage: bench/run.sh [BUILD_DIR]      (`make bench` builds build/release first)
# Environment:
#   REPS=5           repetitions of every timing; the median is reported
#   CORPUS_MIB=100   size of the timed corpora
#   LARGE_MIB=1024   size of the large input whose peak memory is measured
#   KEEP_CORPUS=1    keep the generated 100 MiB corpora for the next run
#   CASES="..."      time only these cases (names as in `cases` below) and
#                    skip the memory and window measurements
# The "small files" table comes from bench/small_files.sh, which runs alone too.
# With the Windows build's window harness (build/windows/tests/window_bench.exe,
# which `make bench` builds), the window's run under Wine is timed too.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/release}
cli=$build/kelbrin-cli
reps=${REPS:-5}
mib=${CORPUS_MIB:-100}
large=${LARGE_MIB:-1024}
corpus=$root/build/bench-corpus
work=$corpus/work

for tool in "$cli" "$build/make-corpus" "$build/rule-benchmark" "$build/time-runs"; do
  [ -x "$tool" ] || { echo "missing $tool: run make bench" >&2; exit 1; }
done
for tool in /usr/bin/time cat dd unexpand sed awk; do
  command -v "$tool" >/dev/null || { echo "missing $tool (scripts/install-deps.sh bench)" >&2; exit 1; }
done

mkdir -p "$corpus" "$work"
cleanup() {
  rm -rf "$work" "$corpus"/mem-*
  [ "${KEEP_CORPUS:-0}" = 1 ] || rm -f "$corpus"/*.txt
}
trap cleanup EXIT

say() { echo "$*" >&2; }

# make_corpus KIND BYTES FILE: only when missing or of another size.
make_corpus() {
  if [ "$(stat -c %s "$3" 2>/dev/null || echo 0)" != "$2" ]; then
    say "generating $3"
    "$build/make-corpus" "$1" "$2" "$3"
  fi
}

declare -A label=(
  [cat]='`cat` (the copy)'
  [dd]='`dd bs=1M` (read/write copy, blocks as kelbrin-cli reads)'
  [c]='`kelbrin-cli -c`'
  [t]='`kelbrin-cli -t`'
  [t3]='`kelbrin-cli -t3`'
  [ct3]='`kelbrin-cli -ct3`'
  [inplace]='`kelbrin-cli -ct3 FILE` (in place)'
  [unexpand]='`unexpand -a`'
  [sed]="\`sed 's#//[^\\r]*##'\`"
  [syntax-c]='`kelbrin-cli --syntax=c -ct3`'
  [syntax-java]='`kelbrin-cli --syntax=java -ct3`'
  [syntax-pascal]='`kelbrin-cli --syntax=pascal -ct3`'
  [stops]='`kelbrin-cli -t --tab-stops=4`'
  [unexpand4]='`unexpand -a -t 4`'
)
all_cases=(cat dd c t t3 ct3 inplace unexpand sed syntax-c syntax-java syntax-pascal stops unexpand4)
read -r -a cases <<<"${CASES:-${all_cases[*]}}"

# run_case CASE INPUT: one timed run; what it needs beforehand is not timed.
# Prints the seconds taken.
run_case() {
  local out=$work/out start end
  rm -f "$out" "$work"/*.pas
  [ "$1" = inplace ] && cp "$2" "$work/x.pas"
  start=$EPOCHREALTIME
  case $1 in
    cat) cat <"$2" >"$out" ;;
    dd) dd bs=1M status=none <"$2" >"$out" ;;
    c | t | t3 | ct3) "$cli" "-$1" <"$2" >"$out" ;;
    syntax-*) "$cli" --syntax="${1#syntax-}" -ct3 <"$2" >"$out" ;;
    stops) "$cli" -t --tab-stops=4 <"$2" >"$out" ;;
    unexpand4) LC_ALL=C unexpand -a -t 4 <"$2" >"$out" ;;
    inplace) "$cli" -ct3 "$work/x.pas" ;;
    unexpand) LC_ALL=C unexpand -a <"$2" >"$out" ;;
    sed) LC_ALL=C sed -e 's#//[^\r]*##' <"$2" >"$out" ;;
  esac
  end=$EPOCHREALTIME
  awk -v s="$start" -v e="$end" 'BEGIN { printf "%.4f\n", e - s }'
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

load() { cut -d' ' -f1-3 /proc/loadavg; }

declare -A seconds
timed_corpora=(crlf lf worst)
declare -A corpus_name=([crlf]="source, CR LF" [lf]="source, LF" [worst]="worst case")
bytes=$((mib * 1024 * 1024))
load_before=$(load)
for kind in "${timed_corpora[@]}"; do
  file=$corpus/$kind-$mib.txt
  make_corpus "$kind" "$bytes" "$file"
  cat "$file" >/dev/null  # into the page cache, like every file after it
  declare -A runs=()
  for ((rep = 1; rep <= reps; rep++)); do
    say "$kind: repetition $rep of $reps"
    # One of each per round, so that a busy moment hits them all alike.
    for c in "${cases[@]}"; do runs[$c]+="$(run_case "$c" "$file") "; done
  done
  for c in "${cases[@]}"; do seconds[$kind,$c]=$(tr ' ' '\n' <<<"${runs[$c]}" | grep . | median); done
  unset runs
done
load_after=$(load)

# Peak memory of the filter and of the in-place run, small and large input.
# peak_kib INPUT COMMAND...: the command's largest resident size in KiB.
peak_kib() {
  local input=$1 report=$work/time.txt
  shift
  /usr/bin/time -v -o "$report" "$@" <"$input" >/dev/null
  awk -F': ' '/Maximum resident set size/ { print $2 }' "$report"
}
declare -A peak
memory_sizes=(1 "$large")
[ -n "${CASES:-}" ] && memory_sizes=()
for size in "${memory_sizes[@]}"; do
  file=$corpus/mem-$size.txt
  make_corpus crlf $((size * 1024 * 1024)) "$file"
  peak[filter,$size]=$(peak_kib "$file" "$cli" -ct3)
  # In place needs room for two more copies of the file.
  free_kib=$(df -Pk "$corpus" | awk 'NR == 2 { print $4 }')
  if [ "$free_kib" -gt $((3 * size * 1024 + 1024 * 1024)) ]; then
    cp "$file" "$work/x.pas"
    peak[inplace,$size]=$(peak_kib /dev/null "$cli" -ct3 "$work/x.pas")
    rm -f "$work"/*.pas
  else
    peak[inplace,$size]=0
  fi
  rm -f "$file"
done

ratio() { awk -v a="${seconds[$1]}" -v b="${seconds[$2]}" 'BEGIN { printf "%.2f", a / b }'; }
verdict() { awk -v v="$1" -v limit="$2" -v op="$3" 'BEGIN { ok = (op == "<=") ? v <= limit : v >= limit; print ok ? "met" : "not met" }'; }

# The window under Wine: its run of both passes, timed inside the window's
# harness, against the CLI's native in-place run above; the harness also times
# the core alone under Wine, which shows what the window and its bar add.
window_row="| Window under Wine, both passes, $mib MiB | ≤ 1.5 × CLI in place | not measured (no Windows build) | | – |"
wine_run=$root/build/windows/wine-run
harness=$root/build/windows/tests/window_bench.exe
if [ -z "${CASES:-}" ] && [ -x "$wine_run" ] && [ -f "$harness" ]; then
  file=$corpus/crlf-$mib.txt
  make_corpus crlf "$bytes" "$file"
  window_runs="" core_runs=""
  for ((rep = 1; rep <= reps; rep++)); do
    say "window: repetition $rep of $reps"
    rm -f "$work"/*.pas && cp "$file" "$work/x.pas"
    # The harness ends its line with CR LF, as Windows programs do.
    read -r _ window _ core < <(xvfb-run -a "$wine_run" "$harness" "$work/x.pas" 2>/dev/null | tr -d '\r')
    window_runs+="$window " core_runs+="$core "
  done
  rm -f "$work"/*.pas
  window=$(tr ' ' '\n' <<<"$window_runs" | grep . | median)
  wine_core=$(tr ' ' '\n' <<<"$core_runs" | grep . | median)
  value=$(awk -v w="$window" -v c="${seconds[crlf,inplace]}" 'BEGIN { printf "%.2f", w / c }')
  added=$(awk -v w="$window" -v c="$wine_core" 'BEGIN { printf "%.2f", w / c }')
  window_row="| Window under Wine, both passes, $mib MiB: ${window} s; the core alone under Wine ${wine_core} s (${added} ×) | ≤ 1.5 × CLI in place | $value × | | $(verdict "$value" 1.5 "<=") |"
fi

# Start-up and the work per file: small files in place, small inputs through
# the filter, --check over a tree.
small_table=$(REPS=$reps "$root/bench/small_files.sh" "$build")

# The byte rules alone, in memory.
say "rule-benchmark"
rules_table=$("$build/rule-benchmark" --benchmark_filter=/blocks --benchmark_repetitions=3 \
  --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
  awk -F, '/_median"/ { name = $1; gsub(/"|_median|\/blocks/, "", name); split(name, p, "/")
                       printf "| %s | %s | %.0f |\n", p[1], p[2], $(NF - 4) / 1048576 }')


# Memory is met when the large input takes at most 1 MiB more and stays under 8 MiB.
memory() {
  awk -v small="${peak[$1,1]}" -v large="${peak[$1,$large]}" 'BEGIN {
    if (small == 0 || large == 0) { print "| not measured (no room) | | |"; exit }
    printf "| %d / %d KiB | | %s |\n", small, large, (large - small <= 1024 && large < 8192) ? "met" : "not met" }'
}
large_name=$( ((large % 1024)) && echo "$large MiB" || echo "$((large / 1024)) GiB")

# Each target against cat, as set, and against a plain read/write copy for
# comparison: this cat hands the copy to the kernel (copy_file_range), which
# no program that reads the bytes can do.
target() {
  local what=$1 limit=$2 value=$3 op=$4 copy=$5
  [ "$copy" = – ] || copy="$copy ×"
  echo "| $what | $limit | $value × | $copy | $(verdict "$value" "${limit//[^0-9.]/}" "$op") |"
}

# The Markdown, also kept beside the build.
report() {
echo "Measured $(date -u '+%Y-%m-%d %H:%M UTC') with \`make bench\` (bench/run.sh, REPS=$reps, medians)."
echo
echo "Machine: $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo), $(nproc) CPUs," \
  "$(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo) RAM," \
  "Linux $(uname -r), $(df -PT "$corpus" | awk 'NR == 2 { print $2 }'), $(cat --version | head -1)." \
  "Load average (1, 5, 15 min) before: $load_before; after: $load_after."
echo
echo "Corpora: $mib MiB each, generated by \`make-corpus\` (same bytes every run); files in the page cache."
echo
echo "| Command | ${corpus_name[crlf]}: s | MiB/s | × cat | ${corpus_name[lf]}: s | × cat | ${corpus_name[worst]}: s | × cat |"
echo "|---|---:|---:|---:|---:|---:|---:|---:|"
for c in "${cases[@]}"; do
  line="| ${label[$c]} "
  for kind in "${timed_corpora[@]}"; do
    line+="| ${seconds[$kind,$c]} "
    [ "$kind" = crlf ] && line+="| $(awk -v s="${seconds[$kind,$c]}" -v m="$mib" 'BEGIN { printf "%.0f", m / s }') "
    line+="| $(ratio "$kind,$c" "$kind,cat") "
  done
  echo "$line|"
done
echo
echo "| Target | Limit | Measured | Against \`dd\` | |"
echo "|---|---|---:|---:|---|"
# have A B...: whether these cases were timed.
have() { local c; for c in "$@"; do [ -n "${seconds[crlf,$c]:-}" ] || return 1; done; }
have ct3 cat dd && target "\`-ct3\` filter, source CR LF" "≤ 2 × cat" "$(ratio crlf,ct3 crlf,cat)" "<=" "$(ratio crlf,ct3 crlf,dd)"
have ct3 unexpand && target "\`-ct3\` filter against \`unexpand -a\`" "≥ 10 × faster" "$(ratio crlf,unexpand crlf,ct3)" ">=" "–"
have inplace cat dd && target "\`-ct3\` in place, two passes and backups" "≤ 4 × cat" "$(ratio crlf,inplace crlf,cat)" "<=" \
  "$(ratio crlf,inplace crlf,dd)"
have ct3 cat dd && target "\`-ct3\` filter, worst case" "≤ 6 × cat" "$(ratio worst,ct3 worst,cat)" "<=" "$(ratio worst,ct3 worst,dd)"
for language in c java pascal; do
  have ct3 "syntax-$language" && target "\`--syntax=$language -ct3\` filter, source CR LF, speed against \`-ct3\`" "≥ 0.5" \
    "$(ratio crlf,ct3 "crlf,syntax-$language")" ">=" "–"
done
have stops unexpand4 && target "\`-t --tab-stops=4\` filter against \`unexpand -a -t 4\`" "≥ 10 × faster" \
  "$(ratio crlf,unexpand4 crlf,stops)" ">=" "–"
if [ -z "${CASES:-}" ]; then
  echo "| Peak memory, \`-ct3\` filter: 1 MiB / $large_name input | within 1 MiB, < 8 MiB $(memory filter)"
  echo "| Peak memory, \`-ct3\` in place: 1 MiB / $large_name input | within 1 MiB, < 8 MiB $(memory inplace)"
  echo "$window_row"
fi
echo
echo "$small_table"
echo
echo "The byte rules alone, in memory (\`rule-benchmark\`, 32 MiB corpora, 1 MiB blocks, median of 3):"
echo
echo "| Rules | Corpus | MiB/s |"
echo "|---|---|---:|"
echo "$rules_table"
}
report | tee "$build/bench-results.md"
