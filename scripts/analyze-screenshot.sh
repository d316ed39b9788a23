#!/usr/bin/env bash
# The guide's screenshot of the Analyze window on Linux: trelvox started with the AZK sample on
# its command line, the guide's example settings typed in, Analyze pressed, the window taken
# once the run is done. Runs on a display of its own under Xvfb.
#   scripts/analyze-screenshot.sh [BUILD-DIR [OUT-DIR]]   (default build/dev, docs/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/dev}")
out=$(realpath "${2:-docs/screenshots}")
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build" "$out"
fi

work=/tmp/lexdec
rm -rf "$work"
mkdir -p "$work/.home/runtime"
chmod 700 "$work/.home/runtime"
cp examples/sample.azk examples/items.csv "$work/"
export QT_QPA_PLATFORM=xcb HOME="$work/.home" XDG_CONFIG_HOME="$work/.home/.config" XDG_RUNTIME_DIR="$work/.home/runtime"

"$build/src/shell/trelvox" "$work/sample.azk" &
program=$!
trap 'kill $program 2>/dev/null || true' EXIT
window() {
  for _ in $(seq 1 100); do
    xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 && return 0
    sleep 0.1
  done
  echo "no window $1" >&2
  exit 1
}
sleep 1
xdotool key Return # Begin
analyze=$(window '^Analyze$')
xdotool windowfocus --sync "$analyze"
eval "$(xdotool getwindowgeometry --shell "$analyze")"
# The middle of a control, given by its place in pixels (its twips divided by 15).
type_into() {
  xdotool mousemove --sync $((X + $1 + $3 / 2)) $((Y + $2 + $4 / 2)) click 1
  xdotool key ctrl+a BackSpace
  xdotool type --delay 5 "$5"
}
type_into 164 146 90 22 2000
type_into 164 202 90 22 480
type_into 164 230 90 22 1500
type_into 164 258 90 22 2.5
type_into 164 342 364 22 "$work/items.csv"
xdotool key Tab
sleep 0.3
xdotool mousemove --sync $((X + 200)) $((Y + 384 + 8)) click 1 # "condition"
type_into 164 466 364 22 "$work/analysis"
xdotool mousemove --sync $((X + 172)) $((Y + 520)) click 1 # no browser here
xdotool key alt+a
for _ in $(seq 1 100); do
  [ -f "$work/analysis/datapackage.json" ] && break
  sleep 0.1
done
sleep 0.5
mkdir -p "$out"
import -window "$analyze" "$out/analyze-window.png"
echo "$out/analyze-window.png"
