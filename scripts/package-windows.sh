#!/usr/bin/env bash
# Makes the Windows downloads from the Windows build: the installer trelvox-<version>-setup.exe
# (NSIS, 64-bit) and the portable trelvox-<version>-win64.zip, both of the tree that
# `cmake --install` writes for that build. The version is the build's (its version.env, made
# from project(VERSION)). Usage: scripts/package-windows.sh [BUILD] [OUT]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/windows}
out=${2:-$build/packages}
[ -f "$build/version.env" ] || { echo "$build/version.env is missing: configure $build first" >&2; exit 1; }
# shellcheck source=/dev/null
source "$build/version.env"
version=$TRELVOX_VERSION
stage="$out/stage"

rm -rf "$stage"
mkdir -p "$out"
cmake --install "$build" --prefix "$stage" --strip >/dev/null
for file in trelvox.exe trelvox-batch.exe guide.html LICENSE.txt; do
  [ -f "$stage/$file" ] || echo "Note: the Windows build has no $file; the packages go without it."
done

makensis -V2 -DSTAGE="$(realpath "$stage")" -DOUTFILE="$(realpath "$out")/trelvox-$version-setup.exe" \
  -DVERSION="$version" -DVERSION_QUAD="$TRELVOX_VERSION_QUAD" \
  -DVERSION_RECORD="$TRELVOX_VERSION_RECORD_TEXT" -DVERSION_MAJOR="$TRELVOX_VERSION_MAJOR" \
  -DVERSION_MINOR="$TRELVOX_VERSION_MINOR" -DCOMPANY="$TRELVOX_COMPANY" \
  -DCOPYRIGHT="$TRELVOX_COPYRIGHT" packaging/windows/trelvox.nsi

# The zip holds one folder, so that unpacking it does not scatter files; fixed times and no
# extra attributes give the same bytes from the same files.
folder="$out/zip/trelvox-$version"
rm -rf "$out/zip" "$out/trelvox-$version-win64.zip"
mkdir -p "$folder"
cp -r "$stage"/. "$folder/"
find "$folder" -exec touch -d "2026-12-09 00:00:00 UTC" {} +
(cd "$out/zip" && find "trelvox-$version" | LC_ALL=C sort | zip -q -X -@ "../trelvox-$version-win64.zip")
rm -rf "$out/zip"

ls -l "$out/trelvox-$version-setup.exe" "$out/trelvox-$version-win64.zip"
