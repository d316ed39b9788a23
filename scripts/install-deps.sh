#!/usr/bin/env bash
# Installs the Debian packages that building and testing Trelvox needs, when they are missing.
set -euo pipefail

packages=(cmake g++ make libgtest-dev libbenchmark-dev libcli11-dev qt6-base-dev
  libgl1-mesa-dev fonts-dejavu-core
  # The Windows build: the MinGW-w64 cross compiler, and Wine to run its tests.
  g++-mingw-w64-x86-64-posix wine wine64
  # The Windows desktop program's window tests: Wine's fonts, a virtual X display, and xdotool
  # to drive the program by mouse and keyboard.
  fonts-wine xvfb xauth xdotool)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
