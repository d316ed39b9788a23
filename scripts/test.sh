#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake --preset dev
cmake --build --preset dev -j"$jobs"
QT_QPA_PLATFORM=offscreen ctest --preset dev -j"$jobs"
