#!/usr/bin/env bash
# Makes docs/screenshot.png, the README's picture: the window after a press
# of Start with its defaults, drawn by Qt's X11 platform on a virtual screen.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target tarnel_screenshot -j"$(nproc)"
mkdir -p docs
xvfb-run --auto-servernum --server-args="-screen 0 1920x1200x24" \
  env QT_QPA_PLATFORM=xcb build/release/scripts/tarnel_screenshot docs/screenshot.png
echo "Wrote docs/screenshot.png"
