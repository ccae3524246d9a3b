#!/usr/bin/env bash
# The strongest check of --syntax: each sample compiles to the same object
# code before and after `kelbrin-cli --syntax=auto -ct3`, while the plain
# rules (`-ct3`) change what it compiles to, or break it.
# Usage: object_code_test.sh KELBRIN_CLI SAMPLES_DIR
set -u
cli=$1
samples=$2
. "$(dirname "$0")/compile.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
compared=0
same=0
broken=0
for sample in "$samples"/*; do
  name=$(basename "$sample")
  for tree in as-is tidied plain; do mkdir -p "$work/$tree" && cp "$sample" "$work/$tree/$name"; done
  "$cli" --syntax=auto -ct3 "$work/tidied/$name" || { echo "FAIL: $name: kelbrin-cli --syntax failed"; failures=$((failures + 1)); continue; }
  "$cli" -ct3 "$work/plain/$name"
  rm -f "$work"/*/ComOld_* "$work"/*/TabOld_*
  if ! compile "$work/as-is/$name" "$work/out-as-is/$name"; then
    echo "FAIL: $name does not compile as it is"
    failures=$((failures + 1))
    continue
  fi
  compared=$((compared + 1))
  cmp -s "$sample" "$work/tidied/$name" || echo "$name: tidied"
  if ! compile "$work/tidied/$name" "$work/out-tidied/$name" || ! same_objects "$work/out-as-is/$name" "$work/out-tidied/$name"; then
    echo "FAIL: $name: the object code differs after --syntax=auto -ct3"
    failures=$((failures + 1))
  else
    same=$((same + 1))
  fi
  if compile "$work/plain/$name" "$work/out-plain/$name" 2>/dev/null && same_objects "$work/out-as-is/$name" "$work/out-plain/$name"; then
    echo "FAIL: $name: the plain rules keep its object code, so it tests nothing"
    failures=$((failures + 1))
  else
    broken=$((broken + 1))
  fi
done
echo "samples compared: $compared, the same object code after --syntax: $same, changed by the plain rules: $broken"
echo "$((same + broken)) passed, $failures failed"
[ "$failures" -eq 0 ] && [ "$compared" -gt 0 ]
