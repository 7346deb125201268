#!/usr/bin/env bash
# Remakes the sample pictures that tests/runtime/picture/decode_test.cpp reads,
# with ImageMagick, from patterns written here. The tests know the patterns:
#   colour.jpg   32×32: quarters red, green, blue, white (top-left, top-right,
#                bottom-left, bottom-right)
#   grey.jpg     32×32 grey: quarters 0, 85, 170, 255, one colour component
#   alpha.png    8×8: quarters red opaque, green half transparent, blue fully
#                transparent, white opaque
#   rows.gif     16×16 interlaced: row y has colour (16y, 255−16y, 8y)
#   clear.gif    4×4: top half black, bottom half transparent
#   anim.gif     8×8, three frames: red (0.1 s, kept); blue 4×4 at (2,2) (0.2 s,
#                restore previous); green 2×2 at (4,4) (0.3 s)
#   multi.ico    16×16, 32×32 and 48×48 images; the 32×32 one is yellow with its
#                left column transparent, the others are grey
#   quad.pcx     16×12 at 8 bits: quarters red, green, blue, white
#   quad.bmp     16×12 at 24 bits with a 124-byte header (same quarters)
set -euo pipefail
cd "$(dirname "$0")"
im=/usr/bin/convert
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

python3 - "$tmp" <<'PY'
import sys
d = sys.argv[1]
def ppm(name, w, h, f):
    with open(f"{d}/{name}", "w") as o:
        o.write(f"P3\n{w} {h}\n255\n")
        for y in range(h):
            o.write(" ".join("%d %d %d" % f(x, y) for x in range(w)) + "\n")
def pam(name, w, h, f):
    with open(f"{d}/{name}", "wb") as o:
        o.write(f"P7\nWIDTH {w}\nHEIGHT {h}\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n".encode())
        o.write(bytes(v for y in range(h) for x in range(w) for v in f(x, y)))
def quad(w, h):
    return lambda x, y: [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 255)][(y >= h // 2) * 2 + (x >= w // 2)]
ppm("quad32.ppm", 32, 32, quad(32, 32))
ppm("quad16.ppm", 16, 12, quad(16, 12))
with open(f"{d}/grey.pgm", "w") as o:
    o.write("P2\n32 32\n255\n")
    for y in range(32):
        o.write(" ".join(str([0, 85, 170, 255][(y >= 16) * 2 + (x >= 16)]) for x in range(32)) + "\n")
pam("alpha.pam", 8, 8, lambda x, y: [(255, 0, 0, 255), (0, 255, 0, 128), (0, 0, 255, 0), (255, 255, 255, 255)][(y >= 4) * 2 + (x >= 4)])
ppm("rows.ppm", 16, 16, lambda x, y: (16 * y, 255 - 16 * y, 8 * y))
pam("clear.pam", 4, 4, lambda x, y: (0, 0, 0, 255) if y < 2 else (255, 255, 255, 0))
ppm("red8.ppm", 8, 8, lambda x, y: (255, 0, 0))
ppm("blue4.ppm", 4, 4, lambda x, y: (0, 0, 255))
ppm("green2.ppm", 2, 2, lambda x, y: (0, 255, 0))
pam("ico16.pam", 16, 16, lambda x, y: (128, 128, 128, 255))
pam("ico32.pam", 32, 32, lambda x, y: (255, 255, 0, 0 if x == 0 else 255))
pam("ico48.pam", 48, 48, lambda x, y: (128, 128, 128, 255))
PY

$im "$tmp/quad32.ppm" -quality 95 -sampling-factor 1x1 colour.jpg
$im "$tmp/grey.pgm" -quality 95 -type Grayscale grey.jpg
$im "$tmp/alpha.pam" PNG32:alpha.png
$im "$tmp/rows.ppm" -interlace GIF rows.gif
$im "$tmp/clear.pam" clear.gif
$im -dispose none -delay 10 "$tmp/red8.ppm" \
    -dispose previous -delay 20 -page 8x8+2+2 "$tmp/blue4.ppm" \
    -dispose none -delay 30 -page 8x8+4+4 "$tmp/green2.ppm" -loop 0 anim.gif
$im "$tmp/ico16.pam" "$tmp/ico32.pam" "$tmp/ico48.pam" multi.ico
$im "$tmp/quad16.ppm" -type Palette pcx:quad.pcx
$im "$tmp/quad16.ppm" -type TrueColor BMP:quad.bmp
ls -l
