#!/usr/bin/env bash
# Installs what is missing, builds Trelvox and starts it. Without a display (or before the
# desktop program is built) it converts the two samples in examples/ with trelvox-batch instead.
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
  echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset): converting the samples instead."
fi
batch="$bin/batch/trelvox-batch"
if [ ! -x "$batch" ]; then
  echo "$batch was not built." >&2
  exit 1
fi

out=$(mktemp -d "${TMPDIR:-/tmp}/trelvox-sample.XXXXXX")
mkdir -p "$out/azk" "$out/zil"
"$batch" parse-all examples/sample.azk --timeout 2000 \
  --composite "$out/azk/composite" --counters "$out/azk/counters" --subject-dir "$out/azk/subjects"
"$batch" parse-all examples/sample.zil --responses 2 \
  --composite "$out/zil/composite" --counters "$out/zil/counters" --subject-dir "$out/zil/subjects"
echo
echo "Output written to $out:"
echo "  azk/composite.dat, azk/counters.dat and azk/subjects/ (from examples/sample.azk)"
echo "  zil/composite.dat, zil/counters.dat and zil/subjects/ (from examples/sample.zil)"
