#!/usr/bin/env bash
# Installs what is needed, builds in release mode and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF
cmake --build build-release -j"$(nproc)"

if [ -x build-release/src/app/velmora-icon-manager ]; then
  exec build-release/src/app/velmora-icon-manager "$@"
fi
# Until the desktop program exists, show what the command-line tool makes of a sample icon
# that the build writes.
exec build-release/src/cli/velmora-icon info build-release/sample.ico "$@"
