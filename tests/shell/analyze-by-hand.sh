#!/usr/bin/env bash
# The Analyze window of trelvox, driven with the mouse and the keyboard as a person would, on a
# bare X display (run through xvfb-run; no window manager): Enter on the splash's Begin, Ctrl+Y,
# Add... with two files typed into the open dialog, the time-out, the item list and the maximum
# error rate typed, a column of the item list clicked, the output folder typed, "Open the report
# when done" clicked off, Alt+A. The tables and the report must be what trelvox-batch analyze
# writes for the same settings; then Escape closes the window and File > Exit the program.
#   analyze-by-hand.sh TRELVOX TRELVOX-BATCH INPUTS-DIR WORK-DIR
set -euo pipefail
trelvox=$1 batch=$2 inputs=$3 work=$4

rm -rf "$work"
mkdir -p "$work/home"
cp "$inputs/morning.azk" "$inputs/evening.azk" "$inputs/lab-items.csv" "$work/"
# The settings go to a home of the test's own; the windows to the X display, whatever the
# other tests ask of Qt.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" LC_ALL=C QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="$work/home/runtime" && mkdir -m 700 -p "$XDG_RUNTIME_DIR"

step() { echo "== $*"; }
fail() {
  echo "FAILED: $*" >&2
  import -window root "$work/failure.png" 2>/dev/null && echo "screen: $work/failure.png" >&2
  exit 1
}
# The visible window of that title (or of the program, for an empty title), waited for.
wait_window() {
  local id
  for _ in $(seq 1 300); do
    if [ -z "$1" ]; then
      id=$(xdotool search --onlyvisible --pid "$program" 2>/dev/null | head -1 || true)
    else
      id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true)
    fi
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  fail "no window '$1'"
}
focus() { xdotool windowfocus --sync "$1"; }
# Clicks the middle of a control of the Analyze window, given by its place in pixels at 96 dpi
# (the window's description in twips divided by 15).
click() {
  local left=$1 top=$2 width=$3 height=$4
  xdotool mousemove --sync $((x + left + width / 2)) $((y + top + height / 2)) click 1
}
type_into() {
  click "$@"
  xdotool key ctrl+a BackSpace
  xdotool type --delay 5 "$5"
}

"$trelvox" &
program=$!
trap 'kill $program 2>/dev/null || true' EXIT

step "splash: Enter on the focused Begin"
splash=$(wait_window "")
focus "$splash"
xdotool key Return
main=$(wait_window Trelvox)

step "Ctrl+Y opens the Analyze window"
focus "$main"
xdotool key ctrl+y
analyze=$(wait_window Analyze)
focus "$analyze"
eval "$(xdotool getwindowgeometry --shell "$analyze")"
x=$X y=$Y

step "Add... with two files"
click 536 26 96 26
dialog=$(wait_window 'Add result files')
focus "$dialog"
xdotool type --delay 5 "\"$work/morning.azk\" \"$work/evening.azk\""
xdotool key Return
for _ in $(seq 1 50); do
  xdotool search --onlyvisible --name '^Add result files$' >/dev/null 2>&1 || break
  sleep 0.1
done
focus "$analyze"

step "typed values, a column, the output folder"
type_into 164 146 90 22 2000
type_into 164 342 364 22 "$work/lab-items.csv"
xdotool key Tab # leaving the field reads the item list's columns
sleep 0.5
click 164 384 364 16 # the first column of the list
type_into 164 286 90 22 0.4
type_into 164 466 364 22 "$work/window"
click 164 510 300 20 # "Open the report when done" off: no browser here

step "Alt+A: Analyze"
xdotool key alt+a
for _ in $(seq 1 300); do
  [ -f "$work/window/datapackage.json" ] && break
  sleep 0.1
done
[ -f "$work/window/trials.tsv" ] || fail "no tables written"
sleep 0.5
import -window "$analyze" "$work/analyze-window.png" 2>/dev/null || true

step "the same settings to trelvox-batch analyze"
"$batch" analyze "$work/morning.azk" "$work/evening.azk" --out "$work/batch" --timeout 2000 \
  --items "$work/lab-items.csv" --by condition --max-error-rate 0.4 >"$work/batch.txt"
diff <(cd "$work/batch" && ls) <(cd "$work/window" && ls) || fail "the files written differ"
for table in "$work"/batch/*.tsv; do
  cmp "$table" "$work/window/$(basename "$table")" || fail "$(basename "$table") differs"
done
if [ -f "$work/batch/report.html" ]; then
  [ -s "$work/window/report.html" ] || fail "no report written"
fi

step "Escape closes the window, File > Exit the program"
focus "$analyze"
xdotool key Escape
for _ in $(seq 1 50); do
  xdotool search --onlyvisible --name '^Analyze$' >/dev/null 2>&1 || break
  sleep 0.1
done
xdotool search --onlyvisible --name '^Analyze$' >/dev/null 2>&1 && fail "Escape left the window up"
focus "$main"
xdotool key alt+f x
for _ in $(seq 1 100); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$program" 2>/dev/null && fail "the program is still running after Exit"
grep -q '^MaxErrorRate=0.4$' "$work/home/.config/Trelvox/Trelvox.conf" ||
  fail "the values were not remembered"
echo "$(ls "$work/window" | wc -l) files written, the tables byte-identical to trelvox-batch's"
