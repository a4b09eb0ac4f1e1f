#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks the tree a user gets: every file in its
# place, the desktop entry and the AppStream metadata valid, the icons at their sizes, the manual
# page clean, the named-dates table when the sources have one, and the installed kalendo-cli
# working where it lies.
#   check-install.sh SOURCE_DIR BUILD_DIR SCRATCH_DIR APP_ID VERSION
set -euo pipefail
source=$1 build=$2 scratch=$3 id=$4 version=$5
prefix=$scratch/usr
rm -rf "$scratch"
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }

for file in bin/kalendo bin/kalendo-cli \
            share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
            share/icons/hicolor/scalable/apps/$id.svg share/man/man1/kalendo-cli.1; do
  [ -f "$prefix/$file" ] || fail "missing $file"
done
[ -x "$prefix/bin/kalendo" ] && [ -x "$prefix/bin/kalendo-cli" ] || fail "programs not executable"

desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop entry"
[ -z "$(desktop-file-validate "$prefix/share/applications/$id.desktop")" ] || fail "desktop entry hints"
grep -qx "Icon=$id" "$prefix/share/applications/$id.desktop" || fail "desktop entry names another icon"
report=$(appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml") || fail "metainfo: $report"
grep -q "<release version=\"$version\"" "$prefix/share/metainfo/$id.metainfo.xml" || fail "release $version"
report=$(appstreamcli validate-tree --no-net "$prefix") || fail "installed tree: $report"

sizes=0
for folder in "$prefix"/share/icons/hicolor/*x*; do
  side=${folder##*/}; side=${side%%x*}
  file "$folder/apps/$id.png" | grep -q "PNG image data, $side x $side," || fail "icon in $folder"
  sizes=$((sizes + 1))
done
[ "$sizes" -ge 6 ] || fail "only $sizes icon sizes"
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/$id.svg" || fail "scalable icon"

manual=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/kalendo-cli.1" 2>&1 >/dev/null)
[ -z "$manual" ] || fail "manual page warnings: $manual"
LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$prefix/share/man/man1/kalendo-cli.1" | grep -q "kalendo-cli $version" \
  || fail "manual page version"

# Nothing installed refers to where it was built or installed: the tree can be moved.
if grep -rlF -e "$build" -e "$prefix" "$prefix/share"; then fail "paths of the build in share/"; fi
ldd "$prefix/bin/kalendo" | grep -q 'not found' && fail "kalendo misses libraries"

cli=$prefix/bin/kalendo-cli
[ "$("$cli" --version)" = "kalendo-cli $version" ] || fail "--version"
[ "$("$cli" span 2024-01-15 2024-02-14 --both | head -n 1)" = "31 Days" ] || fail "span"
# The named-dates table goes with the programs once the source tree has one.
if [ -f "$source/data/DateScan.DAT" ]; then
  cmp -s "$source/data/DateScan.DAT" "$prefix/share/kalendo/DateScan.DAT" || fail "share/kalendo/DateScan.DAT"
fi
# So do the holidays of every place, found by the installed program from its own folder.
if [ -f "$source/data/holidays/places.txt" ]; then
  diff -rq "$source/data/holidays" "$prefix/share/kalendo/holidays" >/dev/null || fail "share/kalendo/holidays"
  env -u KALENDO_DATA_DIR "$cli" add B 10 2026-08-24 --holidays GB-ENG | grep -qx 2026-09-08 \
    || fail "holidays of GB-ENG from the installed data"
fi
echo "installed tree in $prefix: valid"
