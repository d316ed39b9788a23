#!/usr/bin/env bash
# Screenshots of trelvox.exe's windows under Wine's virtual desktop, for the documentation:
# the splash, the main window with its File menu open, the options dialog and the About box.
#   scripts/win-screenshots.sh [BUILD-DIR [OUT-DIR]]   (default build/windows, docs/screenshots)
# Needs the windows preset built (trelvox and window-probe), xvfb, xdotool and ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/windows}
out=${2:-docs/screenshots}

if [ -z "${WINE_RUN:-}" ]; then
  exec scripts/wine-gui.sh --prefix="$PWD/$build/wineprefix-gui" --script "$0" "$build" "$out"
fi

probe() { $WINE_RUN "$build/tests/win/window-probe.exe" "$@" | tr -d '\r'; }
shoot() {  # CLASS TITLE FILE
  local rect
  rect=$(probe rect 30 "$1" "$2") || { echo "no window '$2'" >&2; exit 1; }
  sleep 0.5  # let it finish drawing
  import -window root -crop "$rect" +repage "$out/$3"
  echo "$out/$3 ($rect)"
}
mkdir -p "$out"
$WINE_RUN "$build/src/win/trelvox.exe" &

shoot '#32770' '*' win-splash.png
read -r x y < <(probe button 30 Begin)
xdotool mousemove "$x" "$y" click 1
probe wait 30 TrelvoxMainWindow Trelvox >/dev/null
xdotool key alt+f
shoot TrelvoxMainWindow Trelvox win-main.png
xdotool key --delay 200 Down Down Return  # from Parse One Subject to Change Save Options
shoot '#32770' Options win-options.png
xdotool key alt+F4
read -r width height left top < <(probe rect 30 TrelvoxMainWindow Trelvox | tr 'x+' '  ')
xdotool mousemove $((left + width / 2)) $((top + 10)) click 1  # the main window's title bar
xdotool key --delay 200 alt+h Return  # About Trelvox
shoot '#32770' 'About Trelvox' win-about.png
xdotool key Escape
sleep 0.5
xdotool key alt+f x
