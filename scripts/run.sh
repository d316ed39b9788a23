#!/usr/bin/env bash
# Installs what is missing, builds Trelvox and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake --preset dev >/dev/null
cmake --build --preset dev -j"$jobs"

bin=build/dev/src
if [ -x "$bin/shell/trelvox" ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  exec "$bin/shell/trelvox" "$@"
fi
if [ -x "$bin/shell/trelvox" ]; then
  echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset): converting the sample instead."
fi
if [ ! -x "$bin/batch/trelvox-batch" ]; then
  echo "The record toolkit, file channels and run state are built and tested; the DMDX readers,"
  echo "the commands and the programs that use them (trelvox, trelvox-batch) are not there yet."
  exit 0
fi
out=$(mktemp -d "${TMPDIR:-/tmp}/trelvox-sample.XXXXXX")
"$bin/batch/trelvox-batch" parse-all examples/sample.azk --timeout 2000 \
  --composite "$out/composite" --counters "$out/counters" --subject-dir "$out/subjects"
echo "Output written to $out: composite.dat, counters.dat and subjects/"
