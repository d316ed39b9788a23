#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs every test, and
# checks the installed tree and the Debian package made from that build; then
# builds the core, the batch tool and the fuzz replay again under AddressSanitizer and UBSan and
# runs their tests once more.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake --preset dev
cmake --build --preset dev -j"$jobs"
QT_QPA_PLATFORM=offscreen ctest --preset dev -j"$jobs"
scripts/check-packages.sh build/dev

cmake --preset asan
cmake --build --preset asan -j"$jobs"
ctest --preset asan -j"$jobs"
