#!/usr/bin/env bash
# Checks HTML map fragments in a real browser: scripts/check_converted_maps.sh FRAGMENT.html...
# Each fragment is wrapped in a page that finds a point inside every AREA (and outside the
# AREAs before it, which a browser would hit first), asks document.elementFromPoint what lies
# there and prints PASS when it is that AREA. Needs chromium; not part of the test suite.
set -euo pipefail

if [ "$#" -eq 0 ]; then
  echo "usage: $0 FRAGMENT.html..." >&2
  exit 64
fi
browser=${CHROMIUM:-chromium}
command -v "$browser" >/dev/null 2>&1 || { echo "$0: $browser not found (set CHROMIUM)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

read -r -d '' probe <<'EOF' || true
<pre id="results"></pre>
<script>
function numbers(area) {
  return (area.getAttribute('coords') || '').split(/[\s,]+/).filter(s => s !== '').map(Number);
}
function inside(area, x, y, w, h) {
  const c = numbers(area);
  const shape = (area.getAttribute('shape') || 'rect').toLowerCase();
  if (shape === 'default') return true;
  if (shape === 'circle') return (x - c[0]) ** 2 + (y - c[1]) ** 2 < c[2] ** 2;
  if (shape === 'poly' || shape === 'polygon') {
    let hit = false;
    for (let i = 0, j = c.length / 2 - 1; i < c.length / 2; j = i++) {
      const [xi, yi, xj, yj] = [c[2 * i], c[2 * i + 1], c[2 * j], c[2 * j + 1]];
      if ((yi > y) !== (yj > y) && x < ((xj - xi) * (y - yi)) / (yj - yi) + xi) hit = !hit;
    }
    return hit;
  }
  return x > Math.min(c[0], c[2]) && x < Math.max(c[0], c[2])
      && y > Math.min(c[1], c[3]) && y < Math.max(c[1], c[3]);
}
// The bounding box of an area, for picking a point near its middle.
function middle(area, w, h) {
  const c = numbers(area);
  const shape = (area.getAttribute('shape') || 'rect').toLowerCase();
  if (shape === 'default' || c.length < 3) return [w / 2, h / 2];
  if (shape === 'circle') return [c[0], c[1]];
  const xs = c.filter((_, i) => i % 2 === 0), ys = c.filter((_, i) => i % 2 === 1);
  return [(Math.min(...xs) + Math.max(...xs)) / 2, (Math.min(...ys) + Math.max(...ys)) / 2];
}
// The point nearest to the area's middle that lies three pixels clear of its edge and of
// every earlier area; k = -1 asks for a point clear of all areas.
function probePoint(areas, k, w, h) {
  const steps = [];
  for (let dy = -3; dy <= 3; dy++)
    for (let dx = -3; dx <= 3; dx++) steps.push([dx, dy]);
  const before = k < 0 ? areas : areas.slice(0, k);
  const clear = (x, y) => steps.every(([dx, dy]) =>
      (k < 0 || inside(areas[k], x + dx, y + dy, w, h))
      && before.every(a => !inside(a, x + dx, y + dy, w, h)));
  const [mx, my] = k < 0 ? [w / 2, h / 2] : middle(areas[k], w, h);
  let best = null;
  for (let y = 3; y < h - 3; y++)
    for (let x = 3; x < w - 3; x++)
      if (clear(x, y)) {
        const d = (x - mx) ** 2 + (y - my) ** 2;
        if (!best || d < best.d) best = { x, y, d };
      }
  return best;
}
window.addEventListener('load', () => {
  const out = [];
  for (const img of document.querySelectorAll('img[usemap]')) {
    const name = img.getAttribute('usemap').replace(/^#/, '');
    const map = [...document.querySelectorAll('map')].find(m => m.name === name);
    // Points outside the window hit nothing: a picture below other content is scrolled to.
    img.scrollIntoView({ block: 'start', inline: 'start' });
    const box = img.getBoundingClientRect();
    if (!map || box.width === 0) { out.push('FAIL no map or picture for ' + name); continue; }
    const areas = [...map.querySelectorAll('area')];
    areas.forEach((area, k) => {
      const label = `area ${k + 1} ${area.getAttribute('shape')} ${area.getAttribute('href')}`;
      const p = probePoint(areas, k, Math.round(box.width), Math.round(box.height));
      if (!p) { out.push(`SKIP ${label}: no free point inside`); return; }
      const hit = document.elementFromPoint(box.left + p.x, box.top + p.y);
      const what = hit ? hit.tagName + ' ' + (hit.getAttribute('href') || '') : 'nothing';
      out.push(`${hit === area ? 'PASS' : 'FAIL'} ${label} at (${p.x},${p.y}) -> ${what}`);
    });
    // Where no area lies, the picture itself is hit.
    const p = probePoint(areas, -1, Math.round(box.width), Math.round(box.height));
    if (p) {
      const hit = document.elementFromPoint(box.left + p.x, box.top + p.y);
      out.push(`${hit === img ? 'PASS' : 'FAIL'} outside every area at (${p.x},${p.y}) -> `
          + (hit ? hit.tagName + ' ' + (hit.getAttribute('href') || '') : 'nothing'));
    }
  }
  document.getElementById('results').textContent = '\n' + out.join('\n') + '\n';
});
</script>
EOF

status=0
for fragment in "$@"; do
  folder=$(cd "$(dirname "$fragment")" && pwd)
  page="$work/$(basename "$fragment").check.html"
  {
    echo "<!DOCTYPE html><html><head><meta charset=\"utf-8\">"
    echo "<base href=\"file://${folder// /%20}/\">"
    echo "<style>body{margin:0}img{display:block}</style></head><body>"
    cat "$fragment"
    echo
    echo "$probe"
    echo "</body></html>"
  } >"$page"
  echo "== $fragment"
  results=$("$browser" --headless --no-sandbox --disable-gpu --virtual-time-budget=5000 \
    --window-size=2000,2000 \
    --dump-dom "file://${page// /%20}" 2>/dev/null \
    | grep -E '^(PASS|FAIL|SKIP) ' | sed -e 's/&gt;/>/g' -e 's/&lt;/</g' -e 's/&amp;/\&/g' || true)
  echo "$results"
  if [ -z "$results" ] || grep -qv '^PASS' <<<"$results"; then
    status=1
  fi
done
exit "$status"
