# shellcheck shell=bash disable=SC2154
# The helpers of the by-hand runs of trelvox.exe (sourced): paths as Wine names them, the Wine
# windows seen through window-probe.exe, and a failure that leaves a picture of the screen.
# Needs $WINE_RUN (scripts/wine-gui.sh --script), $probe_exe and $work.

winpath() { printf 'Z:%s' "$(printf '%s' "$1" | sed 's#/#\\#g')"; }
probe() { $WINE_RUN "$probe_exe" "$@" | tr -d '\r'; }
step() { echo "== $*"; }
fail() {
  echo "FAILED: $*" >&2
  if command -v import >/dev/null; then
    import -window root "$work/failure.png" 2>/dev/null && echo "screen: $work/failure.png" >&2
  fi
  exit 1
}
click_button() {
  local x y
  read -r x y < <(probe button 30 "$1") || fail "no button $1"
  xdotool mousemove "$x" "$y" click 1
}
# Waits for a box or dialog of that class and title; prints its handle, then its texts.
wait_window() { probe wait 30 "$1" "$2" || fail "no window '$2'"; }
