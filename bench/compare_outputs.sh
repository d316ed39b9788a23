#!/usr/bin/env bash
# Runs two builds of trelvox-batch on the same inputs with the same flags and compares, byte
# for byte (cmp), everything they write: the composite file, the counter file, every subject
# file and the transcript on standard output, with and without --quiet, plus the exit status.
#
#   bash bench/compare_outputs.sh BEFORE AFTER INPUT...
#
# AZK inputs run with --timeout 2000, ZIL inputs with --responses 4, each with these flag sets:
# none; --cot; --counters and --subject-dir; --quiet; and for ZIL --zor and --zor --cot.
# Each build runs in a folder of its own, with the same relative file names, so that the
# transcripts name the same paths. Ends with status 1 when anything differs.
set -uo pipefail

before=$(realpath "$1")
after=$(realpath "$2")
shift 2
work=$(mktemp -d "${TMPDIR:-/tmp}/trelvox-compare.XXXXXX")
trap 'rm -rf "$work"' EXIT

runs=0
differences=0

# Runs one build in `folder` on `input` with the flags that follow.
run_in() {
  local build=$1 folder=$2 input=$3
  shift 3
  rm -rf "$folder" && mkdir -p "$folder"
  (cd "$folder" && LC_ALL=C "$build" parse-all "$input" --composite comp --missing-id M1 "$@" \
    >stdout.txt 2>stderr.txt; echo $? >status.txt)
}

compare() {  # input, flags...
  local input=$1
  shift
  run_in "$before" "$work/before" "$input" "$@"
  run_in "$after" "$work/after" "$input" "$@"
  runs=$((runs + 1))
  local file
  for file in $(cd "$work/before" && find . -type f | sort); do
    if ! cmp -s "$work/before/$file" "$work/after/$file"; then
      echo "DIFFERENT: $file for $(basename "$input") $*"
      differences=$((differences + 1))
    fi
  done
  if [ "$(cd "$work/before" && find . -type f | sort)" != "$(cd "$work/after" && find . -type f | sort)" ]; then
    echo "DIFFERENT file lists for $(basename "$input") $*"
    differences=$((differences + 1))
  fi
}

files_compared=0
for input in "$@"; do
  input=$(realpath "$input")
  case "${input: -3}" in
    [aA][zZ][kK]) number=(--timeout 2000) ; extra=() ;;
    [zZ][iI][lL]) number=(--responses 4) ; extra=(zor) ;;
    *) number=(--timeout 2000 --responses 4) ; extra=() ;;
  esac
  compare "$input" "${number[@]}"
  compare "$input" "${number[@]}" --cot
  compare "$input" "${number[@]}" --counters cnt --subject-dir subjects
  compare "$input" "${number[@]}" --quiet
  if [ ${#extra[@]} -gt 0 ]; then
    compare "$input" "${number[@]}" --zor
    compare "$input" "${number[@]}" --zor --cot --counters cnt --subject-dir subjects
  fi
  files_compared=$((files_compared + 1))
done
echo "Compared $files_compared inputs in $runs runs of each build: $differences differences."
[ "$differences" -eq 0 ]
