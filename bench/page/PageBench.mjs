// The page benchmark: a published Vantor page against a page that shows the same geometry as
// a plain GLB with three.js's glTF loader, each loaded three times in a fresh headless
// Chromium (software GL) with a 200 x 200 canvas. Prints the medians of the first frame, the
// peak JS heap with array buffers, the bytes loaded and the frame rate of a pointer drag, with
// the ratios against the GLB page.
//
//   node bench/page/PageBench.mjs [--baseline DIR] [--runs N] [--models million,textured]
//
// --baseline DIR: a program folder of another build (its vtr.jar): its viewer is measured on
// the same packages too, so that a change is measured before and after in one run.
// Memory is sampled every 50 ms over DevTools (Runtime.getHeapUsage: used heap plus the backing
// stores of array buffers) on the page and on every worker it starts, and summed; a sample
// waits for the thread's running task, so a peak inside one long task may be missed.
import { execFileSync } from 'node:child_process';
import { copyFileSync, mkdirSync, readFileSync, statSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';
import { Chromium, findChromium } from '../../web/test/page/Chromium.mjs';
import { serveFolder } from '../../web/test/page/Server.mjs';
import { gridModel } from '../../web/test/support/models.mjs';
import { binDir, cliPath, haveCli, tempFolder, webDir } from '../../web/test/support/paths.mjs';
import { preparePackage } from '../../web/src/Preparation.js';
import { writeGlb } from './GlbWriter.mjs';

const require = createRequire(join(webDir, 'package.json'));
const esbuild = require('esbuild');
const jpeg = require('jpeg-js');

const CANVAS = 200;
const DRAG_MS = 3000;
const SAMPLE_MS = 50;
// A hostile package that shows nothing by then counts as frozen.
const HOSTILE_LIMIT_MS = 300000;

function option(name, fallback) {
  const at = process.argv.indexOf(`--${name}`);
  return at > 0 ? process.argv[at + 1] : fallback;
}

// A textured model of the size of a real one (about 38,000 triangles, two materials with their
// images): four bent sheets round a middle.
export function texturedModel(folder) {
  const image = (seed) => {
    const size = 512;
    const data = Buffer.alloc(size * size * 4);
    for (let y = 0; y < size; y++) {
      for (let x = 0; x < size; x++) {
        const v = ((x >> 5) + (y >> 5) + seed) & 1 ? 200 : 90;
        data.set([v, (v + x + seed * 40) & 255, (v + y) & 255, 255], (y * size + x) * 4);
      }
    }
    return jpeg.encode({ data, width: size, height: size }, 90).data;
  };
  writeFileSync(join(folder, 'wood.jpg'), image(0));
  writeFileSync(join(folder, 'metal.jpg'), image(1));
  const n = 70;
  const parts = ['Metasequoia Document', 'Format Text Ver 1.0', '', 'Material 2 {',
    '\t"wood" col(1.000 1.000 1.000 1.000) dif(0.800) amb(0.600) emi(0.000) spc(0.000) power(5.00) tex("wood.jpg")',
    '\t"metal" col(1.000 1.000 1.000 1.000) dif(0.800) amb(0.600) emi(0.000) spc(0.300) power(20.00) tex("metal.jpg")', '}'];
  for (let o = 0; o < 4; o++) {
    const vertices = [];
    const faces = [];
    for (let j = 0; j < n; j++) {
      for (let i = 0; i < n; i++) {
        const angle = (o + i / (n - 1)) * (Math.PI / 2);
        const radius = 100 + 10 * Math.sin(j * 0.3);
        vertices.push(`\t\t${(radius * Math.cos(angle)).toFixed(3)} ${(j * 4 - 140).toFixed(3)} ${(radius * Math.sin(angle)).toFixed(3)}`);
      }
    }
    for (let j = 0; j < n - 1; j++) {
      for (let i = 0; i < n - 1; i++) {
        const a = j * n + i;
        const uv = [i, j + 1, i + 1, j + 1, i + 1, j, i, j].map((v) => (v / (n - 1)).toFixed(4)).join(' ');
        faces.push(`\t\t4 V(${a + n} ${a + n + 1} ${a + 1} ${a}) M(${o % 2}) UV(${uv})`);
      }
    }
    parts.push(`Object "part${o}" {`, '\tvisible 15', '\tfacet 59.5', `\tvertex ${n * n} {`, vertices.join('\n'), '\t}',
      `\tface ${faces.length} {`, faces.join('\n'), '\t}', '}');
  }
  parts.push('Eof', '');
  return parts.join('\n');
}

// Hostile shapes of packages a visitor may open: many one-triangle objects, and many faces
// that all use one vertex (they draw nothing).
function manyObjects(count) {
  const parts = ['Metasequoia Document', 'Format Text Ver 1.0', '', 'Material 1 {',
    '\t"m" col(0.800 0.600 0.400 1.000) dif(0.800) amb(0.600) emi(0.000) spc(0.000) power(5.00)', '}'];
  const side = Math.ceil(Math.sqrt(count));
  for (let o = 0; o < count; o++) {
    const x = (o % side) * 2, y = Math.floor(o / side) * 2;
    parts.push(`Object "t${o}" {\n\tvisible 15\n\tfacet 59.5\n\tvertex 3 {\n\t\t${x} ${y} 0\n\t\t${x + 1} ${y} 0\n\t\t${x} ${y + 1} 0\n\t}\n` +
      '\tface 1 {\n\t\t3 V(0 2 1) M(0)\n\t}\n}');
  }
  parts.push('Eof', '');
  return parts.join('\n');
}

function facesOnOneVertex(count) {
  return ['Metasequoia Document', 'Format Text Ver 1.0', '', 'Object "one" {', '\tvisible 15', '\tfacet 59.5',
    '\tvertex 3 {', '\t\t0 0 0', '\t\t1 0 0', '\t\t0 1 0', '\t}', `\tface ${count + 1} {`, '\t\t3 V(0 2 1)',
    '\t\t3 V(0 0 0)\n'.repeat(count) + '\t}', '}', 'Eof', ''].join('\n');
}

const MODELS = {
  million: { label: '1,040,400-triangle grid', write: () => gridModel(8, 256), movingCopy: true },
  textured: { label: 'textured, 38,088 triangles', write: texturedModel },
  objects: { label: '100,000 one-triangle objects', write: () => manyObjects(100000), hostile: true },
  // The viewer before this one freezes on it: measured for the current viewer only.
  millionObjects: { label: '1,000,000 one-triangle objects', write: () => manyObjects(1000000), hostile: true, currentOnly: true },
  faces: { label: '10,000,000 faces on one vertex (and one triangle)', write: () => facesOnOneVertex(10000000), hostile: true },
};

// The page that shows model.glb, and its script.
async function writeGlbPage(folder) {
  await esbuild.build({
    entryPoints: [join(import.meta.dirname, 'GlbPage.js')], bundle: true, format: 'iife', minify: true,
    outfile: join(folder, 'glbpage.js'), nodePaths: [join(webDir, 'node_modules')], logLevel: 'error',
  });
  writeFileSync(join(folder, 'glb.html'), '<!DOCTYPE html><html><head><meta charset="utf-8"><title>GLB</title></head>' +
    `<body style="margin:0;background:#ebe8e1"><canvas id="view" width="${CANVAS}" height="${CANVAS}"></canvas>` +
    '<script src="glbpage.js"></script></body></html>');
}

// The GLB of what the viewer builds from the package: the same vertices, normals, texture
// coordinates and triangles.
async function glbOfPackage(zipPath) {
  const prepared = await preparePackage({ zipBytes: new Uint8Array(readFileSync(zipPath)), modelReference: zipPath, options: {} });
  const images = new Map(prepared.textures);
  const meshes = [];
  for (const built of prepared.built) {
    for (const batch of built.batches) {
      if (!batch.triangles.length) continue;
      const material = prepared.materials[batch.material];
      meshes.push({
        positions: batch.positions, normals: batch.normals, uvs: batch.uvs, indices: batch.triangles,
        material: { color: material ? material.color : [1, 1, 1, 1], image: (material && images.get(material.textureMap)) || null },
      });
    }
  }
  return writeGlb(meshes);
}

// Counts the frames that draw (one per animation frame that issued a draw call) and the
// page's long tasks, from the page's start.
const INSTRUMENT = `(() => {
  const bench = window.qelBench = { frames: [], drawn: false, longTasks: [] };
  for (const name of ['drawElements', 'drawArrays', 'drawElementsInstanced', 'drawArraysInstanced', 'drawRangeElements']) {
    const original = WebGL2RenderingContext.prototype[name];
    WebGL2RenderingContext.prototype[name] = function (...args) { bench.drawn = true; return original.apply(this, args); };
  }
  const request = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = (callback) => request((time) => {
    bench.drawn = false;
    callback(time);
    if (bench.drawn && bench.frames[bench.frames.length - 1] !== time) bench.frames.push(time);
  });
  new PerformanceObserver((list) => {
    for (const entry of list.getEntries()) bench.longTasks.push([entry.startTime, entry.duration]);
  }).observe({ entryTypes: ['longtask'] });
  addEventListener('pointerdown', () => { bench.pressed = performance.now(); }, true);
  addEventListener('pointerup', () => { bench.released = performance.now(); }, true);
})()`;

const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Sums the heap of the page and of its workers every SAMPLE_MS; stop() gives the peak.
function sampleMemory(browser, page) {
  const sessions = new Set([page.sessionId]);
  const listener = (message) => {
    if (message.method === 'Target.attachedToTarget' && message.sessionId === page.sessionId) {
      sessions.add(message.params.sessionId);
    } else if (message.method === 'Target.detachedFromTarget') {
      sessions.delete(message.params.sessionId);
    }
  };
  browser.listeners.add(listener);
  let peak = 0;
  let running = true;
  const loop = (async () => {
    while (running) {
      // A worker that has ended may never answer.
      const sizes = await Promise.all([...sessions].map((session) => Promise.race([
        browser.send('Runtime.getHeapUsage', {}, session)
          .then(({ usedSize, backingStorageSize = 0 }) => usedSize + backingStorageSize).catch(() => 0),
        pause(2000).then(() => { sessions.delete(session); return 0; }),
      ])));
      peak = Math.max(peak, sizes.reduce((sum, size) => sum + size, 0));
      await pause(SAMPLE_MS);
    }
  })();
  return async () => {
    running = false;
    await loop;
    browser.listeners.delete(listener);
    return peak;
  };
}

// A left drag round the canvas centre for DRAG_MS, moves as fast as the page takes them. The
// frame rate counts the frames between the press and the release as the page saw them; the
// redraw of the still picture after the release is not part of it.
async function drag(page, x, y) {
  const mouse = (type, px, py, extra = {}) => page.send('Input.dispatchMouseEvent',
    { type, x: px, y: py, button: 'left', buttons: type === 'mouseReleased' ? 0 : 1, ...extra });
  await mouse('mousePressed', x, y, { clickCount: 1 });
  const end = Date.now() + DRAG_MS;
  for (let step = 1; Date.now() < end; step++) {
    await mouse('mouseMoved', x + 40 * Math.sin(step * 0.05), y + 15 * Math.sin(step * 0.03));
    await pause(8);
  }
  await mouse('mouseReleased', x, y, { clickCount: 1 });
  await pause(300);
  const { frames, longTasks, pressed: before, released: after } = await page.evaluate('window.qelBench');
  const during = frames.filter((time) => time > before && time <= after);
  if (process.env.BENCH_DEBUG) console.error(JSON.stringify({ before, after, frames: during.map(Math.round), longTasks: longTasks.map((t) => t.map(Math.round)) }));
  const blocks = longTasks.filter(([start]) => start > before && start < after).map(([, duration]) => duration);
  return { fps: (during.length * 1000) / (after - before), longestBlock: Math.max(0, ...blocks) };
}

async function measure(chromium, url, kind, { waitForMovingCopy = false, hostile = false } = {}) {
  const browser = await Chromium.launch(chromium);
  try {
    const page = await browser.newPage(CANVAS + 200, CANVAS + 300);
    await page.send('Target.setAutoAttach', { autoAttach: true, waitForDebuggerOnStart: false, flatten: true });
    await page.send('Page.addScriptToEvaluateOnNewDocument', { source: INSTRUMENT });
    const stopSampling = sampleMemory(browser, page);
    await page.navigate(url);
    const element = kind === 'glb' ? 'document.body' : "document.querySelector('.qel-viewer')";
    const done = kind === 'glb' ? `${element}?.dataset.firstFrameMs` : `${element}?.dataset.settled === 'true'`;
    try {
      await page.waitFor(`${done} || ${element}?.dataset.error || (${element}?.dataset.state === 'error')`, hostile ? HOSTILE_LIMIT_MS : 600000);
    } catch (error) {
      if (!hostile) throw error;
      await stopSampling();
      return { firstFrame: Infinity, peak: NaN, bytes: NaN, modelBytes: NaN, fps: NaN, longestBlock: NaN };
    }
    // A large model's copy for moving is made after the first frame; the drag waits for it.
    if (waitForMovingCopy) await page.waitFor(`${element}.dataset.movingCopy === 'ready'`, 60000);
    await pause(500);
    const peak = await stopSampling();
    const info = await page.evaluate(`(() => {
      const viewer = ${element};
      const entries = [...performance.getEntriesByType('navigation'), ...performance.getEntriesByType('resource')];
      const model = entries.find((e) => /\\.(zip|glb)$/.test(e.name));
      return { firstFrame: Number(viewer.dataset.firstFrameMs), error: viewer.dataset.error ?? null,
        bytes: entries.reduce((sum, e) => sum + (e.encodedBodySize || 0), 0), modelBytes: model?.encodedBodySize ?? 0,
        rect: (() => { const r = (document.querySelector('canvas')).getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / 2]; })() };
    })()`);
    if (info.error) throw new Error(`${url}: ${info.error}`);
    if (hostile) return { ...info, peak, fps: NaN, longestBlock: NaN };
    const dragged = await drag(page, ...info.rect);
    return { ...info, peak, ...dragged };
  } finally {
    await browser.close();
  }
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const mb = (bytes) => `${(bytes / 1e6).toFixed(2)} MB`;

async function main() {
  const chromium = findChromium();
  if (!chromium || !haveCli()) {
    console.log(`page benchmark skipped: ${chromium ? `no ${cliPath}` : 'no Chromium'}`);
    return;
  }
  const runs = Number(option('runs', 3));
  const baseline = option('baseline', null);
  const chosen = option('models', 'million,textured,objects,faces,millionObjects').split(',');
  const folder = tempFolder();
  const server = await serveFolder(folder.dir);
  try {
    await writeGlbPage(folder.dir);
    const viewers = [['Vantor', binDir], ...(baseline ? [['Vantor before', baseline]] : [])];
    for (const key of chosen) {
      const model = MODELS[key];
      const source = join(folder.dir, `${key}.mqo`);
      writeFileSync(source, model.write(folder.dir));
      execFileSync(cliPath, ['publish', source, '--out', folder.dir, '--name', key, '--seed', '5'], { stdio: ['ignore', 'ignore', 'inherit'] });
      if (!model.hostile) {
        const glbFolder = join(folder.dir, `${key}-glb`);
        mkdirSync(glbFolder);
        writeFileSync(join(glbFolder, 'model.glb'), await glbOfPackage(join(folder.dir, `${key}.zip`)));
        copyFileSync(join(folder.dir, 'glb.html'), join(glbFolder, 'glb.html'));
        copyFileSync(join(folder.dir, 'glbpage.js'), join(glbFolder, 'glbpage.js'));
      }
      const pages = [];
      for (const [name, bin] of model.currentOnly ? viewers.slice(0, 1) : viewers) {
        const dir = join(folder.dir, `${key}-${name.replace(/\W+/g, '-')}`);
        mkdirSync(dir);
        for (const file of [`${key}.html`, `${key}.zip`, 'wood.jpx', 'metal.jpx']) {
          try { copyFileSync(join(folder.dir, file), join(dir, file)); } catch { /* a model without that file */ }
        }
        copyFileSync(join(bin, 'vtr.jar'), join(dir, 'vtr.jar'));
        pages.push({ name, url: `${server.url}${dir.slice(folder.dir.length + 1)}/${key}.html`, kind: 'vantor', movingCopy: bin === binDir && model.movingCopy });
      }
      if (!model.hostile) pages.push({ name: 'plain GLB', url: `${server.url}${key}-glb/glb.html`, kind: 'glb' });
      const results = [];
      for (const page of pages) {
        const samples = [];
        for (let run = 0; run < (model.hostile ? 1 : runs); run++) {
          samples.push(await measure(chromium, page.url, page.kind, { waitForMovingCopy: page.movingCopy, hostile: model.hostile }));
        }
        results.push({ name: page.name, ...Object.fromEntries(['firstFrame', 'peak', 'bytes', 'modelBytes', 'fps', 'longestBlock']
          .map((field) => [field, median(samples.map((s) => s[field]))])) });
      }
      if (model.hostile) {
        console.log(`\n${model.label} (one fresh load each)`);
        console.log('| page | model bytes | first frame | peak JS heap + array buffers |');
        console.log('| --- | --- | --- | --- |');
        for (const r of results) {
          const shown = Number.isFinite(r.firstFrame) ? `${Math.round(r.firstFrame)} ms` : `nothing within ${HOSTILE_LIMIT_MS / 1000} s`;
          console.log(`| ${r.name} | ${mb(r.modelBytes)} | ${shown} | ${mb(r.peak)} |`);
        }
        continue;
      }
      const glb = results[results.length - 1];
      console.log(`\n${model.label} (${runs} fresh loads each, medians; canvas ${CANVAS} x ${CANVAS}, software GL)`);
      console.log('| page | model bytes | all bytes | first frame | peak JS heap + array buffers | drag | longest block in drag |');
      console.log('| --- | --- | --- | --- | --- | --- | --- |');
      for (const r of results) {
        const ratio = (value, of) => (r === glb ? '' : ` (${(value / of).toFixed(2)}x)`);
        console.log(`| ${r.name} | ${mb(r.modelBytes)} | ${mb(r.bytes)} | ${Math.round(r.firstFrame)} ms${ratio(r.firstFrame, glb.firstFrame)} | ` +
          `${mb(r.peak)}${ratio(r.peak, glb.peak)} | ${r.fps.toFixed(1)} fps | ${Math.round(r.longestBlock)} ms |`);
      }
    }
  } finally {
    await server.close();
    folder.cleanup();
  }
}

// Run as a program (the model makers can be imported without running the benchmark).
if (process.argv[1] && import.meta.url === pathToFileURL(process.argv[1]).href) await main();
