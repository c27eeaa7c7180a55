// The connected mirror's join on a hostile object: a million separate triangles (three million
// open edges), a third of whose edges face the mirror plane. Prints the time of the join and of
// the whole build. Usage: node bench/mirrorJoin.bench.mjs [source folder, default ../src]
import { resolve } from 'node:path';
import { pathToFileURL } from 'node:url';

const source = resolve(process.argv[2] ?? new URL('../src', import.meta.url).pathname);
const { joinMirrorGaps } = await import(pathToFileURL(`${source}/MirrorJoin.js`).href);
const { buildObject } = await import(pathToFileURL(`${source}/MeshBuilder.js`).href);

const TRIANGLES = 1_000_000;
const ROW = 1000;
const positions = new Float32Array(TRIANGLES * 9);
for (let t = 0; t < TRIANGLES; t++) {
  const x = 1 + (t % ROW) * 2, y = Math.floor(t / ROW) * 2;
  positions.set([x, y, 0, x, y + 1, 0, x + 1, y + 0.5, 0], t * 9);
}
const corners = new Uint32Array(TRIANGLES * 3).map((_, i) => i);
const object = {
  name: 'scatter', visible: 15, smoothingAngle: 60, mirror: 2, mirrorAxis: 1,
  meshes: [{ material: 0, positions, uvs: null, faceSizes: new Uint32Array(TRIANGLES).fill(3), corners }],
};

let started = performance.now();
const joined = joinMirrorGaps(object);
const joinMs = performance.now() - started;
started = performance.now();
buildObject(object);
const buildMs = performance.now() - started;
const added = joined.meshes[0].faceSizes.length - TRIANGLES;
console.log(`mirror join of ${TRIANGLES * 3} open edges: ${Math.round(joinMs)} ms (${added} faces added); ` +
  `whole build ${Math.round(buildMs)} ms; peak RSS ${Math.round(process.resourceUsage().maxRSS / 1024)} MB`);
