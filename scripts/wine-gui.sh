#!/bin/sh
# Runs a Windows program that opens windows, under Wine's virtual desktop of 1024x768 (so the
# windows get Windows' own title bars and no X window manager is needed), on a virtual X display
# of its own when none is given. The prefix's Wine processes are ended afterwards, so that the
# next run starts clean on its own display; runs sharing a prefix must not overlap.
#   wine-gui.sh --prefix=DIR PROGRAM.exe [ARGUMENTS...]
#   wine-gui.sh --prefix=DIR --script SCRIPT [ARGUMENTS...]   (SCRIPT finds the display, the
#                                                            prefix and wine-run.sh set for it)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
case "${1:-}" in
  --prefix=*) prefix=${1#--prefix=}; shift ;;
  *) echo "usage: wine-gui.sh --prefix=DIR PROGRAM.exe [ARGUMENTS...]" >&2; exit 2 ;;
esac

TRELVOX_WINEPREFIX=$prefix
WINE_RUN="$here/wine-run.sh --prefix=$prefix --show-wine-errors"
export TRELVOX_WINEPREFIX WINE_RUN

# The prefix is made without a display (with one, Wine's first start takes minutes), and every
# program of it opens its windows in the one virtual desktop.
if [ ! -f "$prefix/.trelvox-desktop" ]; then
  (
    unset DISPLAY
    $WINE_RUN reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    $WINE_RUN reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f \
      >/dev/null 2>&1
    # Wine's own fonts (the caption buttons' Marlett, MS Sans Serif, Tahoma) where every Wine
    # build finds them.
    if [ -d /usr/share/wine/fonts ]; then
      cp /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
    fi
  )
  # The Wine session that set the prefix up has no display: end it, or the first program on
  # the display would join it and get no windows.
  WINEPREFIX=$prefix "${TRELVOX_WINESERVER:-/usr/lib/wine/wineserver64}" -k 2>/dev/null || true
  WINEPREFIX=$prefix "${TRELVOX_WINESERVER:-/usr/lib/wine/wineserver64}" -w 2>/dev/null || true
  touch "$prefix/.trelvox-desktop"
fi

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" --prefix="$prefix" "$@"
fi

status=0
if [ "${1:-}" = "--script" ]; then
  shift
  "$@" || status=$?
else
  $WINE_RUN "$@" || status=$?
fi
# Waited for, so that the next run never meets this server on its way out.
WINEPREFIX=$prefix "${TRELVOX_WINESERVER:-/usr/lib/wine/wineserver64}" -k 2>/dev/null || true
WINEPREFIX=$prefix "${TRELVOX_WINESERVER:-/usr/lib/wine/wineserver64}" -w 2>/dev/null || true
exit $status
