#!/usr/bin/env bash
# Makes the README's pictures: the window after a press of Start, drawn by
# Qt's X11 platform on a virtual screen of a laptop's size (docs/screenshot.png)
# and of a small netbook's (docs/screenshot-1024x600.png).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target tarnel_screenshot -j"$(nproc)"
mkdir -p docs
for shot in 1366x768:docs/screenshot.png 1024x600:docs/screenshot-1024x600.png; do
  xvfb-run --auto-servernum --server-args="-screen 0 ${shot%%:*}x24" \
    env QT_QPA_PLATFORM=xcb build/release/scripts/tarnel_screenshot "${shot#*:}"
  echo "Wrote ${shot#*:}"
done
