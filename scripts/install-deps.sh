#!/usr/bin/env bash
# Installs the Debian packages that building and testing Trelvox needs, when they are missing.
set -euo pipefail

packages=(cmake g++ make libgtest-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev
  qt6-base-dev libgl1-mesa-dev libxkbcommon-dev fonts-dejavu-core
  # The Windows build: the MinGW-w64 cross compiler, and Wine to run its tests.
  g++-mingw-w64-x86-64-posix wine wine64
  # The Windows desktop program's window tests: Wine's fonts, a virtual X display, and xdotool
  # to drive the program by mouse and keyboard.
  fonts-wine xvfb xauth xdotool
  # The data-quality report's browser test opens report.html in headless Chromium.
  chromium
  # The guide that the packages ship: one HTML page made from README.md.
  cmark-gfm
  # The packages and the checks of what they install, and the guide's R and pandas examples.
  dpkg-dev lintian man-db desktop-file-utils appstream r-base-core python3-pandas
  # The file types the desktop entry opens, checked as the type database reads them.
  libxml2-utils shared-mime-info
  nsis zip unzip)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

install_command="apt-get install -y --no-install-recommends ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  as_root=(env DEBIAN_FRONTEND=noninteractive)
elif command -v sudo >/dev/null 2>&1; then
  # sudo drops the environment: hand the setting over explicitly, or debconf warns at length.
  as_root=(sudo env DEBIAN_FRONTEND=noninteractive)
else
  cat >&2 <<MESSAGE
These Debian packages are needed to build Trelvox and are not installed:
  ${missing[*]}
Installing them needs root, and sudo is not installed. Run this one command as root
(for example after "su -"), then start this script again:
  apt-get update && $install_command
MESSAGE
  exit 1
fi

echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
