#!/usr/bin/env bash
# Builds one libFuzzer harness (clang, AddressSanitizer + UndefinedBehaviorSanitizer) and runs it
# for a given number of executions:
#   scripts/fuzz.sh decode 10000000      the free-text decoder
#   scripts/fuzz.sh datescan 1000000     the named-dates file reader
# Further arguments go to libFuzzer (for example -jobs=2 -workers=2). The seeds in
# fuzz/corpus/NAME are only read; inputs the fuzzer finds go to fuzz/corpus-work/NAME, and logs
# and failing inputs (crash-*) to fuzz/corpus-work, which git ignores. Copy a failing input into
# fuzz/corpus/NAME under a name that says what it found, so the test suite replays it for good.
set -euo pipefail
cd "$(dirname "$0")/.."
name=${1:?usage: scripts/fuzz.sh decode|datescan RUNS [libFuzzer options]}
runs=${2:?usage: scripts/fuzz.sh decode|datescan RUNS [libFuzzer options]}
shift 2
case "$name" in
  decode|datescan) ;;
  *) echo "unknown harness '$name' (decode or datescan)" >&2; exit 2 ;;
esac

cmake --preset fuzz >/dev/null
cmake --build build/fuzz -j2 --target "${name}_fuzzer"
mkdir -p "fuzz/corpus-work/$name"
# Typed dates are short; long texts are covered by the unit tests, and short inputs keep the rate
# high enough for millions of runs. A later -max_len wins.
max_len=256
[ "$name" = datescan ] && max_len=1024
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:quarantine_size_mb=16}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
root=$PWD
cd fuzz/corpus-work
exec "$root/build/fuzz/fuzz/${name}_fuzzer" -runs="$runs" -max_len="$max_len" -print_final_stats=1 "$@" \
  "$root/fuzz/corpus-work/$name" "$root/fuzz/corpus/$name"
