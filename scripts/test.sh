#!/usr/bin/env bash
# Builds everything and runs every test; needs no display.
#   scripts/test.sh          the whole suite in the default build, then the pure libraries
#                            (dates, decoder, span, Easter, calendar maths, command line, fuzz
#                            corpus replay) again under AddressSanitizer + UBSan
#   scripts/test.sh asan     the whole suite, widgets included, under the sanitizers (slower)
#   scripts/test.sh quick    the default build only
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

run_preset() {
  local preset=$1
  echo "== $preset: build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "== $preset: tests"
  ctest --preset "$preset"
}

case "${1:-}" in
  asan) run_preset asan ;;
  quick) run_preset default ;;
  "") run_preset default; run_preset asan-core ;;
  *) echo "usage: scripts/test.sh [asan|quick]" >&2; exit 2 ;;
esac
