#!/usr/bin/env bash
# Renders Kalendo's icon, packaging/icons/kalendo.svg, into the PNGs and the Windows .ico beside it.
# The rendered files are kept in the repository so that a build needs no SVG renderer (and the
# Windows build none at all); run this after changing the drawing.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v rsvg-convert >/dev/null || {
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get install -y -qq --no-install-recommends librsvg2-bin
}
icons=packaging/icons
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert --width "$size" --height "$size" "$icons/kalendo.svg" --output "$icons/kalendo-$size.png"
done
# An .ico holding PNG images (read by Windows since Vista): a directory entry per size, then the
# PNG files as they are. Width and height 0 stand for 256.
python3 - "$icons" <<'PY'
import struct, sys
folder = sys.argv[1]
sizes = [16, 24, 32, 48, 256]
images = [open(f"{folder}/kalendo-{s}.png", "rb").read() for s in sizes]
offset = 6 + 16 * len(sizes)
out = struct.pack("<HHH", 0, 1, len(sizes))
for size, data in zip(sizes, images):
    side = 0 if size == 256 else size
    out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
    offset += len(data)
open(f"{folder}/kalendo.ico", "wb").write(out + b"".join(images))
PY
echo "Rendered $(ls "$icons" | grep -c -E '\.(png|ico)$') files into $icons"
