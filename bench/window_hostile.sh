#!/usr/bin/env bash
# Times the window on icon files that are heavy by their counts: how long the window works
# after start until it is idle with the file shown in a window of 2540 x 1400 pixels, how long a change to zoom 400% (through the
# grid's pop-up menu) keeps it busy, and its peak memory (/usr/bin/time -v) after the grid was
# scrolled from its first to its last column at zoom 100% and 400%. Needs Xvfb and
# xdotool; runs its own X server.
# Usage: bench/window_hostile.sh BUILD_DIR FILE.ico...
set -euo pipefail
build=${1:?usage: $0 BUILD_DIR FILE.ico...}
shift
app="$(cd "$build" && pwd)/src/app/velmora-icon-manager"
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "needs Xvfb and xdotool"; exit 1; }
work=$(mktemp -d)
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 2560x1440x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
export DISPLAY=$display
sleep 1

now() { date +%s.%N; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0; }
# Waits until the process used no processor time for half a second; prints when it last worked.
wait_idle() {
  local pid=$1 last busy_at
  last=$(cpu_ticks "$pid")
  busy_at=$(now)
  while true; do
    sleep 0.5
    local ticks
    ticks=$(cpu_ticks "$pid")
    [ "$ticks" = "$last" ] && break
    last=$ticks
    busy_at=$(now)
  done
  echo "$busy_at"
}

for file in "$@"; do
  start=$(now)
  /usr/bin/time -v -o "$work/time" "$app" "$file" &
  timer=$!
  sleep 0.2
  pid=$(pgrep -P "$timer")
  opened=$(wait_idle "$pid")
  window=$(xdotool search --onlyvisible --pid "$pid" | head -n 1)
  xdotool windowactivate --sync "$window" 2>/dev/null || true
  # The whole screen: as many cells on show as it holds.
  xdotool windowsize "$window" 2540 1400
  opened=$(wait_idle "$pid")
  # A click on the first cell, then End and Home: the grid scrolls through every column of
  # its row, so every image of the row is painted once.
  xdotool mousemove --window "$window" 70 105 click 1
  xdotool key End
  wait_idle "$pid" >/dev/null
  xdotool key Home
  wait_idle "$pid" >/dev/null
  # The pop-up menu of the cell: Zoom, 400%.
  xdotool mousemove --window "$window" 70 105 click 3
  sleep 1
  xdotool key z
  sleep 0.3
  zoom_start=$(now)
  xdotool key 4
  zoomed=$(wait_idle "$pid")
  xdotool key End
  wait_idle "$pid" >/dev/null
  kill "$pid"
  wait "$timer" 2>/dev/null || true
  rss=$(awk -F': ' '/Maximum resident/ { print $2 }' "$work/time")
  printf '%s: open %.2f s, zoom 400%% %.2f s, peak %d MiB\n' "$(basename "$file")" \
    "$(echo "$opened - $start" | bc)" "$(echo "$zoomed - $zoom_start" | bc)" "$((rss / 1024))"
done
