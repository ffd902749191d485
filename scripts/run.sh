#!/usr/bin/env bash
# Installs what is needed, builds in release mode and starts the desktop program. Arguments are
# handed to the program (bitmaps to import into the first pane, or a script file).
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF
cmake --build build-release -j"$(nproc)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "velmora-icon-manager needs a graphical desktop (no DISPLAY or WAYLAND_DISPLAY is set)." >&2
  echo "Start it from a desktop session: build-release/src/app/velmora-icon-manager" >&2
  exit 1
fi
exec build-release/src/app/velmora-icon-manager "$@"
