#!/usr/bin/env bash
# Times `velmora-icon build` of one icon from six 32-bit bitmaps (16 to 72 pixels) against
# `icotool -c` of the same pictures as PNG files and ImageMagick's `convert` of the bitmaps,
# side by side in one hyperfine run. Each run writes a new file: the output of the run before
# is removed first, as none of the three tools has a file to replace.
# Usage: bench/build_vs_peers.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: $0 BUILD_DIR}
cli="$(cd "$build" && pwd)/src/cli/velmora-icon"
for tool in icotool convert hyperfine; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 1; }
done
# ImageMagick's own convert, not a wrapper that may come first on the PATH and add its start-up.
magick=/usr/bin/convert
[ -x "$magick" ] || magick=$(command -v convert)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

convert -size 72x72 plasma:fractal -seed 11 -alpha set -channel A -fx 'i/w' "PNG32:$work/src.png"
bitmaps=()
pngs=()
for size in 16 24 32 48 64 72; do
  convert "$work/src.png" -resize ${size}x${size} "PNG32:$work/s$size.png"
  convert "$work/s$size.png" -define bmp:format=bmp4 "BMP:$work/s$size.bmp"
  bitmaps+=("$work/s$size.bmp")
  pngs+=("$work/s$size.png")
done
# The three results, once, to show that each tool makes an icon of six 32-bit images.
"$cli" build -o "$work/ours.ico" "${bitmaps[@]}" >/dev/null
icotool -c -o "$work/icotool.ico" "${pngs[@]}"
"$magick" "${bitmaps[@]}" "$work/magick.ico"
for icon in ours icotool magick; do
  echo "$icon.ico: $(icotool -l "$work/$icon.ico" 2>/dev/null | grep -c 'bit-depth=32') 32-bit images"
done

hyperfine -N -w 5 -r 100 --style basic \
  -n "velmora-icon build" --prepare "rm -f $work/ours.ico" \
  "$cli build -o $work/ours.ico ${bitmaps[*]}" \
  -n "icotool -c (PNG)" --prepare "rm -f $work/icotool.ico" \
  "icotool -c -o $work/icotool.ico ${pngs[*]}" \
  -n "convert (BMP)" --prepare "rm -f $work/magick.ico" \
  "$magick ${bitmaps[*]} $work/magick.ico"
