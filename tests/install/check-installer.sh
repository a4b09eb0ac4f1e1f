#!/usr/bin/env bash
# Makes the Windows installer from the cross build with NSIS: the installer script CPack writes
# must compile, and the installer must carry the programs. (Running it needs a 32-bit wine, which
# the check does without.)
#   check-installer.sh BUILD_DIR SCRATCH_DIR VERSION
set -euo pipefail
build=$1 scratch=$2 version=$3
rm -rf "$scratch"
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G NSIS -B "$scratch" >/dev/null
installer=$scratch/kalendo-$version-win64.exe
[ -f "$installer" ] || fail "no installer $installer"
file "$installer" | grep -q 'PE32 executable' || fail "not a Windows program: $(file "$installer")"
script=$scratch/_CPack_Packages/win64/NSIS/project.nsi
grep -q 'Kalendo v'"$version" "$script" || fail "installer name"
[ -f "$scratch/_CPack_Packages/win64/NSIS/kalendo-$version-win64/bin/kalendo-cli.exe" ] || fail "kalendo-cli.exe not packed"
echo "installer $installer: built"
