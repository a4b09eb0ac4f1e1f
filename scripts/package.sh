#!/usr/bin/env bash
# Builds the programs in Release and makes the Debian package with CPack; its dependencies are
# read off the programs by dpkg-shlibdeps. Prints the package's path.
#   scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh package
cmake --preset release >/dev/null
cmake --build --preset release
cpack --config build/release/CPackConfig.cmake -G DEB -B build/release/packages >/dev/null
deb=$(ls build/release/packages/kalendo_*.deb)
dpkg-deb --field "$deb" Package Version Depends Recommends
# The unpacked package's kalendo-cli runs where it lies.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch"
"$scratch/usr/bin/kalendo-cli" --version
echo "$deb"
