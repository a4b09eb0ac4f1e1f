#!/usr/bin/env bash
# Installs what building, running and testing Kalendo needs on Debian 12, and nothing that is
# already there. Uses sudo when not run as root.
#   scripts/install-deps.sh           the native build, its tests and the Debian package
#   scripts/install-deps.sh windows   also the Windows cross build and wine to run it
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth fonts-liberation fonts-dejavu-core
  # the installed tree's and the package's checks
  dpkg-dev desktop-file-utils appstream file man-db
)
case "${1:-}" in
  "") ;;
  # mingw-w64's posix-threads compiler (the one of g++-mingw-w64-x86-64 with all of <thread>),
  # GoogleTest's sources to build with it, wine to run the programs, NSIS for the installer.
  windows) packages+=(g++-mingw-w64-x86-64-posix googletest wine64 nsis) ;;
  *) echo "usage: scripts/install-deps.sh [windows]" >&2; exit 2 ;;
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
