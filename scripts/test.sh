#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs every test; then
# builds the core, the batch tool and the fuzz replay again under AddressSanitizer and UBSan and
# runs their tests once more; then cross-builds the core, trelvox-batch.exe and their tests for
# Windows and runs those tests under Wine, and compares what trelvox-batch.exe writes there with
# what the Linux build writes.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake --preset dev
cmake --build --preset dev -j"$jobs"
QT_QPA_PLATFORM=offscreen ctest --preset dev -j"$jobs"

cmake --preset asan
cmake --build --preset asan -j"$jobs"
ctest --preset asan -j"$jobs"

windows_start=$SECONDS
cmake --preset windows
cmake --build --preset windows -j"$jobs"
windows_built=$SECONDS
ctest --preset windows -j"$jobs"
# The Windows program must write exactly what the Linux one writes.
scripts/compare-windows-batch.sh build/dev/src/batch/trelvox-batch \
  build/windows/src/batch/trelvox-batch.exe
echo "Windows leg: build $((windows_built - windows_start)) s, tests under Wine" \
  "$((SECONDS - windows_built)) s"
