#!/usr/bin/env bash
# Builds everything and runs every test; needs no display.
#   scripts/test.sh          the whole suite in the default build (the installed tree and the
#                            Debian package included), the lint gate (scripts/lint.sh, after
#                            that build: it reads its compile commands and generated headers),
#                            then the pure libraries (dates, decoder, span, Easter, calendar
#                            maths, command line, fuzz corpus replay) again under
#                            AddressSanitizer + UBSan, then the Windows check below
#   scripts/test.sh asan     the whole suite, widgets included, under the sanitizers (slower)
#   scripts/test.sh quick    the default build only
#   scripts/test.sh windows  the pure libraries, kalendo-cli and their tests cross-built for
#                            Windows with mingw-w64, run under wine; and the NSIS installer
set -euo pipefail
cd "$(dirname "$0")/.."

run_preset() {
  local preset=$1
  echo "== $preset: build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "== $preset: tests"
  ctest --preset "$preset"
}

# The windows preset keeps wine's own Windows folder in build/windows/wine. Every program of the
# build (test discovery at build time, then ctest's parallel tests) talks to one wine server. Left
# alone, the first program starts it and it exits three seconds after the last one ends; a program
# starting just then, or while a second program is still making the Windows folder, loses its
# connection ("wine client error:0: recvmsg: Connection reset by peer") on a busy machine. So the
# folder is made once and one server is kept running for the whole check, and stopped after it.
run_windows() {
  local wine=/usr/lib/wine/wine64 wineserver=/usr/lib/wine/wineserver64
  local cli=build/windows/src/cli/kalendo-cli.exe
  export WINEPREFIX=$PWD/build/windows/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  mkdir -p "$WINEPREFIX"
  # shellcheck disable=SC2064 # the path is fixed now; the function's variables are gone at exit
  trap "$wineserver -k 2>/dev/null || true; $wineserver -w 2>/dev/null || true" EXIT
  "$wineserver" -p
  "$wine" wineboot --init
  # Now and then wine fails to start a test program at all (no output, gone within 0.1 s); the
  # windows test preset runs a failed test once more, so a test fails the check only twice over.
  run_preset windows
  echo "== windows: kalendo-cli under wine"
  for command in "--version" "span 2024-01-15 2024-02-14 --both" "add B 5 2026-12-07" \
                 "--json easter 2026" "--today 2026-12-09 decode day after tomorrow"; do
    echo "\$ kalendo-cli $command"
    # shellcheck disable=SC2086 # each command is its words
    "$wine" "$cli" $command | tr -d '\r'
  done
}

case "${1:-}" in
  asan) scripts/install-deps.sh package; run_preset asan ;;
  quick) scripts/install-deps.sh package; run_preset default ;;
  windows) scripts/install-deps.sh windows; run_windows ;;
  "") scripts/install-deps.sh windows; run_preset default; scripts/lint.sh; run_preset asan-core; run_windows ;;
  *) echo "usage: scripts/test.sh [asan|quick|windows]" >&2; exit 2 ;;
esac
