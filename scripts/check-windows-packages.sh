#!/usr/bin/env bash
# Makes the Windows installer and zip from the Windows build and tries them under Wine as a
# user would: a silent install, the installed files, shortcuts and Add/Remove Programs entry,
# the installed trelvox-batch.exe (version, and a conversion byte-identical to the Linux
# build's), trelvox.exe up to its splash, and a silent uninstall that leaves nothing behind.
# An installer run under a Wine that cannot start it still exits 0, so every step checks what
# it left, not exit codes.
# Usage: scripts/check-windows-packages.sh [WINDOWS_BUILD] [LINUX_TRELVOX_BATCH]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/windows}
linux_batch=$(realpath "${2:-build/dev/src/batch/trelvox-batch}")
version=5.0.0
work=$(mktemp -d "${TMPDIR:-/tmp}/trelvox-winpkg.XXXXXX")
failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

export WINEPREFIX="$work/wine" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
cleanup() {
  "$wineserver" -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

echo "== Windows packages"
scripts/package-windows.sh "$build" "$work/out"
installer="$work/out/trelvox-$version-setup.exe"
zip="$work/out/trelvox-$version-win64.zip"
stage="$work/out/stage"
echo "$(basename "$installer"): $(stat -c %s "$installer") bytes"
echo "$(basename "$zip"): $(stat -c %s "$zip") bytes"
echo "-- The installer's version record"
/usr/bin/python3 packaging/windows/version_record.py "$installer" | tee "$work/record.txt"
for line in "FileVersion (numeric): 5.0.0.0" "ProductVersion (numeric): 5.0.0.0" \
  "Translation: 040904b0" "FileVersion: 5.00" "ProductVersion: 5.00" "ProductName: Trelvox" \
  "InternalName: Trelvox" "OriginalFilename: Trelvox.exe" \
  "FileDescription: This program extracts information from the DMDX .azk file and creates an individual subject data file.  It also adds data to composite database"; do
  grep -qxF "$line" "$work/record.txt" || fail "the installer's version record lacks '$line'"
done
(cd "$stage" && LC_ALL=C ls) >"$work/staged.txt"
unzip -Z1 "$zip" | grep -v '/$' | sed "s|^trelvox-$version/||" | LC_ALL=C sort >"$work/zipped.txt"
echo "-- The zip holds"
cat "$work/zipped.txt"
diff -u "$work/staged.txt" "$work/zipped.txt" || fail "the zip's files differ from the installed tree"
grep -qx trelvox-batch.exe "$work/staged.txt" || fail "no trelvox-batch.exe in the packages"
have_gui=false
grep -qx trelvox.exe "$work/staged.txt" && have_gui=true

echo "== Silent install under Wine"
"$wine" wineboot --init >/dev/null 2>&1
"$wineserver" -w
"$wine" "$installer" /S
"$wineserver" -w
programs="$WINEPREFIX/drive_c/Program Files/Trelvox"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Trelvox'
echo "-- Installed into C:\\Program Files\\Trelvox"
(cd "$programs" 2>/dev/null && LC_ALL=C ls) | tee "$work/installed.txt" || true
{ cat "$work/staged.txt"; echo uninstall.exe; } | LC_ALL=C sort >"$work/expected.txt"
diff -u "$work/expected.txt" "$work/installed.txt" || fail "the installed files differ from the package's"
echo "-- Start menu"
(cd "$menu" && ls ./*.lnk) || true
[ -f "$menu/Trelvox guide.lnk" ] || fail "no Start-menu shortcut to the guide"
if $have_gui; then
  [ -f "$menu/Trelvox.lnk" ] || fail "no Start-menu shortcut to Trelvox"
fi
echo "-- Add/Remove Programs entry"
"$wine" reg query "$key" 2>&1 | tr -d '\r' | tee "$work/key.txt"
grep -Eq 'DisplayName +REG_SZ +Trelvox$' "$work/key.txt" || fail "no DisplayName in $key"
grep -Eq "DisplayVersion +REG_SZ +$version$" "$work/key.txt" || fail "no DisplayVersion $version"
grep -Eq 'UninstallString +REG_SZ +"C:\\Program Files\\Trelvox\\uninstall.exe"$' "$work/key.txt" ||
  fail "no UninstallString"

echo "== The installed trelvox-batch.exe"
installed_batch='C:\Program Files\Trelvox\trelvox-batch.exe'
version_line=$("$wine" "$installed_batch" --version | tr -d '\r')
echo "$version_line"
[ "$version_line" = "trelvox-batch $version" ] || fail "trelvox-batch.exe --version printed '$version_line'"
# The same conversion by both builds, in folders of their own, from relative paths.
for side in windows linux; do
  mkdir -p "$work/$side"
  cp examples/sample.azk "$work/$side/"
done
(cd "$work/windows" && LC_ALL=C LANG=C "$wine" "$installed_batch" parse-all sample.azk \
  --timeout 2000 --composite results --counters counters >transcript.txt) || true
(cd "$work/linux" && LC_ALL=C LANG=C "$linux_batch" parse-all sample.azk \
  --timeout 2000 --composite results --counters counters >transcript.txt)
for file in results.dat counters.dat transcript.txt; do
  if [ ! -f "$work/windows/$file" ]; then
    fail "the installed trelvox-batch.exe wrote no $file"
  elif ! cmp "$work/linux/$file" "$work/windows/$file"; then
    fail "$file differs between the Windows and the Linux build"
  fi
done
[ -f "$work/windows/results.dat" ] &&
  echo "results.dat: $(wc -l <"$work/windows/results.dat") rows; transcript and files compared with the Linux build's"

if $have_gui; then
  echo "== trelvox.exe starts and shows its splash"
  # A Wine session started without a display (the installer's) would keep the program's
  # windows on a desktop that no display shows: end it, so that the program starts a new one.
  "$wineserver" -k || true
  "$wineserver" -w || true
  cat >"$work/gui.sh" <<'GUI'
"$wine" 'C:\Program Files\Trelvox\trelvox.exe' >"$work/gui-wine.log" 2>&1 &
# The splash is the program's first window (Wine names the class after the program), its
# client area 6510 x 3540 twips: 434 x 236 pixels at 96 dpi.
window=$(timeout 60 xdotool search --sync --onlyvisible --classname 'trelvox.exe' | head -1)
if [ -z "$window" ]; then
  echo "no window of trelvox.exe appeared within 60 s; Wine said:" >&2
  cat "$work/gui-wine.log" >&2
  "$wineserver" -k
  exit 1
fi
geometry=$(xdotool getwindowgeometry "$window" | tr '\n' ' ')
echo "first window: $geometry"
status=0
[[ "$geometry" == *"Geometry: 434x236"* ]] || { echo "that is not the splash" >&2; status=1; }
"$wineserver" -k
exit $status
GUI
  wine=$wine wineserver=$wineserver work=$work xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/gui.sh" ||
    fail "trelvox.exe showed no splash"
  "$wineserver" -w || true
else
  echo "== trelvox.exe: not in this Windows build, so not packaged and not started"
fi

echo "== Silent uninstall"
if [ -f "$programs/uninstall.exe" ]; then
  "$wine" 'C:\Program Files\Trelvox\uninstall.exe' /S
  "$wineserver" -w
fi
if [ -e "$programs" ]; then
  find "$programs"
  fail "files are left in C:\\Program Files\\Trelvox"
fi
left=$(find "$menu" -iname 'trelvox*')
[ -z "$left" ] || fail "Start-menu shortcuts are left: $left"
"$wine" reg query "$key" >"$work/key-after.txt" 2>&1 || true
if ! grep -q 'Unable to find' "$work/key-after.txt"; then
  cat "$work/key-after.txt"
  fail "the registry key $key is left"
fi
echo "Nothing left: no folder, no shortcut, no registry key."

if [ "$failures" -gt 0 ]; then
  echo "$failures Windows package check(s) failed" >&2
  exit 1
fi
echo "All Windows package checks passed."
