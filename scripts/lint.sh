#!/usr/bin/env bash
# clang-tidy over the project's sources (default build's compile_commands.json), and a format check.
#   scripts/lint.sh            every source under src/
#   scripts/lint.sh FILE...    only those files
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/default/compile_commands.json ] || cmake --preset default >/dev/null
files=("$@")
[ ${#files[@]} -gt 0 ] || mapfile -t files < <(git ls-files 'src/*.cpp')
clang-tidy -p build/default --quiet "${files[@]}"
clang-format --dry-run --Werror "${files[@]}"
