#!/usr/bin/env bash
# Installs the Debian packages that building and testing Trelvox needs, when they are missing.
set -euo pipefail

packages=(cmake g++ make libgtest-dev libbenchmark-dev libcli11-dev qt6-base-dev
  libgl1-mesa-dev fonts-dejavu-core)
# The packages and the checks of what they install, and the guide's R and pandas examples.
packages+=(dpkg-dev lintian man-db desktop-file-utils appstream r-base-core python3-pandas
  nsis zip unzip xvfb xauth xdotool)

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
