#!/usr/bin/env bash
# Makes the Debian package from the build, unpacks it into a scratch folder and runs the unpacked
# kalendo-cli there; the package's dependencies must be the ones read off the programs.
#   check-package.sh BUILD_DIR SCRATCH_DIR VERSION
set -euo pipefail
build=$1 scratch=$2 version=$3
rm -rf "$scratch"
mkdir -p "$scratch"
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >/dev/null
deb=$scratch/out/kalendo_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no package $deb"

depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6widgets6 libqt6network6 libqt6printsupport6; do
  [[ "$depends" == *"$library ("* ]] || fail "Depends lacks $library: $depends"
done
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version"

dpkg-deb -x "$deb" "$scratch/root"
cli=$scratch/root/usr/bin/kalendo-cli
[ -x "$scratch/root/usr/bin/kalendo" ] || fail "kalendo not in the package"
[ "$("$cli" --version)" = "kalendo-cli $version" ] || fail "--version"
[ "$("$cli" --json easter 2026 | head -c 1)" = "{" ] || fail "easter"
[ "$("$cli" add B 5 2026-12-07)" = "2026-12-14" ] || fail "add"
echo "package $deb: unpacked and run"
