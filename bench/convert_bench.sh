#!/usr/bin/env bash
# Conversion benchmark: trelvox-batch parse-all next to the plain awk script and the hand-written
# single-purpose converter (bench/azk_convert.cpp), in one interleaved run, on generated files:
#
#   azk        20 MB AZK (2,000 subjects x 500 trials, CR LF), --timeout 2000
#   azk-lf     the same file with LF line ends only
#   azk-cr     the same file with CR line ends only
#   azk-cot    azk with --cot: every trial line has two fields, so every line gets a message
#   azk-files  azk with --counters and --subject-dir
#   zil        20 MB ZIL (1,000 subjects x 400 items, wrapped response lines, "No Responses"
#              items), --responses 4
#   zil-files  zil with --counters and --subject-dir
#   azk-2mb, azk-200mb   trelvox-batch alone: its peak memory must not grow with the input
#
# On azk, "analyze" (trelvox-batch analyze --timeout 2000 into a folder of tables) runs in the
# same rounds: at most three times parse-all's time there, and under 64 MiB. "analyze2" adds
# --min-rt, --max-rt, --sd and --max-error-rate, whose figures need a first reading of the whole
# input before the rows: its time is reported, and it too must stay under 64 MiB.
#
#   bash bench/convert_bench.sh [path/to/trelvox-batch [path/to/previous/trelvox-batch]]
#
# Without a path it builds the release preset (build/release). With a second path the previous
# build runs in the same rounds ("before") and its files are compared with cmp. RUNS rounds
# (default 5) run every program on every case in turn, so that a change in machine load hits
# them all alike; the best wall time of each is reported, with MB/s and the largest peak
# resident set (GNU time). Ends with status 1 when a target is missed or outputs differ.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${RUNS:-5}
timeout=2000

if [ ! -x /usr/bin/time ]; then
  scripts/install-deps.sh
  if [ ! -x /usr/bin/time ]; then
    echo "GNU time is needed: apt-get install time" >&2
    exit 2
  fi
fi
if [ $# -ge 1 ]; then
  batch=$(realpath "$1")
  converter=$(realpath "$(dirname "$1")/../../bench/bench_azk_convert")
else
  scripts/install-deps.sh
  cmake --preset release >/dev/null
  cmake --build --preset release --target trelvox-batch bench_azk_convert -j2 >/dev/null
  batch=$(realpath build/release/src/batch/trelvox-batch)
  converter=$(realpath build/release/bench/bench_azk_convert)
fi
before=""
if [ $# -ge 2 ]; then
  before=$(realpath "$2")
fi
awk_script=$(realpath bench/convert_azk.awk)

work=$(mktemp -d "${TMPDIR:-/tmp}/trelvox-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
awk -v subjects=2000 -v trials=500 -v timeout=$timeout -f bench/generate_azk.awk >"$work/azk.azk"
tr -d '\r' <"$work/azk.azk" >"$work/azk-lf.azk"
tr '\n' '\r' <"$work/azk-lf.azk" >"$work/azk-cr.azk"
awk -v subjects=200 -v trials=500 -v timeout=$timeout -f bench/generate_azk.awk >"$work/azk-2mb.azk"
awk -v subjects=20000 -v trials=500 -v timeout=$timeout -f bench/generate_azk.awk \
  >"$work/azk-200mb.azk"
awk -v subjects=1000 -v items=400 -f bench/generate_zil.awk >"$work/zil.zil"

declare -A best_ms peak_kb

input_of() {  # case -> input file
  case "$1" in
    azk | azk-cot | azk-files) echo "$work/azk.azk" ;;
    zil | zil-files) echo "$work/zil.zil" ;;
    *) echo "$work/$1.azk" ;;
  esac
}

flags_of() {  # case -> trelvox-batch flags after the input (paths relative to the run's folder)
  case "$1" in
    zil) echo "--responses 4" ;;
    zil-files) echo "--responses 4 --counters cnt --subject-dir subjects" ;;
    azk-cot) echo "--timeout $timeout --cot" ;;
    azk-files) echo "--timeout $timeout --counters cnt --subject-dir subjects" ;;
    *) echo "--timeout $timeout" ;;
  esac
}

# Runs one program on one case into $work/out/<program>-<case>/ and keeps its best wall time
# and largest peak memory.
measure() {  # program, case
  local program=$1 name=$2 out="$work/out/$1-$2" input start end ms kb
  input=$(input_of "$name")
  rm -rf "$out" && mkdir -p "$out"
  start=$(date +%s%N)
  case "$program" in
    trelvox | before)
      local binary=$batch
      [ "$program" = before ] && binary=$before
      # Each build runs in a folder of its own with the same relative names, so that the
      # transcripts (every message, on standard output) can be compared too.
      # shellcheck disable=SC2046
      (cd "$out" && LC_ALL=C /usr/bin/time -f %M -o time.txt "$binary" parse-all "$input" \
        --composite comp $(flags_of "$name") --quiet >stdout.txt)
      ;;
    awk)
      /usr/bin/time -f %M -o "$out/time.txt" \
        awk -v timeout=$timeout -f "$awk_script" "$input" >"$out/comp.dat"
      ;;
    converter)
      /usr/bin/time -f %M -o "$out/time.txt" "$converter" $timeout "$input" "$out/comp.dat"
      ;;
    analyze | analyze2)
      local trims=""
      [ "$program" = analyze2 ] && trims="--min-rt 200 --max-rt 2000 --sd 2.5 --max-error-rate 0.3"
      # shellcheck disable=SC2086
      (cd "$out" && LC_ALL=C /usr/bin/time -f %M -o time.txt "$batch" analyze "$input" \
        --timeout $timeout $trims --out tables >stdout.txt)
      ;;
  esac
  end=$(date +%s%N)
  ms=$(((end - start) / 1000000))
  kb=$(tail -n 1 "$out/time.txt")
  rm -f "$out/time.txt"
  local key="$program/$name"
  if [ -z "${best_ms[$key]:-}" ] || [ "$ms" -lt "${best_ms[$key]}" ]; then best_ms[$key]=$ms; fi
  if [ "$kb" -gt "${peak_kb[$key]:-0}" ]; then peak_kb[$key]=$kb; fi
}

cases=(azk azk-lf azk-cr azk-cot azk-files zil zil-files azk-2mb azk-200mb)
programs_of() {  # case -> the programs that do its job
  local list="trelvox"
  [ -n "$before" ] && list="$list before"
  case "$1" in
    azk) list="$list awk converter analyze analyze2" ;;
    azk-lf) list="$list awk converter" ;;
  esac
  echo "$list"
}

echo "Load before the run: $(uptime | sed 's/.*load average/load average/')"
for _ in $(seq "$runs"); do
  for name in "${cases[@]}"; do
    for program in $(programs_of "$name"); do
      measure "$program" "$name"
    done
  done
done
echo "Load after the run:  $(uptime | sed 's/.*load average/load average/')"

printf "\n%-10s %-10s %9s %10s %9s\n" case program "wall s" "MB/s" "peak MiB"
for name in "${cases[@]}"; do
  bytes=$(stat -c %s "$(input_of "$name")")
  for program in $(programs_of "$name"); do
    key="$program/$name"
    awk -v c="$name" -v p="$program" -v ms="${best_ms[$key]}" -v kb="${peak_kb[$key]}" \
      -v b="$bytes" 'BEGIN { printf "%-10s %-10s %9.3f %10.1f %9.2f\n", c, p, ms / 1000,
        b / 1e6 / (ms / 1000), kb / 1024 }'
  done
done
echo "Input sizes: azk $(stat -c %s "$work/azk.azk") bytes, zil $(stat -c %s "$work/zil.zil")," \
  "azk-2mb $(stat -c %s "$work/azk-2mb.azk"), azk-200mb $(stat -c %s "$work/azk-200mb.azk");" \
  "best of $runs interleaved rounds"

status=0
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
check() {  # description, ratio, comparison operator, limit
  if awk -v r="$2" -v l="$4" "BEGIN { exit !(r $3 l) }"; then
    echo "ok      $1: $2 (target $3 $4)"
  else
    echo "MISSED  $1: $2 (target $3 $4)"
    status=1
  fi
}
t() { echo "${best_ms[trelvox/$1]}"; }
echo
check "awk time / trelvox-batch time, azk" "$(ratio "${best_ms[awk/azk]}" "$(t azk)")" ">=" 8
check "trelvox-batch time / converter time, azk" \
  "$(ratio "$(t azk)" "${best_ms[converter/azk]}")" "<=" 1
check "LF-only time / CR LF time" "$(ratio "$(t azk-lf)" "$(t azk)")" "<=" 1.10
check "CR-only time / CR LF time" "$(ratio "$(t azk-cr)" "$(t azk)")" "<=" 1.10
check "--cot time / normal time" "$(ratio "$(t azk-cot)" "$(t azk)")" "<=" 1.5
if [ -n "$before" ]; then
  check "before / after, zil" "$(ratio "${best_ms[before/zil]}" "$(t zil)")" ">=" 1.6
  check "before / after, azk" "$(ratio "${best_ms[before/azk]}" "$(t azk)")" ">=" 1
fi
for name in "${cases[@]}"; do
  check "peak MiB, $name" "$(ratio "${peak_kb[trelvox/$name]}" 1024)" "<" 8
done
check "analyze time / parse-all time, azk" "$(ratio "${best_ms[analyze/azk]}" "$(t azk)")" "<=" 3
check "peak MiB, analyze azk" "$(ratio "${peak_kb[analyze/azk]}" 1024)" "<" 64
check "peak MiB, analyze2 azk" "$(ratio "${peak_kb[analyze2/azk]}" 1024)" "<" 64
echo "info    analyze2 time / parse-all time, azk:" \
  "$(ratio "${best_ms[analyze2/azk]}" "$(t azk)") (two readings)"
echo "analyze azk: trials.tsv $(stat -c %s "$work/out/analyze-azk/tables/trials.tsv") bytes," \
  "composite $(stat -c %s "$work/out/trelvox-azk/comp.dat") bytes"
check "peak growth from 2 MB to 200 MB input, MiB" \
  "$(ratio $((peak_kb[trelvox/azk-200mb] - peak_kb[trelvox/azk-2mb])) 1024)" "<" 0.5

# The same files, byte for byte: the yardsticks write the composite of the plain AZK cases, the
# previous build every file of every case (subject files, counters, transcript included).
same() {
  if cmp -s "$1" "$2"; then echo "same    $3"; else echo "DIFFER  $3" && status=1; fi
}
echo
for name in azk azk-lf; do
  same "$work/out/trelvox-$name/comp.dat" "$work/out/awk-$name/comp.dat" "composite, awk, $name"
  same "$work/out/trelvox-$name/comp.dat" "$work/out/converter-$name/comp.dat" \
    "composite, converter, $name"
done
# Data files and transcript are told apart: a previous build from before a change to the
# messages writes the same files but another transcript.
if [ -n "$before" ]; then
  for name in "${cases[@]}"; do
    after="$work/out/trelvox-$name" earlier="$work/out/before-$name"
    if diff <(cd "$after" && find . -type f ! -name stdout.txt | sort) \
      <(cd "$earlier" && find . -type f ! -name stdout.txt | sort) >/dev/null &&
      (cd "$after" && find . -type f ! -name stdout.txt -print0 |
        xargs -0 -I{} cmp -s {} "$earlier/{}"); then
      echo "same    every file written ($(cd "$after" && find . -type f ! -name stdout.txt |
        wc -l)), before and after, $name"
    else
      echo "DIFFER  files written, before and after, $name"
      status=1
    fi
    same "$after/stdout.txt" "$earlier/stdout.txt" "transcript, before and after, $name"
  done
fi
exit $status
