#!/usr/bin/env bash
# Parse All in trelvox.exe, driven with the mouse and the keyboard as a person would, under
# Wine's virtual desktop (run through scripts/wine-gui.sh --script): Enter on the splash's
# focused Begin, Ctrl+A, the input path typed into the open dialog, the time-out, the composite
# file, then at "Is this a new file?" Escape, Alt+F4 and the close box, each of which must leave
# the question up, and Yes; every box confirmed up to "Parsing Complete!", then File > Exit. The
# composite must be byte-identical to what trelvox-batch.exe writes for the same answers (with
# its header row: nothing counted as No), and the boxes must say what its transcript says.
#   parse-all-by-hand.sh TRELVOX.EXE TRELVOX-BATCH.EXE WINDOW-PROBE.EXE INPUT.azk WORK-DIR
set -euo pipefail
trelvox=$1 batch=$2 probe_exe=$3 input=$4 work=$5
: "${WINE_RUN:?run me through scripts/wine-gui.sh --script}"

rm -rf "$work"
mkdir -p "$work"
cp "$input" "$work/sample.azk"

# shellcheck source=tests/win/by-hand.sh
source "$(dirname "$0")/by-hand.sh"

$WINE_RUN "$trelvox" &
program=$!

step "splash: Enter on the focused Begin"
wait_window '#32770' '' >/dev/null
xdotool key Return
wait_window TrelvoxMainWindow Trelvox >/dev/null

step "Ctrl+A, the input file"
# Keys go to the active window, and under load the new main window may not be active yet when
# it shows (the splash is still going away): a click on its title bar makes it so.
read -r width height left top < <(probe rect 30 TrelvoxMainWindow Trelvox | tr 'x+' '  ')
xdotool mousemove $((left + width / 2)) $((top + 10)) click 1
xdotool key ctrl+a
wait_window '#32770' 'Open AZK or ZIL file' >/dev/null
xdotool type --delay 10 "$(winpath "$work/sample.azk")"
xdotool key Return

step "the time-out"
mapfile -t box < <(wait_window '#32770' Trelvox)
[ "${box[1]:-}" = "Enter TimeOut Value:" ] || fail "asked '${box[1]:-}'"
xdotool type --delay 10 2000
xdotool key Return
probe gone 30 "${box[0]}" || fail "the input box stays"

step "the composite file"
wait_window '#32770' 'Designate Composite file' >/dev/null
xdotool type --delay 10 "$(winpath "$work/composite")"
xdotool key Return

# The box's close button, at the right end of its title bar.
click_close_box() {
  local width height left top
  read -r width height left top < <(probe rect 30 '#32770' Trelvox | tr 'x+' '  ')
  xdotool mousemove $((left + width - 14)) $((top + 12)) click 1
}

step "Is this a new file? Escape, Alt+F4 and the close box leave it up; then Yes"
mapfile -t box < <(wait_window '#32770' Trelvox)
[ "${box[1]:-}" = "Is this a new file?" ] || fail "asked '${box[1]:-}'"
for attempt in Escape alt+F4 close-box; do
  if [ "$attempt" = close-box ]; then click_close_box; else xdotool key "$attempt"; fi
  # The question is asked again: the box closes and the same one comes back.
  probe gone 30 "${box[0]}" || fail "$attempt did nothing to the box"
  mapfile -t box < <(wait_window '#32770' Trelvox)
  [ "${box[1]:-}" = "Is this a new file?" ] || fail "after $attempt: '${box[1]:-}'"
done
click_button '&Yes'
probe gone 30 "${box[0]}" || fail "the question stays"

step "every box confirmed"
: >"$work/boxes.txt"
for _ in $(seq 1 20); do
  # The ID notices have an empty title, the reports the program's.
  mapfile -t box < <(wait_window '#32770' '*')
  printf '%s\n' "${box[@]:1}" >>"$work/boxes.txt"
  xdotool key Return
  probe gone 30 "${box[0]}" || fail "the box '${box[1]:-}' stays"
  [ "${box[1]:-}" = "Parsing Complete!" ] && break
done
[ "$(tail -n 1 "$work/boxes.txt")" = "Parsing Complete!" ] || fail "no 'Parsing Complete!'"

step "File > Exit"
xdotool key alt+f x
for _ in $(seq 1 100); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$program" 2>/dev/null && fail "the program is still running after Exit"

step "the same answers to trelvox-batch.exe"
$WINE_RUN "$batch" parse-all "$(winpath "$work/sample.azk")" --composite \
  "$(winpath "$work/batch")" --timeout 2000 --header yes | tr -d '\r' >"$work/batch.txt"
cmp "$work/composite.dat" "$work/batch.dat" || fail "the composite files differ"
tail -n +5 "$work/batch.txt" | diff - "$work/boxes.txt" || fail "the boxes differ from the transcript"
echo "composite byte-identical ($(wc -c <"$work/composite.dat") bytes); $(wc -l <"$work/boxes.txt") box lines as in the transcript"
