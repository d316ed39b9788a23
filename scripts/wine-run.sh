#!/bin/sh
# Runs a Windows program under 64-bit Wine: the emulator through which ctest runs the Windows
# build. The Wine prefix is a scratch folder (--prefix=DIR as the first argument, else
# TRELVOX_WINEPREFIX, else one per user under the temporary folder); it is created on first use,
# once, even when tests start in parallel.
#   wine-run.sh [--prefix=DIR] PROGRAM.exe [ARGUMENTS...]
set -eu
WINEPREFIX=${TRELVOX_WINEPREFIX:-${TMPDIR:-/tmp}/trelvox-wine-$(id -u)}
case "${1:-}" in
  --prefix=*)
    WINEPREFIX=${1#--prefix=}
    shift
    ;;
esac
WINEDEBUG=-all
# No Mono or Gecko: nothing here needs them, and asking for them would stall a headless run.
WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
wine=${TRELVOX_WINE:-/usr/lib/wine/wine64}

if [ ! -f "$WINEPREFIX/.trelvox-ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.trelvox-ready" ]; then
      "$wine" wineboot --init >/dev/null 2>&1 || true
      touch "$WINEPREFIX/.trelvox-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi
exec "$wine" "$@"
