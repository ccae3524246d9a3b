#!/bin/sh
# Runs every fuzz target of a libFuzzer build for a bounded time, starting
# from its committed corpus. What the fuzzer finds goes under the build
# folder, never into the committed corpus; a failing input is kept there as
# BUILD/artifacts/TARGET-crash-... Usage: fuzz.sh BUILD SECONDS
set -eu
build=$1
seconds=$2
cd "$(dirname "$0")/.."
mkdir -p "$build/artifacts"
failed=""
for corpus in tests/fuzz/corpus/*/; do
  name=$(basename "$corpus")
  mkdir -p "$build/found/$name"
  echo "== fuzz_$name for ${seconds}s"
  "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/$name-" "$build/found/$name" "$corpus" || failed="$failed $name"
done
if [ -n "$failed" ]; then
  echo "fuzzing found faults in:$failed (inputs under $build/artifacts)" >&2
  exit 1
fi
echo "every fuzz target ran ${seconds}s without a finding"
