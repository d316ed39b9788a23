#!/usr/bin/env bash
# Checks what a Linux user gets, from the dev build: the tree that `cmake --install` writes, the
# desktop entry, metainfo, icons and man pages in it, and the Debian package (its contents, its
# computed dependencies, lintian, a simulated apt installation, and its programs run from the
# unpacked package). Prints each list it checks, so that CI shows them.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/dev}
# shellcheck source=/dev/null
source "$build/version.env"
version=$TRELVOX_VERSION
work=$(mktemp -d "${TMPDIR:-/tmp}/trelvox-packages.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

echo "== Installed tree (cmake --install $build --prefix <tmp>)"
cmake --install "$build" --prefix "$work/prefix" >/dev/null
(cd "$work/prefix" && find . -type f -printf '%P\n' | LC_ALL=C sort) | tee "$work/installed.txt"
LC_ALL=C sort packaging/linux/installed-files.txt >"$work/expected.txt"
diff -u "$work/expected.txt" "$work/installed.txt" || fail "the installed tree differs from packaging/linux/installed-files.txt"

echo "== Desktop entry, metainfo, icons, man pages"
desktop-file-validate "$work/prefix/share/applications/org.trelvox.Trelvox.desktop" ||
  fail "desktop-file-validate"
appstreamcli validate --no-net "$work/prefix/share/metainfo/org.trelvox.Trelvox.metainfo.xml" ||
  fail "appstreamcli validate"
echo "-- The AZK and ZIL types the desktop entry opens (shared-mime-info)"
mime_xml="$work/prefix/share/mime/packages/org.trelvox.Trelvox.xml"
xmllint --noout "$mime_xml" || fail "xmllint $mime_xml"
mkdir -p "$work/mime/packages"
cp "$mime_xml" "$work/mime/packages/"
XDG_DATA_DIRS="$work" update-mime-database "$work/mime" || fail "update-mime-database"
grep -v '^#' "$work/mime/globs2" | tee "$work/globs.txt"
printf '50:application/x-dmdx-azk:*.azk\n50:application/x-dmdx-zil:*.zil\n' |
  diff -u - "$work/globs.txt" || fail "the type database does not know *.azk and *.zil"
entry="$work/prefix/share/applications/org.trelvox.Trelvox.desktop"
for type in $(sed -n 's/^MimeType=//p' "$entry" | tr ';' ' '); do
  [ -f "$work/mime/${type}.xml" ] || fail "the desktop entry opens $type, which no installed type defines"
done
grep -q '^Exec=trelvox %F$' "$entry" || fail "the desktop entry does not hand its files to trelvox"
for icon in "$work"/prefix/share/icons/hicolor/*x*/apps/trelvox.png; do
  size=$(basename "$(dirname "$(dirname "$icon")")")
  actual=$(/usr/bin/python3 -c 'import struct, sys
data = open(sys.argv[1], "rb").read(24)
print("%dx%d" % struct.unpack(">II", data[16:24]) if data[:8] == b"\x89PNG\r\n\x1a\n" else "no PNG")' "$icon")
  [ "$actual" = "$size" ] || fail "$icon is $actual, not $size"
done
for page in "$work"/prefix/share/man/man1/*.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null || true)
  [ -z "$warnings" ] || fail "man page $(basename "$page"): $warnings"
done
batch="$work/prefix/bin/trelvox-batch"
[ "$("$batch" --version)" = "trelvox-batch $version" ] || fail "installed trelvox-batch --version"

echo "== The version in the texts that name it ($version)"
for page in packaging/linux/*.1; do
  head -1 "$page" | grep -qF "\"Trelvox $version\"" || fail "$page: its .TH line does not name Trelvox $version"
done
grep -m1 '<release ' packaging/linux/org.trelvox.Trelvox.metainfo.xml | grep -qF "version=\"$version\"" ||
  fail "the metainfo's latest release is not $version"
head -1 packaging/debian/changelog | grep -qF "trelvox ($version)" ||
  fail "the Debian changelog's latest entry is not $version"
echo "-- The guide (guide.html) shows"
grep -o 'src="[^"]*"' "$work/prefix/share/doc/trelvox/guide.html" | sort -u
for picture in $(grep -o 'src="[^"]*"' "$work/prefix/share/doc/trelvox/guide.html" | sed 's/^src="//; s/"$//'); do
  [ -f "$work/prefix/share/doc/trelvox/$picture" ] || fail "guide.html shows $picture, which is not installed"
done
! grep -q 'guide-test\|For developers' "$work/prefix/share/doc/trelvox/guide.html" ||
  fail "guide.html holds the guide test's markers or the developers' sections"

echo "== Debian package (cpack -G DEB)"
(cd "$build" && cpack -G DEB -B "$work/deb" >/dev/null)
deb="$work/deb/trelvox_${version}_amd64.deb"
[ -f "$deb" ] || { fail "no $deb"; exit 1; }
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes"
dpkg-deb -c "$deb"
echo "-- Declared dependencies"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
  grep -qE "(^|, )${library//+/\\+}( |,|$)" <<<"$depends" || fail "Depends lacks $library"
done
# The package holds the installed tree under /usr, with the Debian copyright file and
# changelog in place of the plain licence.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\/usr\//, "", $6); print $6 }' | LC_ALL=C sort >"$work/packaged.txt"
{ grep -v '^share/doc/trelvox/LICENSE$' "$work/expected.txt"
  printf '%s\n' share/doc/trelvox/changelog.gz share/doc/trelvox/copyright; } |
  LC_ALL=C sort >"$work/expected-deb.txt"
diff -u "$work/expected-deb.txt" "$work/packaged.txt" || fail "the package's files differ from the installed tree"

echo "-- lintian"
lintian --fail-on error --display-level '>=warning' "$deb" || fail "lintian reports errors"

echo "-- apt-get install (simulated)"
apt-get install --simulate --no-install-recommends "$deb" >"$work/apt.txt" 2>&1 ||
  { cat "$work/apt.txt"; fail "apt-get cannot install the package"; }
grep -E '^(Inst|Conf) trelvox ' "$work/apt.txt" || fail "apt-get would not install trelvox"

echo "-- The unpacked package converts a sample"
dpkg-deb -x "$deb" "$work/root"
"$work/root/usr/bin/trelvox-batch" parse-all examples/sample.azk --timeout 2000 \
  --composite "$work/composite" --quiet
rows=$(wc -l <"$work/composite.dat")
[ "$rows" -eq 19 ] || fail "the packaged trelvox-batch wrote $rows rows, not 19"

if [ "$failures" -gt 0 ]; then
  echo "$failures package check(s) failed" >&2
  exit 1
fi
echo "All package checks passed."
