#!/usr/bin/env bash
# Runs the Linux trelvox-batch and trelvox-batch.exe under Wine on every DMDX file of
# tests/data/dmdx-samples and examples/, with the same flags and LANG=C (conversions and
# analyses), and checks that both leave byte-identical files and print byte-identical standard
# output and error.
#   compare-windows-batch.sh LINUX_PROGRAM WINDOWS_PROGRAM.exe
set -euo pipefail
cd "$(dirname "$0")/.."
linux=$(realpath "$1")
windows=$(realpath "$2")
wine_run=$(realpath scripts/wine-run.sh)
prefix=$(realpath "$(dirname "$windows")/../..")/wineprefix
work=$(mktemp -d)
# One wineserver for all the runs, as in ctest, so that none starts while an idle one ends.
"$wine_run" --prefix="$prefix" --hold-server >/dev/null
trap '"$wine_run" --prefix="$prefix" --release-server >/dev/null; rm -rf "$work"' EXIT

# One run of both programs on one input: every file they write, and stdout and stderr, must match.
compare() {
  local input=$1 name=$2
  shift 2
  local side
  for side in linux windows; do
    mkdir -p "$work/$name/$side"
    cp "$input" "$work/$name/$side/"
  done
  (cd "$work/$name/linux" && env -u LC_ALL LANG=C "$linux" "$@" >stdout 2>stderr) || true
  (cd "$work/$name/windows" &&
    env -u LC_ALL LANG=C "$wine_run" --prefix="$prefix" "$windows" "$@" >stdout 2>stderr) || true
  # A report says when it was analysed, to the second: the one byte range the runs may differ in.
  find "$work/$name" -name report.html -exec sed -i \
    's/^<p class="meta">Analysed [0-9T:Z-]* by Trelvox /<p class="meta">Analysed (time) by Trelvox /' \
    {} +
  if ! diff -r "$work/$name/linux" "$work/$name/windows" >"$work/$name.diff"; then
    echo "DIFFERENT: $name ($*)"
    head -20 "$work/$name.diff"
    return 1
  fi
  echo "identical: $name: $(find "$work/$name/linux" -type f | wc -l) files"
}

status=0
for input in tests/data/dmdx-samples/*.azk tests/data/dmdx-samples/*.zil examples/*.azk \
  examples/*.zil; do
  file=$(basename "$input")
  outputs=(--composite out/comp --counters out/cnt --subject-dir out/subjects)
  case "$file" in
    *.azk)
      compare "$input" "$file" parse-all "$file" --timeout 2000 "${outputs[@]}" || status=1
      compare "$input" "$file-cot" parse-all "$file" --timeout 1500 --cot "${outputs[@]}" ||
        status=1
      compare "$input" "$file-analyze" analyze "$file" --timeout 2000 --min-rt 200 --sd 2 \
        --max-error-rate 0.5 --out tables || status=1
      ;;
    *.zil)
      compare "$input" "$file" parse-all "$file" --responses 4 "${outputs[@]}" || status=1
      compare "$input" "$file-cot-zor" parse-all "$file" --responses 2 --cot --zor \
        "${outputs[@]}" || status=1
      compare "$input" "$file-analyze" analyze "$file" --timeout 3000 --responses 4 --sd 2 \
        --out tables || status=1
      ;;
  esac
done
exit $status
