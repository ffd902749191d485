#!/usr/bin/env bash
# Times `velmora-icon build --sizes 16,24,32,48,64,128,256` against ImageMagick's
# `convert PICTURE -define icon:auto-resize=256,128,64,48,32,24,16`, side by side in one
# hyperfine run, from one 1024 x 1024 RGBA PNG: an icon-like drawing (a soft shadow, a rounded
# body with a gradient, a translucent disc and bar) unless PICTURE is given. Then prints the
# size of both icons and, for each made size, the mean absolute difference (premultiplied RGBA,
# visible pixels) of both results from Pillow's Lanczos resize of the premultiplied picture.
# Usage: bench/sizes_vs_imagemagick.sh BUILD_DIR [PICTURE]
set -euo pipefail
build=${1:?usage: $0 BUILD_DIR [PICTURE]}
cli="$(cd "$build" && pwd)/src/cli/velmora-icon"
for tool in convert hyperfine /usr/bin/python3; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 1; }
done
magick=/usr/bin/convert
[ -x "$magick" ] || magick=$(command -v convert)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

picture=${2:-}
if [ -z "$picture" ]; then
  picture="$work/picture.png"
  /usr/bin/python3 - "$picture" <<'PY'
import sys
from PIL import Image, ImageDraw, ImageFilter
S = 1024
im = Image.new('RGBA', (S, S), (0, 0, 0, 0))
shadow = Image.new('RGBA', (S, S), (0, 0, 0, 0))
ImageDraw.Draw(shadow).rounded_rectangle((120, 150, 920, 950), radius=160, fill=(0, 0, 0, 140))
im.alpha_composite(shadow.filter(ImageFilter.GaussianBlur(24)))
ramp = Image.linear_gradient('L').resize((S, S))
body = Image.merge('RGBA', (ramp.point(lambda v: 40 + v * 0.6), ramp.point(lambda v: 90 + v * 0.4),
                            Image.new('L', (S, S), 230), Image.new('L', (S, S), 255)))
mask = Image.new('L', (S, S), 0)
ImageDraw.Draw(mask).rounded_rectangle((100, 100, 900, 900), radius=160, fill=255)
layer = Image.new('RGBA', (S, S), (0, 0, 0, 0))
layer.paste(body, (0, 0), mask)
im.alpha_composite(layer)
d = ImageDraw.Draw(im)
d.ellipse((300, 260, 740, 700), fill=(255, 255, 255, 230))
d.polygon([(420, 380), (420, 600), (620, 490)], fill=(230, 80, 60, 255))
d.rectangle((200, 760, 820, 800), fill=(255, 255, 255, 180))
im.save(sys.argv[1])
PY
fi

hyperfine -N -w 3 -r 30 --style basic \
  -n "velmora-icon build --sizes" --prepare "rm -f $work/ours.ico" \
  "$cli build --sizes 16,24,32,48,64,128,256 -o $work/ours.ico $picture" \
  -n "convert icon:auto-resize" --prepare "rm -f $work/magick.ico" \
  "$magick $picture -define icon:auto-resize=256,128,64,48,32,24,16 $work/magick.ico"

"$cli" build --sizes 16,24,32,48,64,128,256 -o "$work/ours.ico" "$picture" >/dev/null
"$magick" "$picture" -define icon:auto-resize=256,128,64,48,32,24,16 "$work/magick.ico"
echo "file bytes: velmora-icon $(stat -c %s "$work/ours.ico"), ImageMagick $(stat -c %s "$work/magick.ico")"
# Icon files may hold PNG images only as 8-bit RGBA (IHDR bit depth 8, colour type 6).
/usr/bin/python3 - "$work/ours.ico" "$work/magick.ico" <<'PY'
import struct, sys
for name in sys.argv[1:]:
    data = open(name, 'rb').read()
    kinds = []
    for i in range(struct.unpack_from('<H', data, 4)[0]):
        size, offset = struct.unpack_from('<II', data, 6 + 16 * i + 8)
        if data[offset:offset + 4] == b'\x89PNG':
            kinds.append('depth %d type %d' % (data[offset + 24], data[offset + 25]))
    print('%s: PNG images: %s' % (name.rsplit('/', 1)[-1], ', '.join(kinds) or 'none'))
PY
echo "difference from Pillow's Lanczos resize (ours, then ImageMagick's):"
/usr/bin/python3 "$(dirname "$0")/lanczos_difference.py" "$picture" "$work/ours.ico" "$work/magick.ico"
