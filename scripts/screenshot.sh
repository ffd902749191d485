#!/usr/bin/env bash
# Renews docs/screenshot.png: starts the desktop program on a virtual X display (Xvfb) with two
# icons named on the command line, the program's own icon in pane 1 and the sample icon in
# pane 2, photographs the screen with ImageMagick and cuts out the window.
# Usage: scripts/screenshot.sh [BUILD_DIR]   (default build-release; built when needed)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build-release}
output=docs/screenshot.png
for tool in xvfb-run xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }
done

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF
fi
cmake --build "$build" -j"$(nproc)" --target velmora-icon-manager program_icon sample_icon

program=$(realpath "$build/src/app/velmora-icon-manager")
icons=$(mktemp -d)
trap 'rm -rf "$icons"' EXIT
cp "$build/data/velmora-icon-manager.ico" "$build/sample.ico" "$icons/"
mkdir -p "$(dirname "$output")"

# Runs on the virtual display: start, wait for the window, let it paint, photograph, crop.
# (A text, not a function: xvfb-run's shell does not hand functions on.)
shoot='
  program=$1 folder=$2 icon1=$3 icon2=$4 output=$5
  # Started in the icons folder with plain names, so that the headlines show just those.
  (cd "$folder" && exec "$program" "$icon1" "$icon2") &
  pid=$!
  trap "kill $pid 2>/dev/null || true" EXIT
  window=$(timeout 30 xdotool search --sync --onlyvisible --pid "$pid" | head -n 1)
  xdotool windowmove --sync "$window" 0 0 || true
  xdotool windowsize --sync "$window" 900 540 || true
  sleep 1
  # Pane 1 is made wider, so that every size of the program icon shows: the splitter, at 287
  # pixels from the left at the start, is dragged to the right.
  xdotool mousemove --sync 291 300 mousedown 1 mousemove --sync 400 300 mousemove --sync 500 300 \
    mouseup 1 mousemove --sync 880 520
  # The panes open their icons right after the window appears; give them time to paint.
  sleep 2
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$output"
'

# A fixed, plain environment: the same look wherever it runs.
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb QT_QPA_PLATFORMTHEME= LANG=C.UTF-8 \
  xvfb-run -a -s "-screen 0 1024x768x24" bash -c "$shoot" shoot \
  "$program" "$icons" velmora-icon-manager.ico sample.ico "$(realpath -m "$output")"

echo "wrote $output ($(identify -format '%wx%h' "$output"))"
