// How the fitted camera frames real models: publishes every MQO file of a folder with --fit,
// opens each page in headless Chromium (software WebGL) and measures the box of the pixels that
// differ from the background. A model is framed when it shows, its box is centred (within 5 %
// of the canvas), spans 40 to 98 % of the canvas in its larger direction and touches no edge.
// Usage: node bench/frame-corpus.mjs [folder of .mqo files] [--shots DIR]
import { execFileSync } from 'node:child_process';
import { mkdirSync, readdirSync, writeFileSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { readPng } from '../test/support/png.mjs';
import { cliPath, corpusDir, tempFolder } from '../test/support/paths.mjs';
import { Chromium, findChromium } from '../test/page/Chromium.mjs';
import { serveFolder } from '../test/page/Server.mjs';

const args = process.argv.slice(2);
const shotsAt = args.indexOf('--shots');
const shots = shotsAt >= 0 ? resolve(args.splice(shotsAt, 2)[1]) : null;
const source = resolve(args[0] ?? corpusDir);
if (shots) mkdirSync(shots, { recursive: true });

const VIEWER = "document.querySelector('.qel-viewer')";

// The box of the pixels that differ from the background (the colour of most border pixels),
// or null when none do.
export function drawnBox(image) {
  const border = new Map();
  for (let x = 0; x < image.width; x++) for (const y of [0, image.height - 1]) {
    const key = image.pixel(x, y).join();
    border.set(key, (border.get(key) ?? 0) + 1);
  }
  const background = [...border.entries()].sort((a, b) => b[1] - a[1])[0][0].split(',').map(Number);
  const box = { x0: Infinity, y0: Infinity, x1: -1, y1: -1 };
  for (let y = 0; y < image.height; y++) {
    for (let x = 0; x < image.width; x++) {
      const p = image.pixel(x, y);
      if (p.every((v, i) => Math.abs(v - background[i]) <= 8)) continue;
      box.x0 = Math.min(box.x0, x); box.x1 = Math.max(box.x1, x + 1);
      box.y0 = Math.min(box.y0, y); box.y1 = Math.max(box.y1, y + 1);
    }
  }
  return box.x1 < 0 ? null : box;
}

export function judge(box, width, height) {
  if (!box) return { framed: false, why: 'nothing shows' };
  const off = Math.max(Math.abs((box.x0 + box.x1) / 2 - width / 2) / width, Math.abs((box.y0 + box.y1) / 2 - height / 2) / height);
  const span = Math.max((box.x1 - box.x0) / width, (box.y1 - box.y0) / height);
  const cut = box.x0 <= 0 || box.y0 <= 0 || box.x1 >= width || box.y1 >= height;
  const why = [off > 0.05 && `off centre ${(off * 100).toFixed(1)} %`, (span < 0.4 || span > 0.98) && `spans ${(span * 100).toFixed(0)} %`,
    cut && 'cut'].filter(Boolean).join(', ');
  return { framed: !why, why, off, span };
}

const folder = tempFolder();
const server = await serveFolder(folder.dir);
const browser = await Chromium.launch(findChromium());
const results = [];
try {
  for (const file of readdirSync(source).filter((f) => /\.mqoz?$/i.test(f)).sort()) {
    const name = `m${results.length}`;
    try {
      execFileSync(cliPath, ['publish', join(source, file), '--out', folder.dir, '--name', name, '--fit'], { stdio: 'ignore' });
    } catch {
      results.push({ file, skipped: 'does not publish' });
      continue;
    }
    const tab = await browser.newPage(400, 400);
    await tab.navigate(`${server.url}${name}.html`);
    await tab.waitFor(`${VIEWER}?.dataset.settled === 'true' || ${VIEWER}?.dataset.state === 'error'`, 120000);
    const viewer = await tab.evaluate(`Object.assign({}, ${VIEWER}.dataset)`);
    // Notes and control icons are no part of the model's picture.
    await tab.evaluate(`${VIEWER}.querySelectorAll('.qel-note, .qel-overlay').forEach((e) => { e.style.display = 'none'; })`);
    const rect = await tab.evaluate(`(() => { const r = ${VIEWER}.getBoundingClientRect(); return { x: r.x, y: r.y, width: r.width, height: r.height }; })()`);
    const png = await tab.screenshot(rect);
    await tab.close();
    if (shots) writeFileSync(join(shots, `${file.replace(/\.mqoz?$/i, '')}.png`), png);
    if (viewer.empty === 'true' || viewer.state === 'error') {
      results.push({ file, skipped: viewer.empty === 'true' ? 'no visible faces' : `error ${viewer.error}` });
      continue;
    }
    const image = readPng(png);
    results.push({ file, ...judge(drawnBox(image), image.width, image.height) });
  }
} finally {
  await browser.close();
  await server.close();
  folder.cleanup();
}
for (const r of results) console.log(`${r.skipped ? 'skip ' : r.framed ? 'ok   ' : 'NOT  '} ${r.file}${r.skipped ? ` (${r.skipped})` : r.why ? ` (${r.why})` : ''}`);
const measured = results.filter((r) => !r.skipped);
console.log(`framed ${measured.filter((r) => r.framed).length} of ${measured.length} models with visible faces (${results.length - measured.length} skipped)`);
