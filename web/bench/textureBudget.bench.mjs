// A hostile package in headless Chromium (software WebGL): eight images of 8192 x 8192 pixels
// that compress to a few kilobytes. Prints the time until the picture settles and the peak
// memory of the browser's processes. Usage: node bench/textureBudget.bench.mjs [program folder
// whose vtr.jar to use, default the build's]
import { execFileSync } from 'node:child_process';
import { copyFileSync, readFileSync, readdirSync, statSync, writeFileSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { solidPng, texturedRowModel } from '../test/support/models.mjs';
import { binDir, cliPath, tempFolder } from '../test/support/paths.mjs';
import { Chromium, findChromium } from '../test/page/Chromium.mjs';
import { serveFolder } from '../test/page/Server.mjs';

const viewerDir = resolve(process.argv[2] ?? binDir);
const folder = tempFolder();
const png = solidPng(8192, 8192, [0, 200, 0]);
for (let i = 0; i < 8; i++) writeFileSync(join(folder.dir, `big${i}.png`), png);
writeFileSync(join(folder.dir, 'big.mqo'), texturedRowModel(8));
execFileSync(cliPath, ['publish', join(folder.dir, 'big.mqo'), '--out', folder.dir], { stdio: 'ignore' });
copyFileSync(join(viewerDir, 'vtr.jar'), join(folder.dir, 'vtr.jar'));

// The largest resident size each process of the browser reached, added up (kB).
function peakMemoryKb(rootPid) {
  const parentOf = new Map();
  const peakOf = new Map();
  for (const pid of readdirSync('/proc').filter((name) => /^\d+$/.test(name))) {
    try {
      const status = readFileSync(`/proc/${pid}/status`, 'latin1');
      parentOf.set(Number(pid), Number(/PPid:\s+(\d+)/.exec(status)[1]));
      peakOf.set(Number(pid), Number(/VmHWM:\s+(\d+)/.exec(status)?.[1] ?? 0));
    } catch {
      // gone meanwhile
    }
  }
  const within = (pid) => { for (let p = pid; p > 1; p = parentOf.get(p) ?? 0) if (p === rootPid) return true; return false; };
  let total = 0;
  for (const [pid, peak] of peakOf) if (within(pid)) total += peak;
  return total;
}

const server = await serveFolder(folder.dir);
const browser = await Chromium.launch(findChromium());
try {
  const tab = await browser.newPage(400, 400);
  const started = Date.now();
  await tab.navigate(`${server.url}big.html`);
  const VIEWER = "document.querySelector('.qel-viewer')";
  await tab.waitFor(`${VIEWER}?.dataset.settled === 'true' || ${VIEWER}?.dataset.state === 'error'`, 600000);
  const elapsed = Date.now() - started;
  const state = await tab.evaluate(`${VIEWER}.dataset.state`);
  console.log(`eight 8192 x 8192 images (archive ${statSync(join(folder.dir, 'big.zip')).size} bytes): ${state} after ${elapsed} ms; ` +
    `browser processes' peak memory ${Math.round(peakMemoryKb(browser.child.pid) / 1024)} MB`);
} finally {
  await browser.close();
  await server.close();
  folder.cleanup();
}
