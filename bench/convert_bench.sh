#!/usr/bin/env bash
# Conversion benchmark: trelvox-batch parse-all on a generated 20 MB AZK file (2,000 subjects of
# 500 trials) next to a plain awk script doing the same conversion, in one run.
#
#   bash bench/convert_bench.sh [path/to/trelvox-batch]
#
# Without a path it builds the release preset (build/release). Reports wall time (best of RUNS,
# default 3), MB/s and peak memory (GNU time), checks that both composite files are identical,
# and ends with status 1 when trelvox-batch is not at least 4 times as fast as awk or peaks at
# 30 MB or more.
set -euo pipefail
cd "$(dirname "$0")/.."

subjects=2000
trials=500
timeout=2000
runs=${RUNS:-3}

if [ ! -x /usr/bin/time ]; then
  echo "GNU time is needed: apt-get install time" >&2
  exit 2
fi
if [ $# -ge 1 ]; then
  batch=$(realpath "$1")
else
  scripts/install-deps.sh
  cmake --preset release >/dev/null
  cmake --build --preset release --target trelvox-batch -j2 >/dev/null
  batch=$(realpath build/release/src/batch/trelvox-batch)
fi
awk_script=$(realpath bench/convert_azk.awk)

work=$(mktemp -d "${TMPDIR:-/tmp}/trelvox-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
awk -v subjects=$subjects -v trials=$trials -v timeout=$timeout -f bench/generate_azk.awk \
  >"$work/big.azk"
bytes=$(stat -c %s "$work/big.azk")

# Runs the command given RUNS times; sets best_ms (fastest wall time) and peak_kb (largest
# maximum resident set size).
measure() {
  best_ms=""
  peak_kb=0
  for _ in $(seq "$runs"); do
    rm -f "$work/trelvox.dat"
    local start end ms kb
    start=$(date +%s%N)
    /usr/bin/time -f %M -o "$work/time.txt" "$@"
    end=$(date +%s%N)
    ms=$(((end - start) / 1000000))
    kb=$(tail -n 1 "$work/time.txt")
    if [ -z "$best_ms" ] || [ "$ms" -lt "$best_ms" ]; then best_ms=$ms; fi
    if [ "$kb" -gt "$peak_kb" ]; then peak_kb=$kb; fi
  done
}

# The short date is month/day/year in the C locale, as the awk script writes it.
measure env LC_ALL=C "$batch" parse-all "$work/big.azk" --timeout $timeout \
  --composite "$work/trelvox" --quiet
batch_ms=$best_ms
batch_kb=$peak_kb

measure sh -c 'awk -v timeout="$1" -f "$2" "$3" >"$4"' awk $timeout "$awk_script" \
  "$work/big.azk" "$work/awk.dat"
awk_ms=$best_ms
awk_kb=$peak_kb

env LC_ALL=C "$batch" parse-all "$work/big.azk" --timeout $timeout --composite "$work/trelvox" \
  --quiet
same="identical"
cmp -s "$work/trelvox.dat" "$work/awk.dat" || same="DIFFERENT"

report() {  # name, ms, kb
  awk -v name="$1" -v ms="$2" -v kb="$3" -v bytes="$bytes" 'BEGIN {
    printf "%-14s %8.3f s %9.1f MB/s %8.1f MB peak\n", name, ms / 1000, \
      bytes / 1e6 / (ms / 1000), kb / 1024 }'
}

awk -v s=$subjects -v t=$trials -v b="$bytes" -v r="$runs" 'BEGIN {
  printf "Input: %d subjects x %d trials, %.1f MB (%d bytes), best of %d runs\n", s, t, b / 1e6, b, r }'
report "trelvox-batch" "$batch_ms" "$batch_kb"
report "awk ($(readlink -f "$(command -v awk)" | xargs basename))" "$awk_ms" "$awk_kb"
speedup=$(awk -v a="$awk_ms" -v b="$batch_ms" 'BEGIN { printf "%.2f", a / b }')
echo "Speed-up over awk: ${speedup}x (target: at least 4x); composite files: $same"

status=0
if awk -v s="$speedup" 'BEGIN { exit !(s < 4) }'; then
  echo "Target missed: trelvox-batch is less than 4 times as fast as awk."
  status=1
fi
if [ "$batch_kb" -ge $((30 * 1024)) ]; then
  echo "Target missed: trelvox-batch peaked at 30 MB or more."
  status=1
fi
if [ "$same" != "identical" ]; then
  echo "The two conversions differ: the comparison is not fair."
  status=1
fi
exit $status
