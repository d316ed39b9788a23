#!/usr/bin/env bash
# Screenshots of trelvox.exe's windows under Wine's virtual desktop, for the documentation:
# the splash, the main window with its File menu open, the options dialog, the About box, and the
# Analyze window after a run of the examples.
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

# The examples where a lab keeps them (C: of the prefix), analysed as the guide's command does.
experiment="$TRELVOX_WINEPREFIX/drive_c/Experiments/lexical-decision"
rm -rf "$experiment"
mkdir -p "$experiment"
cp examples/sample.azk examples/sample.zil examples/items.csv "$experiment/"
$WINE_RUN reg delete 'HKCU\Software\VB and VBA Program Settings\Trelvox\Analyze' /f \
  >/dev/null 2>&1 || true
xdotool mousemove $((left + width / 2)) $((top + 10)) click 1
xdotool key ctrl+y
probe wait 30 '#32770' Analyze >/dev/null
read -r x y < <(probe button 30 'A&dd...')
xdotool mousemove "$x" "$y" click 1
probe wait 30 '#32770' 'Add AZK, ZIL or composite files' >/dev/null
xdotool type --delay 10 'C:\Experiments\lexical-decision\'
xdotool key Return
xdotool type --delay 10 '"sample.azk" "sample.zil"'
xdotool key Return
sleep 0.5
xdotool key alt+t && xdotool type --delay 10 2000
xdotool key alt+n && xdotool type --delay 10 480
xdotool key alt+x && xdotool type --delay 10 1500
xdotool key alt+s && xdotool type --delay 10 2.5
xdotool key alt+m && xdotool type --delay 10 'C:\Experiments\lexical-decision\items.csv'
xdotool key alt+c Home
xdotool key alt+o && xdotool type --delay 10 'C:\Experiments\lexical-decision\analysis'
xdotool key alt+h  # no browser here: the report stays closed, and the box is ticked again below
read -r x y < <(probe button 30 '&Analyze')
xdotool mousemove "$x" "$y" click 1
for _ in $(seq 1 100); do
  probe wait 5 '#32770' Analyze | grep -qE '^[0-9]+ subjects, ' && break
  sleep 0.2
done
xdotool key alt+h
shoot '#32770' Analyze win-analyze.png
xdotool key Escape
sleep 0.5
xdotool key alt+f x
