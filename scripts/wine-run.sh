#!/bin/sh
# Runs a Windows program under 64-bit Wine: the emulator through which ctest runs the Windows
# build. The Wine prefix is a scratch folder (--prefix=DIR, else TRELVOX_WINEPREFIX, else one per
# user under the temporary folder); it is created on first use, once, even when tests start in
# parallel.
#   wine-run.sh [--prefix=DIR] [--show-wine-errors] PROGRAM.exe [ARGUMENTS...]
#   wine-run.sh [--prefix=DIR] --hold-server | --release-server
# --show-wine-errors: when the program fails, Wine's own error messages follow what it printed
# on standard error (a program that Wine could not start prints nothing itself); when it
# succeeds, its standard error is passed on without them.
# --hold-server starts the prefix's wineserver to stay until --release-server ends it: one
# server for a whole test run, so that no program starts while an idle server shuts down.
set -eu
WINEPREFIX=${TRELVOX_WINEPREFIX:-${TMPDIR:-/tmp}/trelvox-wine-$(id -u)}
show_wine_errors=false
server_action=
while :; do
  case "${1:-}" in
    --prefix=*) WINEPREFIX=${1#--prefix=} ;;
    --show-wine-errors) show_wine_errors=true ;;
    --hold-server | --release-server) server_action=$1 ;;
    *) break ;;
  esac
  shift
done
WINEDEBUG=-all
# No Mono or Gecko: nothing here needs them, and asking for them would stall a headless run.
WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
# Without address-space randomisation: Debian's Wine loader has no preloader, so the C heap
# that the kernel places at random within 1 GB above the loader can cover 0x7ffe0000, where
# every Windows process needs its shared user data page; Wine then ends before the program
# starts ("failed to map the shared user data", about one start in 2000). Without
# randomisation the heap lies just above the loader, always.
wine=${TRELVOX_WINE:-/usr/lib/wine/wine64}
no_aslr="setarch $(uname -m) -R"
wineserver=${TRELVOX_WINESERVER:-/usr/lib/wine/wineserver64}

if [ ! -f "$WINEPREFIX/.trelvox-ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.trelvox-ready" ]; then
      $no_aslr "$wine" wineboot --init >/dev/null 2>&1 || true
      touch "$WINEPREFIX/.trelvox-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi

case "$server_action" in
  --hold-server)
    # A server left by an earlier program (ctest's listing of the tests) would end on its own
    # in a few seconds: end it now and start one that stays. The server must not keep this
    # script's output open, or ctest would wait for it.
    "$wineserver" -k 2>/dev/null || true
    "$wineserver" -w
    "$wineserver" --persistent </dev/null >/dev/null 2>&1
    echo "wineserver for $WINEPREFIX started; it stays until --release-server"
    exit 0
    ;;
  --release-server)
    "$wineserver" -k 2>/dev/null || true
    "$wineserver" -w
    echo "wineserver for $WINEPREFIX ended"
    exit 0
    ;;
esac

if ! $show_wine_errors; then
  exec $no_aslr "$wine" "$@"
fi
log=$(mktemp "${TMPDIR:-/tmp}/trelvox-wine-stderr.XXXXXX")
trap 'rm -f "$log"' EXIT
trap 'exit 130' INT TERM
status=0
WINEDEBUG=-all,err+all $no_aslr "$wine" "$@" 2>"$log" || status=$?
if [ "$status" -eq 0 ]; then
  # Wine's messages start with the thread number and the class: "0024:err:module:...".
  sed '/^[0-9a-f]\{4\}:err:/d' "$log" >&2
else
  cat "$log" >&2
  if [ ! -s "$log" ]; then
    echo "wine-run.sh: $1 ended with status $status and printed nothing on standard error" >&2
  fi
fi
exit "$status"
