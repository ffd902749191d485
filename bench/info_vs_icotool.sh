#!/usr/bin/env bash
# Times `velmora-icon info` against `icotool -l` over the same 1000 small icons, side by side
# in one hyperfine run. Usage: bench/info_vs_icotool.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: $0 BUILD_DIR}
cli="$(cd "$build" && pwd)/src/cli/velmora-icon"
for tool in icotool hyperfine; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for i in $(seq 1 1000); do cp "$build/sample.ico" "$work/icon-$i.ico"; done

cd "$work"
hyperfine -w 5 -r 60 --style basic \
  -n "velmora-icon info" "$cli info *.ico" \
  -n "velmora-icon info --json" "$cli info --json *.ico" \
  -n "icotool -l" "icotool -l *.ico"
