#!/usr/bin/env bash
# Data-quality report benchmark: the size of report.html for the benchmark's shape (2,000
# subjects of 500 trials, 400 items, two --by cells), the time headless Chromium takes to draw
# every plot of it, and the time writing it takes next to trelvox-batch parse-all on the 20 MB
# AZK file of bench/convert_bench.sh.
#
#   bash bench/report_bench.sh [build folder]     (default: the release preset, built here)
#
# The report is written from figures made by hand in the shape the analysis gives
# (tests/analysis/ReportSamples.cpp, `write_report_samples`), and parse-all stands in for the
# analysis's own reading. The render time is what the page itself reports once every plot is
# drawn (its body's data-drawn-ms, counted from the start of navigation), read from the DOM that
# Chromium dumps. RUNS rounds (default 5); the best of each figure is reported. Targets: at
# most 3 MB, drawn in under 5 s, writing it at most 20% of the reading. Ends with status 1 when
# one is missed.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${RUNS:-5}
if [ $# -ge 1 ]; then
  build=$(realpath "$1")
else
  scripts/install-deps.sh
  cmake --preset release >/dev/null
  cmake --build --preset release --target trelvox-batch write_report_samples -j2 >/dev/null
  build=$(realpath build/release)
fi
batch=$build/src/batch/trelvox-batch
writer=$build/tests/analysis/write_report_samples
chromium=$(command -v chromium || command -v chromium-browser)
offline=()
if [ "$(id -u)" -eq 0 ] && unshare -n true 2>/dev/null; then
  offline=(unshare -n)
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/trelvox-report-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
awk -v subjects=2000 -v trials=500 -v timeout=2000 -f bench/generate_azk.awk >"$work/azk.azk"

best_write="" best_parse="" best_drawn="" size=0
smaller() { if [ -z "$1" ] || awk -v a="$2" -v b="$1" 'BEGIN { exit !(a < b) }'; then echo "$2"; else echo "$1"; fi; }
echo "Load before the run: $(uptime | sed 's/.*load average/load average/')"
for _ in $(seq "$runs"); do
  mkdir -p "$work/reports"
  write_ms=$("$writer" "$work/reports" | awk '$1 == "large.html" { print $4 }')
  size=$(stat -c %s "$work/reports/large.html")
  best_write=$(smaller "$best_write" "$write_ms")

  start=$(date +%s%N)
  (cd "$work" && "$batch" parse-all azk.azk --composite comp --timeout 2000 --quiet >/dev/null)
  best_parse=$(smaller "$best_parse" "$((($(date +%s%N) - start) / 1000000))")
  rm -f "$work/comp.dat"

  profile=$(mktemp -d "$work/profile.XXXXXX")
  drawn=$("${offline[@]}" "$chromium" --headless --no-sandbox --disable-gpu \
    --disable-background-networking --disable-component-update --no-first-run --disable-sync \
    --user-data-dir="$profile" --virtual-time-budget=30000 --dump-dom \
    "file://$work/reports/large.html" 2>/dev/null | grep -o 'data-drawn-ms="[0-9]*"' |
    grep -o '[0-9]*' || echo "")
  rm -rf "$profile"
  if [ -z "$drawn" ]; then
    echo "MISSED  the page never reported every plot drawn" && exit 1
  fi
  best_drawn=$(smaller "$best_drawn" "$drawn")
done
echo "Load after the run:  $(uptime | sed 's/.*load average/load average/')"

status=0
check() {  # description, value, comparison operator, limit
  if awk -v r="$2" -v l="$4" "BEGIN { exit !(r $3 l) }"; then
    echo "ok      $1: $2 (target $3 $4)"
  else
    echo "MISSED  $1: $2 (target $3 $4)"
    status=1
  fi
}
echo
echo "report.html $size bytes; written in $best_write ms; every plot drawn after $best_drawn ms;" \
  "parse-all on the 20 MB AZK file $best_parse ms (best of $runs)"
check "report size, MB" "$(awk -v b="$size" 'BEGIN { printf "%.2f", b / 1e6 }')" "<=" 3
check "drawn in Chromium, s" "$(awk -v m="$best_drawn" 'BEGIN { printf "%.2f", m / 1000 }')" "<" 5
check "writing the report / reading the 20 MB file" \
  "$(awk -v w="$best_write" -v p="$best_parse" 'BEGIN { printf "%.3f", w / p }')" "<=" 0.20
exit $status
