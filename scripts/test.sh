#!/usr/bin/env bash
# Builds everything and runs every test: the default build, then (unless --quick) the same suite
# under AddressSanitizer and UndefinedBehaviorSanitizer. Needs no display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

run_preset() {
  local preset=$1
  echo "== $preset build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "== $preset tests"
  ctest --preset "$preset"
}

run_preset default
[ "${1:-}" = "--quick" ] || run_preset asan
