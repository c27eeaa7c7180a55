// Builders of small packages for the tests: keyed files, model streams and zip archives made
// independently of the viewer's readers (zip archives by fflate's writer).
import { zipSync } from 'fflate';

// The writer's offset at stream position p, straight from its definition (plain arithmetic;
// every intermediate value stays far below 2^53).
export function writerOffset([k0, k1, k2, k3], p) {
  const n = p % 256;
  return ((k0 + n) + (k1 + n) * n + (k2 + n) * n * n + (k3 + n) * n * n * n) % 256;
}

// The transform of the package writer, applied to plain bytes behind a key header.
export function keyFile(plain, key = [17, 200, 3, 99]) {
  const file = new Uint8Array(plain.length + 4);
  file.set(key, 0);
  for (let p = 0; p < plain.length; p++) file[p + 4] = (plain[p] + writerOffset(key, p)) % 256;
  return file;
}

// Big-endian chunk writer: chunk(tag, ...parts) where parts are byte arrays.
class Bytes {
  constructor() { this.parts = []; this.length = 0; }
  push(bytes) { this.parts.push(bytes); this.length += bytes.length; return this; }
  bytes() {
    const out = new Uint8Array(this.length);
    let at = 0;
    for (const part of this.parts) { out.set(part, at); at += part.length; }
    return out;
  }
}

export function int32(...values) {
  const out = new Uint8Array(values.length * 4);
  const view = new DataView(out.buffer);
  values.forEach((value, i) => view.setInt32(i * 4, value, false));
  return out;
}

export function float32(...values) {
  const out = new Uint8Array(values.length * 4);
  const view = new DataView(out.buffer);
  values.forEach((value, i) => view.setFloat32(i * 4, value, false));
  return out;
}

export function text(value) {
  const bytes = typeof value === 'string' ? Uint8Array.from(value, (c) => c.charCodeAt(0)) : value;
  const out = new Uint8Array(bytes.length + 1);
  out.set(bytes);
  return out;
}

export function chunk(tag, ...parts) {
  const body = new Bytes();
  for (const part of parts) body.push(part);
  const head = new Uint8Array(8);
  for (let i = 0; i < 4; i++) head[i] = tag.charCodeAt(i);
  new DataView(head.buffer).setInt32(4, body.length + 8, false);
  return new Bytes().push(head).push(body.bytes()).bytes();
}

export function materialChunk(m) {
  const parts = [
    chunk('NAME', text(m.name ?? '')),
    chunk('COLR', float32(...(m.color ?? [1, 1, 1, 1]))),
    chunk('AMBI', float32(m.ambient ?? 0.6)),
    chunk('DIFF', float32(m.diffuse ?? 0.8)),
    chunk('SPEC', float32(m.specular ?? 0)),
    chunk('SPOW', float32(m.power ?? 5)),
    chunk('LUMI', float32(m.emission ?? 0)),
  ];
  if (m.textureMap) parts.push(chunk('CMAP', text(m.textureMap)));
  if (m.alphaMap) parts.push(chunk('AMAP', text(m.alphaMap)));
  if (m.bumpMap) parts.push(chunk('BMAP', text(m.bumpMap)));
  if (m.envMap) parts.push(chunk('EMAP', text(m.envMap), float32(m.envPower ?? 1)));
  return chunk('MATL', ...parts);
}

// mesh: { material, positions: [x,y,z,...], uvs?: [u,v,...], faces: [[i,j,k,...], ...] }
export function meshChunk(mesh) {
  const parts = [int32(mesh.material ?? 0), chunk('VXPT', float32(...mesh.positions))];
  if (mesh.uvs) parts.push(chunk('VXUV', float32(...mesh.uvs)));
  const index = [];
  for (const face of mesh.faces) index.push(face.length, ...face);
  parts.push(chunk('INDX', int32(...index)));
  return chunk('MESH', ...parts);
}

export function objectChunk(o) {
  return chunk('OBJT',
    chunk('NAME', text(o.name ?? '')),
    chunk('VISI', int32(o.visible ?? 15)),
    chunk('SMAN', float32(o.smoothingAngle ?? 59.5)),
    chunk('MIRR', int32(o.mirror ?? 0)),
    chunk('AXIS', int32(o.mirrorAxis ?? 0)),
    ...(o.meshes ?? []).map(meshChunk));
}

// The plain model stream: magic, total length, then the chunks.
export function modelStream({ materials = [], objects = [] }) {
  const body = new Bytes();
  for (const m of materials) body.push(materialChunk(m));
  for (const o of objects) body.push(objectChunk(o));
  return new Bytes().push(text('Qel1').subarray(0, 4)).push(int32(body.length + 8)).push(body.bytes()).bytes();
}

// A zip of name -> bytes; level 0 stores, other levels deflate.
export function makeZip(entries, level = 0) {
  const files = {};
  for (const [name, bytes] of Object.entries(entries)) files[name] = [bytes, { level }];
  return zipSync(files);
}
