#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs every test, and
# checks the installed tree and the Debian package made from that build; then
# builds the core, the batch tool and the fuzz replay again under AddressSanitizer and UBSan and
# runs their tests once more; then cross-builds the core, trelvox-batch.exe and their tests for
# Windows and runs those tests under Wine, compares what trelvox-batch.exe writes there with
# what the Linux build writes, and tries the Windows installer and zip under Wine.
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
# The Windows downloads made from that build, installed, run and uninstalled under Wine.
scripts/check-windows-packages.sh build/windows build/dev/src/batch/trelvox-batch
