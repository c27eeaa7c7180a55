// MQO models written by the page tests: a probe whose pixels tell whether textures, hidden
// objects, mirrors, lines and concave faces are drawn right, and a large model for timing.
import jpeg from 'jpeg-js';
import { deflateSync } from 'node:zlib';

// A plain image of one colour (icons, title image, background image).
export function solidImage([r, g, b], width = 20, height = 20) {
  const data = Buffer.alloc(width * height * 4);
  for (let i = 0; i < width * height; i++) data.set([r, g, b, 255], i * 4);
  return jpeg.encode({ data, width, height }, 95).data;
}

// An image whose upper half is red and lower half blue: upright or upside down is plain to see.
export function probeTexture() {
  const width = 64, height = 64;
  const data = Buffer.alloc(width * height * 4);
  for (let y = 0; y < height; y++) {
    for (let x = 0; x < width; x++) {
      data.set(y < height / 2 ? [255, 0, 0, 255] : [0, 0, 255, 255], (y * width + x) * 4);
    }
  }
  return jpeg.encode({ data, width, height }, 95).data;
}

function objectBlock(name, { visible = 15, mirror = 0, axis = 0, facet = 59.5 }, vertices, faces) {
  const lines = [`Object "${name}" {`, `\tvisible ${visible}`, `\tfacet ${facet}`];
  if (mirror) lines.push(`\tmirror ${mirror}`, `\tmirror_axis ${axis}`);
  lines.push(`\tvertex ${vertices.length} {`, ...vertices.map((v) => `\t\t${v.join(' ')}`), '\t}');
  lines.push(`\tface ${faces.length} {`, ...faces.map((f) => `\t\t${f}`), '\t}', '}');
  return lines.join('\n');
}

// World layout (the camera looks from 0, 0, 500 at the origin). Faces are listed clockwise as
// seen from the front, as modellers write them.
export const PROBE = {
  texturedQuad: { x0: -40, x1: 40, y0: -30, y1: 50 },      // upper half red, lower half blue
  hiddenQuad: { x0: -30, x1: 30, y0: -20, y1: 40, z: 60 }, // green, in front, but hidden
  mirrorQuad: { x0: 60, x1: 90, y0: -10, y1: 20 },         // yellow, only its right copy is modelled
  lineY: 90,                                               // a magenta two-corner edge (the box stays centred)
  concave: [[-30, -50], [30, -50], [30, -65], [-10, -65], [-10, -90], [-30, -90]], // cyan L
  brokenTexture: { x0: 60, x1: 90, y0: -90, y1: -60 },     // orange, its texture undecodable
  lostTexture: { x0: 60, x1: 90, y0: 30, y1: 50 },         // purple, its texture file missing
};

const quad = ({ x0, x1, y0, y1 }, z = 0) => [[x0, y1, z], [x1, y1, z], [x1, y0, z], [x0, y0, z]];

// textureName: the image of the textured quad; the model also names "-" (a placeholder for no
// image, in a material no face uses), "broken.jpg" (to be written with bytes no browser
// decodes) and "lost.jpg" (not to be written at all).
export function probeModel(textureName) {
  const q = PROBE.texturedQuad;
  const h = PROBE.hiddenQuad;
  const m = PROBE.mirrorQuad;
  const materials = [
    `\t"tex" col(1.000 1.000 1.000 1.000) dif(0.800) amb(0.600) emi(0.000) spc(0.000) power(5.00) tex("${textureName}")`,
    '\t"hidden" col(0.000 1.000 0.000 1.000) dif(0.800) amb(0.600) emi(0.000) spc(0.000) power(5.00)',
    '\t"mirror" col(1.000 1.000 0.000 1.000) dif(0.800) amb(0.600) emi(0.000) spc(0.000) power(5.00)',
    '\t"line" col(1.000 0.000 1.000 1.000) dif(0.800) amb(0.600) emi(0.000) spc(0.000) power(5.00)',
    '\t"concave" col(0.000 1.000 1.000 1.000) dif(0.800) amb(0.600) emi(0.000) spc(0.000) power(5.00)',
    '\t"broken" col(1.000 0.500 0.000 1.000) dif(0.800) amb(0.600) emi(0.000) spc(0.000) power(5.00) tex("broken.jpg")',
    '\t"lost" col(0.500 0.000 1.000 1.000) dif(0.800) amb(0.600) emi(0.000) spc(0.000) power(5.00) tex("lost.jpg")',
    '\t"none" col(0.500 0.500 0.500 1.000) dif(0.800) amb(0.600) emi(0.000) spc(0.000) power(5.00) tex("-")',
  ];
  const concave = PROBE.concave;
  return [
    'Metasequoia Document', 'Format Text Ver 1.0', '',
    `Material ${materials.length} {`, ...materials, '}',
    objectBlock('textured', {}, [[q.x0, q.y1, 0], [q.x1, q.y1, 0], [q.x1, q.y0, 0], [q.x0, q.y0, 0]],
      ['4 V(0 1 2 3) M(0) UV(0 0 1 0 1 1 0 1)']),
    objectBlock('hidden', { visible: 0 }, [[h.x0, h.y1, h.z], [h.x1, h.y1, h.z], [h.x1, h.y0, h.z], [h.x0, h.y0, h.z]],
      ['4 V(0 1 2 3) M(1)']),
    objectBlock('mirrored', { mirror: 1, axis: 1 }, [[m.x0, m.y1, 0], [m.x1, m.y1, 0], [m.x1, m.y0, 0], [m.x0, m.y0, 0]],
      ['4 V(0 1 2 3) M(2)']),
    objectBlock('edge', {}, [[-90, PROBE.lineY, 0], [90, PROBE.lineY, 0]], ['2 V(0 1) M(3)']),
    objectBlock('concave', {}, concave.map(([x, y]) => [x, y, 0]), [`6 V(0 1 2 3 4 5) M(4)`]),
    objectBlock('broken', {}, quad(PROBE.brokenTexture), ['4 V(0 1 2 3) M(5) UV(0 0 1 0 1 1 0 1)']),
    objectBlock('lost', {}, quad(PROBE.lostTexture), ['4 V(0 1 2 3) M(6) UV(0 0 1 0 1 1 0 1)']),
    'Eof', '',
  ].join('\n');
}

// objects x (n x n grid of vertices, two triangles per cell, as quads): about 2 n^2 triangles
// per object. Each object is a gently waved sheet, stacked a little apart in z.
export function gridModel(objects, n) {
  const parts = ['Metasequoia Document', 'Format Text Ver 1.0', '',
    'Material 1 {', '\t"grid" col(0.800 0.700 0.500 1.000) dif(0.800) amb(0.600) emi(0.000) spc(0.000) power(5.00)', '}'];
  for (let o = 0; o < objects; o++) {
    const vertices = [];
    for (let j = 0; j < n; j++) {
      for (let i = 0; i < n; i++) {
        const x = (i / (n - 1) - 0.5) * 300;
        const y = (j / (n - 1) - 0.5) * 300;
        vertices.push(`\t\t${x.toFixed(3)} ${y.toFixed(3)} ${(Math.sin(i * 0.2) * Math.cos(j * 0.2) * 5 - o * 3).toFixed(3)}`);
      }
    }
    const faces = [];
    for (let j = 0; j < n - 1; j++) {
      for (let i = 0; i < n - 1; i++) {
        const a = j * n + i;
        faces.push(`\t\t4 V(${a + n} ${a + n + 1} ${a + 1} ${a}) M(0)`);
      }
    }
    parts.push(`Object "grid${o}" {`, '\tvisible 15', '\tfacet 59.5', `\tvertex ${n * n} {`, vertices.join('\n'), '\t}',
      `\tface ${(n - 1) * (n - 1)} {`, faces.join('\n'), '\t}', '}');
  }
  parts.push('Eof', '');
  return parts.join('\n');
}

// A smooth sphere of radius 100 (facet 89.5) in a blue, glossy material: smooth, flat,
// cartoon and specular shading each look plainly different on it.
// A sphere of the given radius round centre.
export function sphereModel(segments = 32, rings = 20, { radius = 100, centre = [0, 0, 0] } = {}) {
  const vertices = [];
  for (let r = 0; r <= rings; r++) {
    const theta = (r / rings) * Math.PI;
    for (let s = 0; s < segments; s++) {
      const phi = (s / segments) * 2 * Math.PI;
      const unit = [Math.sin(theta) * Math.cos(phi), Math.cos(theta), Math.sin(theta) * Math.sin(phi)];
      vertices.push(unit.map((v, k) => (centre[k] + radius * v).toFixed(4)));
    }
  }
  const faces = [];
  for (let r = 0; r < rings; r++) {
    for (let s = 0; s < segments; s++) {
      const a = r * segments + s;
      const b = r * segments + ((s + 1) % segments);
      // Clockwise seen from outside.
      faces.push(`4 V(${a} ${a + segments} ${b + segments} ${b}) M(0)`);
    }
  }
  return [
    'Metasequoia Document', 'Format Text Ver 1.0', '',
    'Material 1 {', '\t"glossy" col(0.200 0.400 0.800 1.000) dif(0.800) amb(0.600) emi(0.000) spc(0.900) power(30.00)', '}',
    objectBlock('sphere', { facet: 89.5 }, vertices, faces),
    'Eof', '',
  ].join('\n');
}

// A TGA file of the image pixel(x, y) -> [r, g, b, a] (y from the top): 24 or 32 bits, or 8-bit
// grey (the red channel); plain or run-length encoded (runs of equal pixels within a row);
// rows stored from the bottom (the usual origin) unless topDown.
export function tgaImage(width, height, pixel, { depth = 24, rle = false, topDown = false } = {}) {
  const header = Buffer.alloc(18);
  header[2] = (depth === 8 ? 3 : 2) + (rle ? 8 : 0);
  header.writeUInt16LE(width, 12);
  header.writeUInt16LE(height, 14);
  header[16] = depth;
  header[17] = (depth === 32 ? 8 : 0) | (topDown ? 0x20 : 0);
  const encode = ([r, g, b, a]) => (depth === 8 ? [r] : depth === 24 ? [b, g, r] : [b, g, r, a]);
  const body = [];
  for (let row = 0; row < height; row++) {
    const y = topDown ? row : height - 1 - row;
    const pixels = Array.from({ length: width }, (_, x) => encode(pixel(x, y)));
    if (!rle) {
      body.push(...pixels.flat());
      continue;
    }
    for (let x = 0; x < width;) {
      let run = 1;
      while (x + run < width && run < 128 && pixels[x + run].join() === pixels[x].join()) run++;
      if (run > 1) {
        body.push(0x80 | (run - 1), ...pixels[x]);
      } else {
        body.push(0, ...pixels[x]);
      }
      x += run;
    }
  }
  return Buffer.concat([header, Buffer.from(body)]);
}

// World layout of the joining and TGA page (lighting off, default camera).
export const JOIN = {
  seat: { x0: 50, x1: 80, y0: 20, y1: 60, z0: -20, z1: 20 }, // yellow half box, open towards x = 0
  tga: { x0: -80, x1: -10, y0: -60, y1: -10 },            // upper half red, lower half blue (RLE, from the bottom)
  masked: { x0: 10, x1: 80, y0: -60, y1: -10 },           // green (from the top), its left half masked out
};

// A connected-mirror half box whose open side stops 50 units before the plane (more than its
// own width, as on a real chair's seat cushion), and two quads
// textured with TGA images, one through a TGA alpha plane.
export function joinModel() {
  const { x0, x1, y0, y1, z0, z1 } = JOIN.seat;
  const box = [[x0, y0, z0], [x1, y0, z0], [x1, y1, z0], [x0, y1, z0], [x0, y0, z1], [x1, y0, z1], [x1, y1, z1], [x0, y1, z1]];
  const materials = [
    '\t"seat" col(1.000 1.000 0.000 1.000) dif(0.800) amb(0.600) emi(0.000) spc(0.000) power(5.00)',
    '\t"tga" col(1.000 1.000 1.000 1.000) dif(0.800) amb(0.600) emi(0.000) spc(0.000) power(5.00) tex("halves.tga")',
    '\t"masked" col(1.000 1.000 1.000 1.000) dif(0.800) amb(0.600) emi(0.000) spc(0.000) power(5.00) tex("green.tga") aplane("mask.tga")',
  ];
  const uv = 'UV(0 0 1 0 1 1 0 1)';
  return [
    'Metasequoia Document', 'Format Text Ver 1.0', '',
    `Material ${materials.length} {`, ...materials, '}',
    objectBlock('seat', { mirror: 2, axis: 1 }, box,
      ['4 V(0 1 2 3) M(0)', '4 V(4 7 6 5) M(0)', '4 V(1 5 6 2) M(0)', '4 V(3 2 6 7) M(0)', '4 V(0 4 5 1) M(0)']),
    objectBlock('tga', {}, quad(JOIN.tga), [`4 V(0 1 2 3) M(1) ${uv}`]),
    objectBlock('masked', {}, quad(JOIN.masked), [`4 V(0 1 2 3) M(2) ${uv}`]),
    'Eof', '',
  ].join('\n');
}

const boxCorners = (x0, x1, y0, y1, z0 = -10, z1 = 10) =>
  [[x0, y0, z0], [x1, y0, z0], [x1, y1, z0], [x0, y1, z0], [x0, y0, z1], [x1, y0, z1], [x1, y1, z1], [x0, y1, z1]];
const boxFaces = (o) => [[0, 1, 2, 3], [4, 7, 6, 5], [1, 5, 6, 2], [0, 3, 7, 4], [3, 2, 6, 7], [0, 4, 5, 1]]
  .map((f) => `4 V(${f.map((i) => i + o).join(' ')}) M(0)`);
const ONE_MATERIAL = ['Material 1 {', '\t"m" col(0.900 0.300 0.100 1.000) dif(0.800) amb(0.600) emi(0.000) spc(0.000) power(5.00)', '}'];

// A tall pole with a cross bar at its top: a roll of the model shows as a leaning pole.
export function poleModel() {
  return [
    'Metasequoia Document', 'Format Text Ver 1.0', '', ...ONE_MATERIAL,
    objectBlock('pole', {}, [...boxCorners(-10, 10, -120, 120), ...boxCorners(-60, 60, 100, 120)], [...boxFaces(0), ...boxFaces(8)]),
    'Eof', '',
  ].join('\n');
}

// Steps seen from the front: a low wide block near the camera and a high one far behind it.
// The near block looks larger, so the picture of the box's centre is not the middle of the
// picture.
export function stepsModel() {
  return [
    'Metasequoia Document', 'Format Text Ver 1.0', '', ...ONE_MATERIAL,
    objectBlock('steps', {}, [...boxCorners(-50, 50, 0, 50, 100, 200), ...boxCorners(-50, 50, 50, 100, -200, -100)],
      [...boxFaces(0), ...boxFaces(8)]),
    'Eof', '',
  ].join('\n');
}

// A quarter of a plate (x and y from QUARTER.near to QUARTER.far, facing the camera) with a
// connected mirror across X and Y: drawn whole, with its four copies joined across both planes.
export const QUARTER = { near: 30, far: 70 };
export function quarterModel() {
  const { near, far } = QUARTER;
  return [
    'Metasequoia Document', 'Format Text Ver 1.0', '', ...ONE_MATERIAL,
    objectBlock('quarter', { mirror: 2, axis: 3 }, [[near, far, 0], [far, far, 0], [far, near, 0], [near, near, 0]], ['4 V(0 1 2 3) M(0)']),
    'Eof', '',
  ].join('\n');
}

// Nothing to draw: an object without vertices, a hidden one, and one whose faces are flat lines.
export function emptyModel() {
  return [
    'Metasequoia Document', 'Format Text Ver 1.0', '',
    'Material 1 {', '\t"m" col(1.000 0.000 0.000 1.000) dif(0.800) amb(0.600) emi(0.000) spc(0.000) power(5.00)', '}',
    'Object "nothing" {', '\tvisible 15', '}',
    objectBlock('hidden', { visible: 0 }, [[0, 0, 0], [50, 0, 0], [0, 50, 0]], ['3 V(0 1 2) M(0)']),
    objectBlock('flat', {}, [[0, 0, 0], [50, 0, 0], [100, 0, 0], [25, 0, 0]], ['3 V(0 1 2) M(0)', '4 V(0 3 1 2) M(0)']),
    'Eof', '',
  ].join('\n');
}

// A PNG of one colour, compressed to almost nothing however large: a hostile package can
// carry images of hundreds of millions of pixels in a few kilobytes.
export function solidPng(width, height, [r, g, b]) {
  const row = Buffer.alloc(1 + width * 3);
  for (let x = 0; x < width; x++) row.set([r, g, b], 1 + x * 3);
  const rows = Buffer.alloc(row.length * height);
  for (let y = 0; y < height; y++) row.copy(rows, y * row.length);
  const header = Buffer.alloc(13);
  header.writeUInt32BE(width, 0);
  header.writeUInt32BE(height, 4);
  header.set([8, 2, 0, 0, 0], 8); // 8 bits, RGB
  return Buffer.concat([Buffer.from('89504e470d0a1a0a', 'hex'), pngChunk('IHDR', header),
    pngChunk('IDAT', deflateSync(rows, { level: 9 })), pngChunk('IEND', Buffer.alloc(0))]);
}

function pngChunk(type, data) {
  const body = Buffer.concat([Buffer.from(type, 'latin1'), data]);
  const out = Buffer.alloc(body.length + 8);
  out.writeUInt32BE(data.length, 0);
  body.copy(out, 4);
  out.writeUInt32BE(crc32(body), body.length + 4);
  return out;
}

function crc32(bytes) {
  let crc = ~0;
  for (const byte of bytes) {
    crc ^= byte;
    for (let k = 0; k < 8; k++) crc = (crc >>> 1) ^ (0xedb88320 & -(crc & 1));
  }
  return ~crc >>> 0;
}

// count quads side by side along x, each textured with its own image "big<i>.png".
export function texturedRowModel(count) {
  const materials = Array.from({ length: count }, (_, i) =>
    `\t"m${i}" col(1.000 1.000 1.000 1.000) dif(0.800) amb(0.600) emi(0.000) spc(0.000) power(5.00) tex("big${i}.png")`);
  const objects = Array.from({ length: count }, (_, i) => {
    const x0 = (i - count / 2) * 25;
    return objectBlock(`q${i}`, {}, quad({ x0, x1: x0 + 20, y0: -10, y1: 10 }), [`4 V(0 1 2 3) M(${i}) UV(0 0 1 0 1 1 0 1)`]);
  });
  return ['Metasequoia Document', 'Format Text Ver 1.0', '', `Material ${count} {`, ...materials, '}', ...objects, 'Eof', ''].join('\n');
}
