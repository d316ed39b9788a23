#!/usr/bin/env bash
# Makes the Windows downloads from the Windows build: the installer trelvox-<version>-setup.exe
# (NSIS, 64-bit) and the portable trelvox-<version>-win64.zip, both of the tree that
# `cmake --install` writes for that build. Usage: scripts/package-windows.sh [BUILD] [OUT]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/windows}
out=${2:-$build/packages}
version=5.0.0
stage="$out/stage"

rm -rf "$stage"
mkdir -p "$out"
cmake --install "$build" --prefix "$stage" --strip >/dev/null
for file in trelvox.exe trelvox-batch.exe README.txt LICENSE.txt; do
  [ -f "$stage/$file" ] || echo "Note: the Windows build has no $file; the packages go without it."
done

makensis -V2 -DSTAGE="$(realpath "$stage")" -DOUTFILE="$(realpath "$out")/trelvox-$version-setup.exe" \
  packaging/windows/trelvox.nsi

# The zip holds one folder, so that unpacking it does not scatter files; fixed times and no
# extra attributes give the same bytes from the same files.
folder="$out/zip/trelvox-$version"
rm -rf "$out/zip" "$out/trelvox-$version-win64.zip"
mkdir -p "$folder"
cp "$stage"/* "$folder/"
touch -d "2026-12-09 00:00:00 UTC" "$folder" "$folder"/*
(cd "$out/zip" && zip -q -X -r "../trelvox-$version-win64.zip" "trelvox-$version")
rm -rf "$out/zip"

ls -l "$out/trelvox-$version-setup.exe" "$out/trelvox-$version-win64.zip"
