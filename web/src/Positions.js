// The vertex positions of an object: all its meshes in one table, and the groups of vertices
// that share a position (an object's faces are split into one mesh per material, and a vertex
// with several texture coordinates into several mesh vertices, all at one position).
import { MIRROR_CONNECT, mirrorAxes, seamTolerance, weldSeam } from './Mirror.js';

// A hash of a position's bits whose low bits depend on every input bit: coordinates such as
// whole numbers have only zeros in their low mantissa bits, and a table indexed by the low
// bits of a plain product would pile them into a few runs of slots.
function positionHash(x, y, z) {
  let hash = mixIn(mixIn(mixIn(0x3c6ef372, x), y), z);
  hash ^= hash >>> 16;
  hash = Math.imul(hash, 0x85ebca6b);
  hash ^= hash >>> 13;
  hash = Math.imul(hash, 0xc2b2ae35);
  return hash ^ (hash >>> 16);
}

function mixIn(hash, word) {
  let k = Math.imul(word, 0xcc9e2d51);
  k = Math.imul((k << 15) | (k >>> 17), 0x1b873593);
  hash ^= k;
  hash = (hash << 13) | (hash >>> 19);
  return (Math.imul(hash, 5) + 0xe6546b64) | 0;
}

// Groups vertices with bit-identical positions. positions: Float32Array without negative zeros.
export function groupPositions(positions) {
  const count = positions.length / 3;
  const bits = new Uint32Array(positions.buffer, positions.byteOffset, positions.length);
  let size = 16;
  while (size < count * 2) size <<= 1;
  const table = new Int32Array(size).fill(-1);
  const groupOf = new Uint32Array(count);
  let groupCount = 0;
  for (let v = 0; v < count; v++) {
    const x = bits[v * 3], y = bits[v * 3 + 1], z = bits[v * 3 + 2];
    let slot = positionHash(x, y, z) & (size - 1);
    for (;;) {
      const other = table[slot];
      if (other === -1) {
        table[slot] = v;
        groupOf[v] = groupCount++;
        break;
      }
      if (bits[other * 3] === x && bits[other * 3 + 1] === y && bits[other * 3 + 2] === z) {
        groupOf[v] = groupOf[other];
        break;
      }
      slot = (slot + 1) & (size - 1);
    }
  }
  return { groupOf, groupCount };
}

// The object's vertices of all meshes in one table, negative zeros made positive (so equal
// positions have equal bits), the seam welded in the connected mirror mode.
export function objectPositions(object) {
  let total = 0;
  for (const mesh of object.meshes) total += mesh.positions.length;
  const positions = new Float32Array(total);
  const meshOffsets = [];
  let at = 0;
  for (const mesh of object.meshes) {
    meshOffsets.push(at / 3);
    const source = mesh.positions;
    for (let i = 0; i < source.length; i++) positions[at + i] = source[i] + 0;
    at += source.length;
  }
  if (object.mirror === MIRROR_CONNECT) weldSeam(positions, mirrorAxes(object.mirrorAxis), seamTolerance(positions));
  return { positions, meshOffsets };
}
