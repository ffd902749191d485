#!/usr/bin/env bash
# Times `velmora-icon extract --png` against `icotool -x` on the same 11-image icon (sizes 16
# to 256, the 256 one PNG-compressed), side by side in one hyperfine run.
# Usage: bench/extract_vs_icotool.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: $0 BUILD_DIR}
cli="$(cd "$build" && pwd)/src/cli/velmora-icon"
for tool in icotool convert hyperfine; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

convert -size 256x256 plasma:fractal -seed 7 "$work/src.png"
args=()
for size in 16 20 24 32 40 48 64 96 128; do
  convert "$work/src.png" -resize ${size}x${size} "PNG32:$work/s$size.png"
  args+=("$work/s$size.png")
done
icotool -c -o "$work/ten.ico" "${args[@]}" -r "$work/src.png"
"$cli" info "$work/ten.ico"

hyperfine -N -w 3 -r 30 --style basic \
  -n "velmora-icon extract --png" --prepare "rm -rf $work/ours" "$cli extract --png $work/ten.ico $work/ours" \
  -n "icotool -x" --prepare "rm -rf $work/theirs" "icotool -x -o $work/theirs $work/ten.ico"
