#!/usr/bin/env bash
# Draws the Trelvox icon (the bar chart of src/shell/resources/icon.png, on a 32-unit grid) at
# every hicolor size with ImageMagick, so that no size is a blurred enlargement of the 32 px one.
# The PNGs are committed; run this again only when the drawing changes.
set -euo pipefail
cd "$(dirname "$0")"

# Bars of the 32-unit drawing: left, top, right, bottom (exclusive).
bars=("5 18 10 27" "11 12 16 27" "17 6 22 27" "23 14 28 27")

draw_icon() {  # size file
  local size=$1
  scale=$(awk -v s="$size" 'BEGIN { print s / 32 }')
  draw="roundrectangle 0,0 $((size - 1)),$((size - 1)) $(awk -v k="$scale" 'BEGIN { r = 4 * k; print r "," r }')"
  white=""
  for bar in "${bars[@]}"; do
    read -r l t r b <<<"$bar"
    white+=$(awk -v k="$scale" -v l="$l" -v t="$t" -v r="$r" -v b="$b" \
      'BEGIN { printf "rectangle %d,%d %d,%d ", l * k, t * k, r * k - 1, b * k - 1 }')
  done
  convert -size "${size}x${size}" xc:none -fill '#1f4e79' -draw "$draw" -fill white -draw "$white" "$2"
}

# Below 32 px the one-unit gaps between the bars would vanish when drawn: shrink the 32 px
# drawing instead, so they stay as lighter lines.
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "${size}x${size}"
  out="${size}x${size}/trelvox.png"
  if [ "$size" -lt 32 ]; then
    draw_icon 32 "png32:$out.tmp"
    convert "png32:$out.tmp" -resize "${size}x${size}" -strip "png32:$out"
    rm "$out.tmp"
  else
    draw_icon "$size" "png32:$out"
    convert "png32:$out" -strip "png32:$out"
  fi
done
