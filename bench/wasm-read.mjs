// The WebAssembly reader against the native one on the same generated 100 MB model, side by side
// on this machine: the best of three runs of `vantor-cli info` as a fresh process,
// and the best of three reads in the browser build's module under Node, the file copied once
// into the module's memory as the converter page puts it, then read by the core. Then one
// publish of the model in the module, as the page converts it. Prints the figures; asserts
// nothing (times are not tests).
// Usage: node bench/wasm-read.mjs BUILD_DIR
import { execFileSync, spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, statSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';

const build = resolve(process.argv[2] ?? 'build');
const folder = mkdtempSync(join(tmpdir(), 'vantor-wasm-bench-'));
const model = join(folder, 'large.mqo');
const RUNS = 3;

try {
  execFileSync(join(build, 'bench', 'vantor-bench-model'), [model, '100']);
  const megabytes = statSync(model).size / 1048576;

  let native = Infinity;
  for (let i = 0; i < RUNS; ++i) {
    const start = process.hrtime.bigint();
    const run = spawnSync(join(build, 'bin', 'vantor-cli'), ['info', model], { stdio: 'ignore' });
    if (run.status !== 0) throw new Error('vantor-cli info failed');
    native = Math.min(native, Number(process.hrtime.bigint() - start) / 1e9);
  }

  const VantorCore = createRequire(import.meta.url)(join(build, 'wasm', 'module', 'vantor-core.js'));
  const core = await VantorCore();
  const bytes = readFileSync(model);
  let wasm = Infinity;
  let info = null;
  for (let i = 0; i < RUNS; ++i) {
    // As the page does: the file's bytes copied once into the module's memory, then read.
    const start = process.hrtime.bigint();
    const address = core._malloc(bytes.length);
    core.HEAPU8.set(bytes, address);
    info = core.readModel('/large.mqo', address, bytes.length);
    wasm = Math.min(wasm, Number(process.hrtime.bigint() - start) / 1e9);
  }
  if (info.code !== 0) throw new Error(`the module could not read the model: ${info.message}`);
  const heapAfterRead = core.HEAPU8.length / 1048576;

  core.FS.mkdirTree('/vantor');
  for (const name of ['vtr.jar', 'template.html', 'LitColor.jpg']) {
    core.FS.writeFile(`/vantor/${name}`, readFileSync(join(build, 'bin', name)));
  }
  core.FS.mkdirTree('/out');
  const publishStart = process.hrtime.bigint();
  const published = core.publish(core.startupSettings(), '/out/', '', false);
  const publishSeconds = Number(process.hrtime.bigint() - publishStart) / 1e9;
  const heapAfterPublish = core.HEAPU8.length / 1048576;

  const rate = (seconds) => `${(megabytes / seconds).toFixed(0)} MB/s`;
  console.log(`model: ${megabytes.toFixed(1)} MB, ${info.objects} objects, ${info.vertices} vertices, ${info.faces} faces`);
  console.log(`native vantor-cli info (fresh process): ${native.toFixed(3)} s, ${rate(native)}`);
  console.log(`wasm readModel under Node:              ${wasm.toFixed(3)} s, ${rate(wasm)}`);
  console.log(`wasm speed / native speed:              ${(native / wasm).toFixed(2)}`);
  console.log(`wasm memory after reading: ${heapAfterRead.toFixed(0)} MB (${(heapAfterRead / megabytes).toFixed(2)}x the file)`);
  console.log(`wasm publish: ${publishSeconds.toFixed(2)} s, error ${published.error}; module memory then ` +
    `${heapAfterPublish.toFixed(0)} MB (${(heapAfterPublish / megabytes).toFixed(2)}x the file)`);
} finally {
  rmSync(folder, { recursive: true, force: true });
}
