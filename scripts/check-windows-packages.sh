#!/usr/bin/env bash
# Makes the Windows installer and zip from the Windows build and tries them under Wine as users
# would, silently, checking files and registry after each step:
#  - the version records of the setup program and of both programs, the zip's files;
#  - an earlier version installed for everyone into a folder of the user's choice, then this
#    version over it: one copy, in place, one Apps entry;
#  - "Open with" for .azk and .zil: Trelvox's ProgIDs and the types' OpenWithProgids in the
#    mode's hive, the default set only for a type no other program owns, all of it taken back
#    by the uninstaller while the other program's entries stay;
#  - the installed trelvox-batch.exe (version, a conversion byte-identical to the Linux
#    build's);
#  - a reinstallation by hand (mouse clicks on a virtual display): no folder page, and the
#    Finish page's "Run Trelvox" starts trelvox.exe; the uninstaller refuses while it runs;
#  - a double-click on an .azk file (the shell's open): the splash, then the Analyze window
#    holding the file;
#  - uninstalling as Apps does: nothing left, and the user's "VB and VBA Program Settings" key
#    kept while another program's key is under it;
#  - an installation for the current user only (/CurrentUser: the user's folder, HKCU), its
#    uninstallation, which also drops the settings key that held only Trelvox's.
# An installer run under a Wine that cannot start it still exits 0, so every step checks what
# it left, not exit codes.
# Usage: scripts/check-windows-packages.sh [WINDOWS_BUILD] [LINUX_TRELVOX_BATCH]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/windows}
linux_batch=$(realpath "${2:-build/dev/src/batch/trelvox-batch}")
# shellcheck source=/dev/null
source "$build/version.env"
version=$TRELVOX_VERSION
work=$(mktemp -d "${TMPDIR:-/tmp}/trelvox-winpkg.XXXXXX")
failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

# Without winemenubuilder, so that the shortcuts and file types the installer makes stay in the
# prefix and never reach the desktop of the user running the checks.
export WINEPREFIX="$work/wine" WINEARCH=win64 WINEDEBUG=-all \
  WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Wine without address-space randomisation, as scripts/wine-run.sh runs it (see there).
wine="$work/wine64"
printf '#!/bin/sh\nexec setarch %s -R /usr/lib/wine/wine64 "$@"\n' "$(uname -m)" >"$wine"
chmod +x "$wine"
wineserver=/usr/lib/wine/wineserver64
cleanup() {
  "$wineserver" -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# reg_value 'HKLM\...' NAME: the value's data, or nothing.
reg_value() {
  "$wine" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$2 \{1,\}REG_[A-Z_]* \{1,\}//p"
}
has_key() { "$wine" reg query "$1" >/dev/null 2>&1; }
# reg_default 'HKLM\...': the data of the key's default value, or nothing (reg says "(value not
# set)" for a key without one).
reg_default() {
  "$wine" reg query "$1" /ve 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *(Default) \{1,\}REG_[A-Z_]* \{1,\}//p' | grep -vxF '(value not set)' || true
}
# The value names under a key, one a line.
value_names() {
  "$wine" reg query "$1" 2>/dev/null | tr -d '\r' | sed -n 's/^ \{4\}\([^ ].*[^ ]\) \{4\}REG_.*/\1/p'
}
# expect_open_with HIVE FOLDER: both result types are offered in "Open with" from HIVE's classes,
# their ProgIDs opening the files with FOLDER\trelvox.exe.
expect_open_with() {
  local classes="$1\Software\Classes" extension
  for extension in azk zil; do
    [ "$(reg_default "$classes\Trelvox.$extension\shell\open\command")" = \
      "\"$2\trelvox.exe\" \"%1\"" ] || fail "Trelvox.$extension does not open with $2\trelvox.exe"
    value_names "$classes\.$extension\OpenWithProgids" | grep -qx "Trelvox.$extension" ||
      fail ".$extension does not offer Trelvox in Open with ($1)"
  done
  [ "$(reg_value "$classes\Applications\trelvox.exe" FriendlyAppName)" = Trelvox ] ||
    fail "Open with would not name trelvox.exe Trelvox ($1)"
}
# expect_no_open_with HIVE: nothing of Trelvox's is left among HIVE's classes.
expect_no_open_with() {
  local classes="$1\Software\Classes" extension
  for extension in azk zil; do
    ! has_key "$classes\Trelvox.$extension" || fail "the ProgID Trelvox.$extension is left in $1"
    ! value_names "$classes\.$extension\OpenWithProgids" | grep -qx "Trelvox.$extension" ||
      fail ".$extension still offers Trelvox in Open with ($1)"
  done
  ! has_key "$classes\Applications\trelvox.exe" || fail "trelvox.exe's Applications key is left in $1"
}
# The files under a folder, one relative path a line.
files_in() { (cd "$1" 2>/dev/null && find . -type f -printf '%P\n' | LC_ALL=C sort); }
# Runs the uninstaller as Apps does (the entry's QuietUninstallString) and waits for it: it
# copies itself away and ends before the copy has done its work.
uninstall_as_apps() {
  local command program arguments
  command=$(reg_value "$1" QuietUninstallString) || true
  [ -n "$command" ] || { fail "no QuietUninstallString in $1"; return 0; }
  program=$(sed 's/^"\([^"]*\)".*/\1/' <<<"$command")
  arguments=$(sed 's/^"[^"]*" *//' <<<"$command")
  echo "$command"
  # shellcheck disable=SC2086
  "$wine" "$program" $arguments
  "$wineserver" -w
}
# expect_record FILE LINE...: the version record of FILE holds every LINE.
expect_record() {
  local file=$1
  shift
  /usr/bin/python3 packaging/windows/version_record.py "$file" >"$work/record.txt"
  echo "-- $(basename "$file")"
  cat "$work/record.txt"
  for line in "$@"; do
    grep -qxF "$line" "$work/record.txt" || fail "the version record of $(basename "$file") lacks '$line'"
  done
  # U.S. English, Unicode; windres and makensis write the hex digits in different cases.
  grep -qix "Translation: 040904b0" "$work/record.txt" || fail "$(basename "$file") is not U.S. English, Unicode"
}

echo "== Windows packages"
scripts/package-windows.sh "$build" "$work/out"
installer="$work/out/trelvox-$version-setup.exe"
zip="$work/out/trelvox-$version-win64.zip"
stage="$work/out/stage"
echo "$(basename "$installer"): $(stat -c %s "$installer") bytes"
echo "$(basename "$zip"): $(stat -c %s "$zip") bytes"
files_in "$stage" >"$work/staged.txt"
grep -qx trelvox-batch.exe "$work/staged.txt" || fail "no trelvox-batch.exe in the packages"
grep -qx guide.html "$work/staged.txt" || fail "no guide.html in the packages"
grep -q '^screenshots/.*\.png$' "$work/staged.txt" || fail "no screenshots of the guide in the packages"
have_gui=false
grep -qx trelvox.exe "$work/staged.txt" && have_gui=true

echo "== Version records"
common=("FileVersion (numeric): $TRELVOX_VERSION_QUAD" "ProductVersion (numeric): $TRELVOX_VERSION_QUAD"
  "FileVersion: $TRELVOX_VERSION_RECORD_TEXT"
  "ProductVersion: $TRELVOX_VERSION_RECORD_TEXT" "ProductName: Trelvox"
  "CompanyName: $TRELVOX_COMPANY" "LegalCopyright: $TRELVOX_COPYRIGHT")
expect_record "$installer" "${common[@]}" "FileDescription: Trelvox $version Setup" \
  "OriginalFilename: trelvox-$version-setup.exe"
expect_record "$stage/trelvox-batch.exe" "${common[@]}" "OriginalFilename: trelvox-batch.exe"
if $have_gui; then
  expect_record "$stage/trelvox.exe" "${common[@]}" "InternalName: Trelvox" \
    "OriginalFilename: Trelvox.exe" \
    "FileDescription: This program extracts information from the DMDX .azk file and creates an individual subject data file.  It also adds data to composite database"
fi

echo "== The zip holds"
unzip -Z1 "$zip" | grep -v '/$' | sed "s|^trelvox-$version/||" | LC_ALL=C sort >"$work/zipped.txt"
cat "$work/zipped.txt"
diff -u "$work/staged.txt" "$work/zipped.txt" || fail "the zip's files differ from the installed tree"

"$wine" wineboot --init >/dev/null 2>&1
"$wineserver" -w
user_dir="$WINEPREFIX/drive_c/users/$(id -un)"
all_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Trelvox'
user_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Trelvox'
settings='HKCU\Software\VB and VBA Program Settings'
all_menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
user_menu="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
{ cat "$work/staged.txt"; echo uninstall.exe; } | LC_ALL=C sort >"$work/expected.txt"

echo "== An earlier version for everyone in C:\\Tools\\Trelvox, then this one over it"
earlier="$work/out/trelvox-0.9.0-setup.exe"
makensis -V1 -DSTAGE="$(realpath "$stage")" -DOUTFILE="$earlier" -DVERSION=0.9.0 \
  -DVERSION_QUAD=0.9.0.0 -DVERSION_RECORD=0.09 -DVERSION_MAJOR=0 -DVERSION_MINOR=9 \
  -DCOMPANY="$TRELVOX_COMPANY" -DCOPYRIGHT="$TRELVOX_COPYRIGHT" packaging/windows/trelvox.nsi
# Another program owns .zil already, for everyone; .azk has no program yet.
classes='HKLM\Software\Classes'
"$wine" reg add "$classes\.zil" /ve /d Viewer.zil /f >/dev/null
"$wine" reg add "$classes\.zil\OpenWithProgids" /v Viewer.zil /d '' /f >/dev/null
"$wine" reg add "$classes\Viewer.zil\shell\open\command" /ve /d 'viewer.exe "%1"' /f >/dev/null
"$wine" "$earlier" /S /AllUsers '/D=C:\Tools\Trelvox'
"$wineserver" -w
tools="$WINEPREFIX/drive_c/Tools/Trelvox"
programs="$WINEPREFIX/drive_c/Program Files/Trelvox"
[ "$(reg_value "$all_key" DisplayVersion)" = 0.9.0 ] || fail "the earlier version is not installed"
"$wine" "$installer" /S
"$wineserver" -w
echo "-- C:\\Tools\\Trelvox holds"
files_in "$tools" | tee "$work/installed.txt"
diff -u "$work/expected.txt" "$work/installed.txt" || fail "the upgraded files differ from the package's"
[ ! -e "$programs" ] || fail "the upgrade made a second copy in C:\\Program Files\\Trelvox"
echo "-- Apps entry"
"$wine" reg query "$all_key" 2>&1 | tr -d '\r' | tee "$work/key.txt"
[ "$(reg_value "$all_key" DisplayVersion)" = "$version" ] || fail "DisplayVersion is not $version"
[ "$(reg_value "$all_key" InstallLocation)" = 'C:\Tools\Trelvox' ] || fail "InstallLocation is not C:\\Tools\\Trelvox"
[ "$(reg_value "$all_key" QuietUninstallString)" = '"C:\Tools\Trelvox\uninstall.exe" /AllUsers /S' ] ||
  fail "QuietUninstallString is not that of C:\\Tools\\Trelvox for all users"
! has_key "$user_key" || fail "a second Apps entry, for the current user"
echo "-- Start menu"
(cd "$all_menu" && ls ./*.lnk) || true
[ -f "$all_menu/Trelvox guide.lnk" ] || fail "no Start-menu shortcut to the guide"
if $have_gui; then
  [ -f "$all_menu/Trelvox.lnk" ] || fail "no Start-menu shortcut to Trelvox"
  echo "-- Open with"
  for extension in azk zil; do
    "$wine" reg query "$classes\.$extension" /s 2>&1 | tr -d '\r'
  done
  expect_open_with HKLM 'C:\Tools\Trelvox'
  [ "$(reg_default "$classes\.azk")" = Trelvox.azk ] ||
    fail ".azk, which no program owned, does not open with Trelvox"
  [ "$(reg_default "$classes\.zil")" = Viewer.zil ] ||
    fail "the installer took .zil from the program that owned it"
  ! has_key 'HKCU\Software\Classes\Trelvox.azk' || fail "an installation for everyone wrote HKCU's classes"
fi

echo "== The installed trelvox-batch.exe"
installed_batch='C:\Tools\Trelvox\trelvox-batch.exe'
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

probe_exe="$build/tests/win/window-probe.exe"
if $have_gui && [ -f "$probe_exe" ]; then
  echo "== Reinstalled by hand: no folder page, and Finish runs trelvox.exe; meanwhile nothing uninstalls it"
  # A Wine session started without a display (the installer's) would keep the program's
  # windows on a desktop that no display shows: end it, so that the program starts a new one.
  "$wineserver" -k || true
  "$wineserver" -w || true
  cat >"$work/gui.sh" <<'GUI'
probe() { "$wine" "$probe_exe" "$@" | tr -d '\r'; }
press() {  # waits for the button, then clicks it
  local x y
  read -r x y < <(probe button 60 "$1") || { echo "no button '$1' within 60 s" >&2; return 1; }
  xdotool mousemove "$x" "$y" click 1
}
"$wine" "$installer" >"$work/setup-wine.log" 2>&1 &
# The licence, the install mode, then at once the installation into the earlier folder (a
# folder page would show "Install", not "Finish"), and Finish with "Run Trelvox" ticked.
press 'I &Agree' && press '&Next >' && press '&Finish' || { cat "$work/setup-wine.log" >&2; exit 1; }
# The splash is the program's first window (Wine names the class after the program), its
# client area 6510 x 3540 twips: 434 x 236 pixels at 96 dpi.
window=$(timeout 60 xdotool search --sync --onlyvisible --classname 'trelvox.exe' | head -1)
if [ -z "$window" ]; then
  echo "no window of trelvox.exe appeared within 60 s; Wine said:" >&2
  cat "$work/setup-wine.log" >&2
  "$wineserver" -k
  exit 1
fi
geometry=$(xdotool getwindowgeometry "$window" | tr '\n' ' ')
echo "first window: $geometry"
status=0
[[ "$geometry" == *"Geometry: 434x236"* ]] || { echo "that is not the splash" >&2; status=1; }
# In place (_?=), so that the uninstaller's exit status comes back: 2, having changed nothing.
uninstall=0
"$wine" 'C:\Tools\Trelvox\uninstall.exe' /AllUsers /S '_?=C:\Tools\Trelvox' || uninstall=$?
echo "the uninstaller, while trelvox.exe runs, ended with status $uninstall"
[ "$uninstall" -eq 2 ] || { echo "it should have refused with status 2" >&2; status=1; }
"$wineserver" -k
exit $status
GUI
  wine=$wine wineserver=$wineserver work=$work installer=$installer probe_exe=$probe_exe \
    xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/gui.sh" ||
    fail "the reinstallation by hand did not run trelvox.exe, or the uninstaller did not refuse while it ran"
  "$wineserver" -w || true
  files_in "$tools" >"$work/after-refusal.txt"
  diff -u "$work/expected.txt" "$work/after-refusal.txt" || fail "the refused uninstallation removed files"
  [ ! -e "$programs" ] || fail "the reinstallation made a second copy in C:\\Program Files\\Trelvox"

  echo "== A double-click on an .azk file: the splash, then the Analyze window holding it"
  mkdir -p "$WINEPREFIX/drive_c/Experiments"
  cp examples/sample.azk "$WINEPREFIX/drive_c/Experiments/"
  cat >"$work/open.sh" <<'OPEN'
probe() { "$wine" "$probe_exe" "$@" | tr -d '\r'; }
# What Explorer does on a double-click: the shell opens the file by its type's default.
"$wine" start 'C:\Experiments\sample.azk' >"$work/open-wine.log" 2>&1 &
status=0
if probe wait 60 '#32770' '' >/dev/null; then
  xdotool key Return  # Begin
  listed=$(probe items 60 '#32770' Analyze | head -1)
  echo "the Analyze window lists: $listed"
  [ "$listed" = 'C:\Experiments\sample.azk' ] || status=1
else
  echo "no splash within 60 s; Wine said:" >&2
  cat "$work/open-wine.log" >&2
  status=1
fi
"$wineserver" -k
exit $status
OPEN
  wine=$wine wineserver=$wineserver work=$work probe_exe=$probe_exe \
    xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/open.sh" ||
    fail "a double-click on an .azk file did not open it in the Analyze window"
  "$wineserver" -w || true
else
  echo "== trelvox.exe or window-probe.exe: not in this Windows build, so not run"
fi

echo "== Uninstall as Apps does, with another program's settings beside Trelvox's"
"$wine" reg add "$settings\\Trelvox\\Settings" /v MainLeft /d 1000 /f >/dev/null
"$wine" reg add "$settings\\Other Program\\Settings" /v Place /d 1 /f >/dev/null
uninstall_as_apps "$all_key"
if [ -e "$tools" ]; then
  find "$tools"
  fail "files are left in C:\\Tools\\Trelvox"
fi
left=$(find "$all_menu" -iname 'trelvox*')
[ -z "$left" ] || fail "Start-menu shortcuts are left: $left"
! has_key "$all_key" || fail "the registry key $all_key is left"
! has_key "$settings\\Trelvox" || fail "Trelvox's settings are left"
has_key "$settings\\Other Program\\Settings" || fail "the other program's settings went too"
"$wine" reg delete "$settings" /f >/dev/null
if $have_gui; then
  expect_no_open_with HKLM
  ! has_key "$classes\\.azk" || fail "the .azk key Trelvox made is left"
  [ "$(reg_default "$classes\\.zil")" = Viewer.zil ] || fail "the uninstaller took .zil's default"
  value_names "$classes\\.zil\\OpenWithProgids" | grep -qx Viewer.zil ||
    fail "the uninstaller took the other program from .zil's Open with"
fi

echo "== For the current user only (/CurrentUser)"
"$wine" "$installer" /S /CurrentUser
"$wineserver" -w
mine="$user_dir/AppData/Local/Programs/Trelvox"
echo "-- %LOCALAPPDATA%\\Programs\\Trelvox holds"
files_in "$mine" | tee "$work/installed-user.txt"
diff -u "$work/expected.txt" "$work/installed-user.txt" || fail "the per-user files differ from the package's"
"$wine" reg query "$user_key" 2>&1 | tr -d '\r'
location=$(reg_value "$user_key" InstallLocation)
[[ "$location" == 'C:\users\'*'\AppData\Local\Programs\Trelvox' ]] ||
  fail "the per-user InstallLocation is '$location'"
[ "$(reg_value "$user_key" DisplayVersion)" = "$version" ] || fail "no per-user DisplayVersion $version"
! has_key "$all_key" || fail "a per-user installation wrote $all_key"
if $have_gui; then
  expect_open_with HKCU "${location:-?}"
  ! has_key "$classes\\Trelvox.azk" || fail "a per-user installation wrote HKLM's classes"
  [ -z "$(reg_default 'HKCU\Software\Classes\.zil')" ] ||
    fail "a per-user installation took .zil, which another program owns for everyone"
fi
[ -f "$user_menu/Trelvox guide.lnk" ] || fail "no Start-menu shortcut to the guide in the user's menu"
[ ! -e "$programs" ] || fail "a per-user installation wrote into C:\\Program Files"
"$wine" reg add "$settings\\Trelvox\\Settings" /v MainLeft /d 1000 /f >/dev/null
uninstall_as_apps "$user_key"
[ ! -e "$mine" ] || { find "$mine"; fail "files are left in the user's Programs folder"; }
left=$(find "$user_menu" -iname 'trelvox*')
[ -z "$left" ] || fail "Start-menu shortcuts are left: $left"
! has_key "$user_key" || fail "the registry key $user_key is left"
! has_key "$settings" || fail "the empty '$settings' key is left"
$have_gui && expect_no_open_with HKCU
echo "Checked: upgrade in place, all users, current user, and uninstallation that leaves nothing."

if [ "$failures" -gt 0 ]; then
  echo "$failures Windows package check(s) failed" >&2
  exit 1
fi
echo "All Windows package checks passed."
