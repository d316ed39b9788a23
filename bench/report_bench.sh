#!/usr/bin/env bash
# Data-quality report benchmark, on the 20 MB AZK file of bench/convert_bench.sh (2,000 subjects
# of 500 trials) with an item list of its 500 items in two conditions:
#
#   parse-all    trelvox-batch parse-all --timeout 2000 --quiet (the yardstick)
#   analyze      trelvox-batch analyze --timeout 2000 --items items.tsv --by condition, which
#                writes report.html beside the tables
#   no-report    the same with --no-report
#   plain        trelvox-batch analyze --timeout 2000 alone (report included), the analysis
#                that must take at most three times parse-all's time
#
# RUNS rounds (default 5) run the three in turn, so that a change in machine load hits them all
# alike, then open the report in headless Chromium with the network off. The figures are the
# medians over the rounds: wall time, processor time (user and system, GNU time), peak resident
# set (the largest), the report's
# size and the time until every plot is drawn (the page's own data-drawn-ms, counted from the
# start of navigation, read from the DOM that Chromium dumps). Targets: report at most 3 MB,
# drawn in under 5 s, writing it adds at most 20% to analyze; plain at most three times
# parse-all's time; every analysis under 64 MiB. The checks use wall time; processor time (GNU
# time's, in hundredths of a second) is printed beside it, as a busy shared machine disturbs it
# less. Ends with status 1 when one is missed.
#
#   bash bench/report_bench.sh [path/to/trelvox-batch]   (default: the release preset, built here)
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${RUNS:-5}
if [ $# -ge 1 ]; then
  batch=$(realpath "$1")
else
  scripts/install-deps.sh
  cmake --preset release >/dev/null
  cmake --build --preset release --target trelvox-batch -j2 >/dev/null
  batch=$(realpath build/release/src/batch/trelvox-batch)
fi
chromium=$(command -v chromium || command -v chromium-browser)
offline=()
if [ "$(id -u)" -eq 0 ] && unshare -n true 2>/dev/null; then
  offline=(unshare -n)
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/trelvox-report-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
awk -v subjects=2000 -v trials=500 -v timeout=2000 -f bench/generate_azk.awk >"$work/azk.azk"
awk 'BEGIN { print "item\tcondition"; for (i = 1; i <= 500; i++) {
  print i "\t" (i % 2 ? "word" : "nonword") } }' >"$work/items.tsv"

declare -A times cpu_times peak_kb
drawn_ms=() sizes=()

# Runs one program into $work/<program>/ and keeps its wall and processor times and largest peak
# memory.
measure() {  # program
  local program=$1 out="$work/$1" start end kb
  rm -rf "$out" && mkdir -p "$out"
  start=$(date +%s%N)
  case "$program" in
    parse-all)
      (cd "$out" && LC_ALL=C /usr/bin/time -f "%U %S %M" -o time.txt "$batch" parse-all ../azk.azk \
        --timeout 2000 --composite comp --quiet >/dev/null)
      ;;
    plain)
      (cd "$out" && LC_ALL=C /usr/bin/time -f "%U %S %M" -o time.txt "$batch" analyze ../azk.azk \
        --timeout 2000 --out tables >/dev/null)
      ;;
    analyze | no-report)
      local flags=()
      [ "$program" = no-report ] && flags=(--no-report)
      (cd "$out" && LC_ALL=C /usr/bin/time -f "%U %S %M" -o time.txt "$batch" analyze ../azk.azk \
        --timeout 2000 --items ../items.tsv --by condition "${flags[@]}" --out tables >/dev/null)
      ;;
  esac
  end=$(date +%s%N)
  times[$program]="${times[$program]:-} $(((end - start) / 1000000))"
  read -r user system kb < <(tail -n 1 "$out/time.txt")
  cpu_times[$program]="${cpu_times[$program]:-} $(awk -v u="$user" -v s="$system" \
    'BEGIN { printf "%d", (u + s) * 1000 }')"
  if [ "$kb" -gt "${peak_kb[$program]:-0}" ]; then peak_kb[$program]=$kb; fi
}

# The time until every plot of the report is drawn, in ms, or nothing when it never is.
drawn() {  # report
  local profile
  profile=$(mktemp -d "$work/profile.XXXXXX")
  "${offline[@]}" "$chromium" --headless --no-sandbox --disable-gpu \
    --disable-background-networking --disable-component-update --no-first-run --disable-sync \
    --user-data-dir="$profile" --virtual-time-budget=30000 --dump-dom "file://$1" 2>/dev/null |
    grep -o 'data-drawn-ms="[0-9]*"' | grep -o '[0-9]*' || true
  rm -rf "$profile"
}

median() { tr ' ' '\n' | grep . | sort -n | awk '{ v[NR] = $1 } END {
  print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

programs=(parse-all analyze no-report plain)
echo "Load before the run: $(uptime | sed 's/.*load average/load average/')"
for _ in $(seq "$runs"); do
  for program in "${programs[@]}"; do
    measure "$program"
  done
  report="$work/analyze/tables/report.html"
  sizes+=("$(stat -c %s "$report")")
  ms=$(drawn "$report")
  if [ -z "$ms" ]; then
    echo "MISSED  the page never reported every plot drawn" && exit 1
  fi
  drawn_ms+=("$ms")
done
echo "Load after the run:  $(uptime | sed 's/.*load average/load average/')"

declare -A median_ms median_cpu
printf "\n%-10s %9s %9s %9s   %s\n" program "wall s" "cpu s" "peak MiB" \
  "every round: wall ms / cpu ms"
for program in "${programs[@]}"; do
  median_ms[$program]=$(echo "${times[$program]}" | median)
  median_cpu[$program]=$(echo "${cpu_times[$program]}" | median)
  awk -v p="$program" -v ms="${median_ms[$program]}" -v cpu="${median_cpu[$program]}" \
    -v kb="${peak_kb[$program]}" -v all="${times[$program]} /${cpu_times[$program]}" \
    'BEGIN { printf "%-10s %9.3f %9.3f %9.2f  %s\n", p, ms / 1000, cpu / 1000, kb / 1024, all }'
done
size=$(echo "${sizes[*]}" | median)
drawn_median=$(echo "${drawn_ms[*]}" | median)
echo "report.html $size bytes; every plot drawn after ${drawn_ms[*]} ms (median" \
  "$drawn_median); input $(stat -c %s "$work/azk.azk") bytes; $runs interleaved rounds"

status=0
check() {  # description, value, comparison operator, limit
  if awk -v r="$2" -v l="$4" "BEGIN { exit !(r $3 l) }"; then
    echo "ok      $1: $2 (target $3 $4)"
  else
    echo "MISSED  $1: $2 (target $3 $4)"
    status=1
  fi
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }
echo
check "report size, MB" "$(awk -v b="$size" 'BEGIN { printf "%.2f", b / 1e6 }')" "<=" 3
check "drawn in Chromium, s" "$(ratio "$drawn_median" 1000)" "<" 5
check "analyze with the report / without it" \
  "$(ratio "${median_ms[analyze]}" "${median_ms[no-report]}")" "<=" 1.20
check "analyze time / parse-all time" \
  "$(ratio "${median_ms[plain]}" "${median_ms[parse-all]}")" "<=" 3
echo "info    the same by processor time: with the report / without it" \
  "$(ratio "${median_cpu[analyze]}" "${median_cpu[no-report]}"), analyze / parse-all" \
  "$(ratio "${median_cpu[plain]}" "${median_cpu[parse-all]}")"
check "peak MiB, analyze" "$(ratio "${peak_kb[analyze]}" 1024)" "<" 64
check "peak MiB, analyze --no-report" "$(ratio "${peak_kb[no-report]}" 1024)" "<" 64
check "peak MiB, plain analyze" "$(ratio "${peak_kb[plain]}" 1024)" "<" 64
echo "info    --items --by analyze / parse-all, processor time:" \
  "$(ratio "${median_cpu[analyze]}" "${median_cpu[parse-all]}")"
exit $status
