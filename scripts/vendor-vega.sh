#!/usr/bin/env bash
# Refreshes the plotting scripts that report.html carries inline: the minified builds of vega,
# vega-lite and vega-embed and their licences, from the npm registry (`npm pack`), at the
# versions pinned below, into third_party/vega, and rewrites its README with the checksums.
# The files are committed: builds and CI never fetch them.
#
#   bash scripts/vendor-vega.sh            # the pinned versions
#   VEGA=6.4.0 VEGA_LITE=6.5.0 VEGA_EMBED=7.3.0 bash scripts/vendor-vega.sh
#
# After a change of versions, open a report in a browser and run the browser test
# (ctest -R report_browser): vega-embed must match the majors of vega and vega-lite.
set -euo pipefail
cd "$(dirname "$0")/.."

vega=${VEGA:-6.4.0}
vega_lite=${VEGA_LITE:-6.5.0}
vega_embed=${VEGA_EMBED:-7.3.0}
target=third_party/vega

command -v npm >/dev/null || { echo "npm is needed: apt-get install npm" >&2; exit 2; }
work=$(mktemp -d "${TMPDIR:-/tmp}/trelvox-vega.XXXXXX")
trap 'rm -rf "$work"' EXIT

# package, version -> $work/<package>/ unpacked, and the tarball's integrity line on stdout
fetch() {
  local package=$1 version=$2 tarball
  tarball=$(cd "$work" && npm pack --silent "$package@$version" | tail -n 1)
  mkdir -p "$work/$package"
  tar -xzf "$work/$tarball" -C "$work/$package" --strip-components=1
  npm view "$package@$version" dist.integrity
}

declare -A version=([vega]=$vega [vega-lite]=$vega_lite [vega-embed]=$vega_embed)
declare -A integrity
mkdir -p "$target"
for package in vega vega-lite vega-embed; do
  integrity[$package]=$(fetch "$package" "${version[$package]}")
  cp "$work/$package/build/$package.min.js" "$target/$package.min.js"
  cp "$work/$package/LICENSE" "$target/LICENSE.$package"
  # The version each build says it is, so that a wrong file is caught here and not in a report.
  grep -q "${version[$package]}" "$target/$package.min.js" ||
    { echo "$package.min.js does not name version ${version[$package]}" >&2; exit 1; }
done

{
  cat <<HEADER
# vega, vega-lite and vega-embed

The plots of \`report.html\` (written by \`trelvox-batch analyze\`) are drawn by these scripts,
which the build puts into the program (\`src/analysis/CMakeLists.txt\`) and the program puts
inline into every report, so that a report opens offline and \`trelvox-batch\` stays one file.
They are the packages' own minified builds from the npm registry, unchanged; the build leaves
out only their last line's source-map comment. Refresh them with \`bash scripts/vendor-vega.sh\`
(which rewrites this file).

All three are under the BSD 3-Clause licence of the University of Washington Interactive Data
Lab (\`LICENSE.*\`); \`vega.min.js\` bundles d3 modules (ISC licence, Mike Bostock). Every
report carries these notices at its foot.

| file | package | version | npm tarball integrity | sha256 of the file |
|---|---|---|---|---|
HEADER
  for package in vega vega-lite vega-embed; do
    echo "| \`$package.min.js\` | \`$package\` (\`build/$package.min.js\`) | ${version[$package]} |" \
      "\`${integrity[$package]}\` | \`$(sha256sum "$target/$package.min.js" | cut -d' ' -f1)\` |"
  done
} >"$target/README.md"
echo "third_party/vega: vega $vega, vega-lite $vega_lite, vega-embed $vega_embed"
