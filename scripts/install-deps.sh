#!/usr/bin/env bash
# Installs what building, running and testing Kalendo needs on Debian 12, and nothing that is
# already there. Uses sudo when not run as root.
#   scripts/install-deps.sh           building and running the program and its tests
#   scripts/install-deps.sh package   also the tools that check the installed tree and the Debian
#                                     package (the tests of tests/install need them)
#   scripts/install-deps.sh windows   also the Windows cross build, wine to run it, and NSIS
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev clang-tidy clang-format
  qt6-base-dev qt6-base-dev-tools qt6-base-private-dev libqt6opengl6-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth fonts-liberation fonts-dejavu-core
  openbox trayer xdotool wmctrl x11-utils
  dbus-daemon dbus-session-bus-common at-spi2-core python3-pyatspi
)
# The checks of the installed tree and of the package.
packaging=(dpkg-dev desktop-file-utils appstream file man-db)
# mingw-w64's posix-threads compiler (the variant of g++-mingw-w64-x86-64 with all of <thread>),
# GoogleTest's sources to build with it, wine to run the programs, NSIS for the installer.
windows=(g++-mingw-w64-x86-64-posix googletest wine64 nsis)
case "${1:-}" in
  "") ;;
  package) packages+=("${packaging[@]}") ;;
  windows) packages+=("${packaging[@]}" "${windows[@]}") ;;
  *) echo "usage: scripts/install-deps.sh [package|windows]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
