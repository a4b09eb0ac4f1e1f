#!/usr/bin/env bash
# The lint gate: a format check of every C++ file scripts/format.sh formats, then clang-tidy over
# each of their .cpp files (headers through the files that include them). Any finding fails it.
#   scripts/lint.sh            every .cpp and .h in git
#   scripts/lint.sh FILE...    only those files
# clang-tidy reads the default build's compile_commands.json and the headers that build generates
# (moc, uic), so build the default preset first. LINT_JOBS sets how many clang-tidy run at once
# (default: one per core). The fuzz harnesses, built only by the fuzz preset, borrow the compile
# command of the file beside them that the default build compiles.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/default/compile_commands.json ] || {
  echo "lint: build/default/compile_commands.json is missing; build the default preset first" >&2
  exit 2
}
files=("$@")
[ ${#files[@]} -gt 0 ] || mapfile -t files < <(git ls-files '*.cpp' '*.h')

echo "== lint: format of ${#files[@]} files"
status=0
clang-format --dry-run --Werror "${files[@]}" || status=1

sources=()
for f in "${files[@]}"; do [[ $f == *.cpp ]] && sources+=("$f"); done
echo "== lint: clang-tidy over ${#sources[@]} files"
# Each file's findings are printed in one piece, so two files checked at once do not interleave;
# clang's count of the warnings it hid in system headers is left out.
tidy_one() {
  local out rc=0
  out=$(clang-tidy -p build/default --quiet --warnings-as-errors='*' "$1" 2>&1) || rc=$?
  out=$(grep -v -E '^[0-9]+ (warning|error)s? (and [0-9]+ (warning|error)s? )?generated\.$' <<<"$out" || true)
  [ -z "$out" ] || printf '%s\n' "$out"
  return $((rc != 0))
}
export -f tidy_one
[ ${#sources[@]} -eq 0 ] ||
  printf '%s\0' "${sources[@]}" | xargs -0 -n 1 -P "${LINT_JOBS:-$(nproc)}" bash -c 'tidy_one "$1"' _ ||
  status=1

[ $status -eq 0 ] && echo "== lint: no findings"
exit $status
