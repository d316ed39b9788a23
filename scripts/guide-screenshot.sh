#!/usr/bin/env bash
# A screenshot of the guide that the packages ship (guide.html, made by the build from
# README.md), in headless Chromium, for the guide itself.
#   scripts/guide-screenshot.sh [BUILD-DIR [OUT-DIR]]   (default build/dev, docs/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/dev}
out=${2:-docs/screenshots}
cmake --build "$build" --target trelvox_guide >/dev/null
mkdir -p "$out"
chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=900,760 \
  --screenshot="$out/guide-html.png" "file://$(realpath "$build")/guide/guide.html" 2>/dev/null
echo "$out/guide-html.png"
