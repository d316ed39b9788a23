#!/usr/bin/env bash
# The Analyze window of trelvox.exe, driven with the mouse and the keyboard as a person would,
# under Wine's virtual desktop (run through scripts/wine-gui.sh --script): Begin, Ctrl+Y, a click
# on Add... and two files chosen in the open dialog, the time-out, the item list and the output
# folder typed into their boxes (reached by their access keys), a column chosen, the report left
# closed, a click on Analyze. The tables must be byte for byte what trelvox-batch.exe analyze
# writes with the same settings, and the same files must be written.
#   analyze-by-hand.sh TRELVOX.EXE TRELVOX-BATCH.EXE WINDOW-PROBE.EXE EXAMPLES-DIR WORK-DIR
set -euo pipefail
trelvox=$1 batch=$2 probe_exe=$3 examples=$4 work=$5
: "${WINE_RUN:?run me through scripts/wine-gui.sh --script}"

rm -rf "$work"
mkdir -p "$work/data"
cp "$examples/sample.azk" "$examples/sample.zil" "$examples/items.csv" "$work/data/"

# shellcheck source=tests/win/by-hand.sh
source "$(dirname "$0")/by-hand.sh"
type_text() { xdotool type --delay 10 "$1"; }

# The window opens with what the last run remembered: none, so that the keys below do the same
# on every run.
$WINE_RUN reg delete 'HKCU\Software\VB and VBA Program Settings\Trelvox\Analyze' /f \
  >/dev/null 2>&1 || true
$WINE_RUN "$trelvox" &
program=$!

step "splash: Enter on Begin, then Ctrl+Y"
wait_window '#32770' '' >/dev/null
xdotool key Return
read -r width _ left top < <(probe rect 30 TrelvoxMainWindow Trelvox | tr 'x+' '  ')
xdotool mousemove $((left + width / 2)) $((top + 10)) click 1
xdotool key ctrl+y
analyze=$(wait_window '#32770' Analyze | head -1)

step "Add...: the folder, then both files"
click_button 'A&dd...'
dialog=$(wait_window '#32770' 'Add AZK, ZIL or composite files' | head -1)
type_text "$(winpath "$work/data")\\"
xdotool key Return
type_text '"sample.azk" "sample.zil"'
xdotool key Return
probe gone 30 "$dialog" || fail "the open dialog stays"
inputs=$(probe items 30 '#32770' Analyze | head -2)
[ "$inputs" = "$(winpath "$work/data/sample.azk")
$(winpath "$work/data/sample.zil")" ] || fail "the list holds: $inputs"

step "the time-out, the item list and its column, the output folder"
xdotool key alt+t
type_text 2000
xdotool key alt+x
type_text 700
xdotool key alt+m
type_text "$(winpath "$work/data/items.csv")"
# Leaving the item list's box fills the column list; Alt+C goes there, Space chooses the first
# column after the key moves to it.
xdotool key alt+c
first=
for _ in $(seq 1 50); do  # until the keys have reached the window
  first=$(probe items 30 '#32770' Analyze | sed -n 3p)
  [ -n "$first" ] && break
  sleep 0.2
done
[ -n "$first" ] || fail "no columns from the item list"
xdotool key Home space
xdotool key alt+o
type_text "$(winpath "$work/window")"
xdotool key alt+h # the report stays closed: no browser on this display

step "Analyze, by mouse"
click_button '&Analyze'
for _ in $(seq 1 300); do
  summary=$(probe wait 5 '#32770' Analyze | grep -E '^[0-9]+ subjects, ' || true)
  [ -n "$summary" ] && break
  sleep 0.2
done
[ -n "$summary" ] || fail "no summary line"
echo "$summary"

step "Escape closes the window, Ctrl+X in the main window ends the program"
xdotool key Escape
probe gone 30 "$analyze" || fail "Escape left the Analyze window up"
xdotool mousemove $((left + width / 2)) $((top + 10)) click 1
xdotool key ctrl+x
for _ in $(seq 1 100); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$program" 2>/dev/null && fail "the program is still running after Exit"

step "the same settings to trelvox-batch.exe"
(cd "$work/data" && $WINE_RUN "$batch" analyze sample.azk sample.zil --out "$(winpath "$work/batch")" \
  --timeout 2000 --max-rt 700 --items items.csv --by "$first" | tr -d '\r' >"$work/batch.txt")
(cd "$work/window" && ls) >"$work/window-files.txt"
(cd "$work/batch" && ls) | diff - "$work/window-files.txt" || fail "the window wrote other files"
for table in "$work"/batch/*.tsv; do
  cmp "$table" "$work/window/$(basename "$table")" || fail "$(basename "$table") differs"
done
# The window may add a word on the report to the command's summary line.
counts="${summary%%.*}."
grep -qxF "$counts" "$work/batch.txt" || fail "trelvox-batch.exe did not print '$counts'"
echo "by column '$first': $(wc -l <"$work/window-files.txt") files as trelvox-batch.exe writes them, every table byte-identical"
