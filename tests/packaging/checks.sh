# Sourced by the packaging tests: a scratch folder that goes at the end, and
# failures counted, each said in a line; `finish` reports and exits.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
finish() {
  [ "$failures" -eq 0 ] && echo "PASS"
  exit $((failures > 0))
}
