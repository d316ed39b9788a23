#!/usr/bin/env bash
# A screenshot of the Windows installer under Wine's virtual desktop, for the guide: its choice
# of install mode (for me only or for everyone).
#   scripts/win-setup-screenshots.sh [BUILD-DIR [OUT-DIR]]   (default build/windows, docs/screenshots)
# Needs the windows preset built (the programs and window-probe), makensis, xvfb, xdotool and
# ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/windows}
out=${2:-docs/screenshots}

if [ -z "${WINE_RUN:-}" ]; then
  scripts/package-windows.sh "$build" >/dev/null
  exec scripts/wine-gui.sh --prefix="$PWD/$build/wineprefix-setup" --script "$0" "$build" "$out"
fi
# shellcheck source=/dev/null
source "$build/version.env"
setup="$build/packages/trelvox-$TRELVOX_VERSION-setup.exe"

probe() { $WINE_RUN "$build/tests/win/window-probe.exe" "$@" | tr -d '\r'; }
shoot() {  # CLASS TITLE FILE
  local rect
  rect=$(probe rect 60 "$1" "$2") || { echo "no window '$2'" >&2; exit 1; }
  sleep 1  # let it finish drawing
  import -window root -crop "$rect" +repage "$out/$3"
  echo "$out/$3 ($rect)"
}
press() {  # BUTTON-TEXT
  local x y
  read -r x y < <(probe button 60 "$1")
  xdotool mousemove "$x" "$y" click 1
}
mkdir -p "$out"

# The install-mode page follows the licence.
$WINE_RUN "$setup" &
probe wait 60 '#32770' '*' >/dev/null  # the installer, the only dialog
press 'I &Agree'
probe button 60 '&Next >' >/dev/null
shoot '#32770' '*' win-setup-mode.png
press 'Cancel'
press '&Yes'
wait

