#!/usr/bin/env bash
# Renders icons/vantor.svg into the PNG sizes the editor and the desktop use
# (icons/vantor-N.png) with headless Chromium: a page draws the picture onto a canvas of each
# size and prints the PNGs, which this script decodes. Run it after changing the SVG and commit
# the PNGs; the build only copies them.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
chromium="$(command -v chromium || command -v chromium-browser)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
sizes="16 24 32 48 64 128 256"

cat >"$work/render.html" <<HTML
<!DOCTYPE html><html><body><script>
const picture = new Image();
picture.onload = () => {
  const lines = [];
  for (const size of [${sizes// /,}]) {
    const canvas = document.createElement('canvas');
    canvas.width = canvas.height = size;
    canvas.getContext('2d').drawImage(picture, 0, 0, size, size);
    lines.push('PNG ' + size + ' ' + canvas.toDataURL('image/png').split(',')[1]);
  }
  document.body.textContent = lines.join('\n');
};
picture.src = 'data:image/svg+xml;base64,$(base64 -w0 "$here/icons/vantor.svg")';
</script></body></html>
HTML

"$chromium" --headless=new --no-sandbox --disable-gpu --virtual-time-budget=5000 \
    --user-data-dir="$work/profile" --dump-dom "file://$work/render.html" 2>/dev/null |
    grep -o 'PNG [0-9]* [A-Za-z0-9+/=]*' >"$work/pngs.txt"

for size in $sizes; do
    line="$(grep "^PNG $size " "$work/pngs.txt")" || { echo "no $size-pixel picture" >&2; exit 1; }
    echo "${line##* }" | base64 -d >"$here/icons/vantor-$size.png"
    echo "icons/vantor-$size.png"
done
