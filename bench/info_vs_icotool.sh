#!/usr/bin/env bash
# Times `velmora-icon info` against `icotool -l` over the same 1000 small icons, side by side
# in one run, and prints the ratio. Usage: bench/info_vs_icotool.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: $0 BUILD_DIR}
cli="$build/src/cli/velmora-icon"
command -v icotool >/dev/null || { echo "icotool is not installed"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for i in $(seq 1 1000); do cp "$build/sample.ico" "$work/icon-$i.ico"; done

best() { # best of 5 wall-clock runs, in milliseconds
  local best_ms=999999
  for _ in 1 2 3 4 5; do
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    local ms=$(( (end - start) / 1000000 ))
    (( ms < best_ms )) && best_ms=$ms
  done
  echo "$best_ms"
}

ours=$(best "$cli" info "$work"/*.ico)
ours_json=$(best "$cli" info --json "$work"/*.ico)
theirs=$(best icotool -l "$work"/*.ico)
echo "velmora-icon info:        ${ours} ms"
echo "velmora-icon info --json: ${ours_json} ms"
echo "icotool -l:               ${theirs} ms"
awk -v a="$ours" -v b="$theirs" 'BEGIN { if (a == 0) a = 1; printf "ratio icotool/velmora: %.2f\n", b / a }'
