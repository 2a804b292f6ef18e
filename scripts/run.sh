#!/usr/bin/env bash
# Builds Tarnel (release preset) and opens its window. On a machine without
# a display it says so in one line and runs the default search with
# tarnel-cli instead, so that the results show either way.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  cmake --build --preset release --target tarnel -j"$(nproc)"
  exec build/release/ui/tarnel
fi
cmake --build --preset release --target tarnel-cli -j"$(nproc)"
echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): running the default search with tarnel-cli instead."
exec build/release/cli/tarnel-cli
