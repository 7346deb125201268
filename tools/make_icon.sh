#!/usr/bin/env bash
# Draws the application icon (a white chain link on a green tile, the colour of
# sharing) at 16, 32 and 48 pixels and writes program/resources/linkwright.ico.
set -euo pipefail
out=${1:-$(cd "$(dirname "$0")/.." && pwd)/program/resources/linkwright.ico}
tmp=$(mktemp -d)
for s in 16 32 48; do
  r=$((s / 6)); w=$((s / 8 > 1 ? s / 8 : 1))
  convert -size ${s}x${s} xc:none -fill '#1AAD19' -draw "roundrectangle 0,0 $((s-1)),$((s-1)) $r,$r" \
    -fill none -stroke white -strokewidth $w \
    -draw "roundrectangle $((s*2/10)),$((s*4/10)) $((s*6/10)),$((s*7/10)) $((s/8)),$((s/8))" \
    -draw "roundrectangle $((s*4/10)),$((s*3/10)) $((s*8/10)),$((s*6/10)) $((s/8)),$((s/8))" \
    "$tmp/$s.png"
done
convert "$tmp/16.png" "$tmp/32.png" "$tmp/48.png" "$out"
rm -rf "$tmp"
echo "wrote $out"
