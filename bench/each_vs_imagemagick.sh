#!/usr/bin/env bash
# Times `velmora-icon build --each OUTDIR --sizes 16,32,48,256` over COUNT pictures of
# 512 x 512 (one process for all) against ImageMagick's `convert PICTURE -define
# icon:auto-resize=256,48,32,16 OUT.ico` run once per picture, side by side in one hyperfine
# run. The pictures are one RGBA gradient with translucency, copied COUNT times (default 200).
# Usage: bench/each_vs_imagemagick.sh BUILD_DIR [COUNT]
set -euo pipefail
build=${1:?usage: $0 BUILD_DIR [COUNT]}
count=${2:-200}
cli="$(cd "$build" && pwd)/src/cli/velmora-icon"
for tool in convert hyperfine; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/pics" "$work/ours" "$work/theirs"
convert -size 512x512 gradient:red-blue -alpha set -channel A -fx '0.3+0.7*i/w' \
  "$work/pics/p0000.png"
for ((i = 1; i < count; ++i)); do
  cp "$work/pics/p0000.png" "$work/pics/p$(printf %04d "$i").png"
done
hyperfine --warmup 1 --runs 3 \
  -n "velmora-icon build --each (one process)" \
  "'$cli' build --each '$work/ours' --sizes 16,32,48,256 '$work'/pics/*.png >/dev/null" \
  -n "convert once per picture" \
  "for f in '$work'/pics/*.png; do convert \"\$f\" -define icon:auto-resize=256,48,32,16 \
\"$work/theirs/\$(basename \"\$f\" .png).ico\"; done"
ls "$work/ours" | wc -l | sed 's/^/icons made by velmora-icon: /'
ls "$work/theirs" | wc -l | sed 's/^/icons made by convert: /'
