// Parsing the model file: "Qel1", a total length, then MATL and OBJT chunks, big-endian.
//
// Each chunk is a four-letter tag, a length that counts the whole chunk, and a body; chunks nest
// and are not padded. Every length and count is checked against its enclosing chunk before it
// is used, so a damaged file gives a ModelFileError, never an out-of-range read. Tags the parser
// does not know are skipped.
import { unkeyFile } from './KeyedStream.js';
import { bytesToBinary } from './ZipArchive.js';

const CHUNK_HEADER = 8;

export class ModelFileError extends Error {
  constructor(message) {
    super(message);
    this.name = 'ModelFileError';
  }
}

function tagAt(view, at) {
  return String.fromCharCode(view.getUint8(at), view.getUint8(at + 1), view.getUint8(at + 2), view.getUint8(at + 3));
}

// Calls visit(tag, bodyStart, chunkEnd) for each chunk between start and end.
function forEachChunk(view, start, end, where, visit) {
  let at = start;
  while (at < end) {
    if (at + CHUNK_HEADER > end) throw new ModelFileError(`${where}: chunk header cut short at ${at}`);
    const tag = tagAt(view, at);
    const length = view.getInt32(at + 4, false);
    if (length < CHUNK_HEADER || at + length > end) {
      throw new ModelFileError(`${where}: chunk ${tag} at ${at} has length ${length}, beyond its parent`);
    }
    visit(tag, at + CHUNK_HEADER, at + length);
    at += length;
  }
}

function requireSize(tag, start, end, size) {
  if (end - start < size) throw new ModelFileError(`${tag} chunk of ${end - start} bytes, needs ${size}`);
}

function readFloat(view, tag, start, end) {
  requireSize(tag, start, end, 4);
  return view.getFloat32(start, false);
}

function readInt(view, tag, start, end) {
  requireSize(tag, start, end, 4);
  return view.getInt32(start, false);
}

// A zero-terminated text as bytes (binary string); the chunk's end also ends the text.
function readText(bytes, start, end) {
  let stop = start;
  while (stop < end && bytes[stop] !== 0) stop++;
  return { text: bytesToBinary(bytes.subarray(start, stop)), next: Math.min(stop + 1, end) };
}

function readFloats(view, start, count) {
  const values = new Float32Array(count);
  for (let i = 0; i < count; i++) values[i] = view.getFloat32(start + 4 * i, false);
  return values;
}

// The factors of a material whose chunk lacks them, and of the faces without material: the
// modeller's usual new material, white.
export const MATERIAL_DEFAULTS = Object.freeze({
  color: Object.freeze([1, 1, 1, 1]), ambient: 0.6, diffuse: 0.8, specular: 0, power: 5, emission: 0, envPower: 1,
});

function parseMaterial(view, bytes, start, end) {
  const material = {
    ...MATERIAL_DEFAULTS,
    name: '',
    textureMap: '',
    alphaMap: '',
    bumpMap: '',
    envMap: '',
  };
  forEachChunk(view, start, end, 'MATL', (tag, body, stop) => {
    switch (tag) {
      case 'NAME': material.name = readText(bytes, body, stop).text; break;
      case 'COLR':
        requireSize(tag, body, stop, 16);
        material.color = Array.from(readFloats(view, body, 4));
        break;
      case 'AMBI': material.ambient = readFloat(view, tag, body, stop); break;
      case 'DIFF': material.diffuse = readFloat(view, tag, body, stop); break;
      case 'SPEC': material.specular = readFloat(view, tag, body, stop); break;
      case 'SPOW': material.power = readFloat(view, tag, body, stop); break;
      case 'LUMI': material.emission = readFloat(view, tag, body, stop); break;
      case 'CMAP': material.textureMap = readText(bytes, body, stop).text; break;
      case 'AMAP': material.alphaMap = readText(bytes, body, stop).text; break;
      case 'BMAP': material.bumpMap = readText(bytes, body, stop).text; break;
      case 'EMAP': {
        const { text, next } = readText(bytes, body, stop);
        material.envMap = text;
        if (stop - next >= 4) material.envPower = view.getFloat32(next, false);
        break;
      }
      default: break;
    }
  });
  return material;
}

// INDX: per face its corner count, then one mesh vertex number per corner.
function parseFaces(view, start, end, vertexCount) {
  const total = (end - start) >> 2;
  let faceCount = 0;
  for (let i = 0; i < total; ) {
    const corners = view.getInt32(start + 4 * i, false);
    if (corners < 0 || i + 1 + corners > total) {
      throw new ModelFileError(`INDX: face ${faceCount} claims ${corners} corners, beyond the chunk`);
    }
    i += 1 + corners;
    faceCount++;
  }
  const faceSizes = new Uint32Array(faceCount);
  const corners = new Uint32Array(total - faceCount);
  let read = 0;
  let written = 0;
  for (let f = 0; f < faceCount; f++) {
    const size = view.getInt32(start + 4 * read++, false);
    faceSizes[f] = size;
    for (let c = 0; c < size; c++) {
      const index = view.getInt32(start + 4 * read++, false);
      if (index < 0 || index >= vertexCount) {
        throw new ModelFileError(`INDX: face ${f} refers to vertex ${index} of ${vertexCount}`);
      }
      corners[written++] = index;
    }
  }
  return { faceSizes, corners };
}

function parseMesh(view, start, end, materialCount) {
  const material = readInt(view, 'MESH', start, end);
  let positions = null;
  let uvs = null;
  let indexChunk = null;
  forEachChunk(view, start + 4, end, 'MESH', (tag, body, stop) => {
    if (tag === 'VXPT') {
      if ((stop - body) % 12 !== 0) throw new ModelFileError(`VXPT of ${stop - body} bytes is not whole vertices`);
      positions = readFloats(view, body, (stop - body) / 4);
    } else if (tag === 'VXUV') {
      if ((stop - body) % 8 !== 0) throw new ModelFileError(`VXUV of ${stop - body} bytes is not whole pairs`);
      uvs = readFloats(view, body, (stop - body) / 4);
    } else if (tag === 'INDX') {
      indexChunk = [body, stop];
    }
  });
  const vertexCount = positions ? positions.length / 3 : 0;
  if (uvs && uvs.length / 2 !== vertexCount) {
    throw new ModelFileError(`VXUV holds ${uvs.length / 2} pairs for ${vertexCount} vertices`);
  }
  const faces = indexChunk ? parseFaces(view, indexChunk[0], indexChunk[1], vertexCount)
                           : { faceSizes: new Uint32Array(0), corners: new Uint32Array(0) };
  return {
    // -1, or anything outside the material table, means the faces have no material.
    material: material >= 0 && material < materialCount ? material : -1,
    positions: positions ?? new Float32Array(0),
    uvs,
    faceSizes: faces.faceSizes,
    corners: faces.corners,
  };
}

function parseObject(view, bytes, start, end, materialCount) {
  const object = { name: '', visible: 15, smoothingAngle: 60, mirror: 0, mirrorAxis: 0, meshes: [] };
  forEachChunk(view, start, end, 'OBJT', (tag, body, stop) => {
    switch (tag) {
      case 'NAME': object.name = readText(bytes, body, stop).text; break;
      case 'VISI': object.visible = readInt(view, tag, body, stop); break;
      case 'SMAN': object.smoothingAngle = readFloat(view, tag, body, stop); break;
      case 'MIRR': object.mirror = readInt(view, tag, body, stop) >>> 0; break;
      case 'AXIS': object.mirrorAxis = readInt(view, tag, body, stop) >>> 0; break;
      case 'MESH': object.meshes.push(parseMesh(view, body, stop, materialCount)); break;
      default: break;
    }
  });
  return object;
}

// stream: the model file without its key header; onProgress(share) after each object, with
// the share of the stream read.
export function parseModelStream(stream, onProgress = () => {}) {
  const view = new DataView(stream.buffer, stream.byteOffset, stream.byteLength);
  if (stream.length < 8 || tagAt(view, 0) !== 'Qel1') throw new ModelFileError('not a model file (no "Qel1")');
  const total = view.getInt32(4, false);
  if (total < 8 || total > stream.length) {
    throw new ModelFileError(`total length ${total} does not fit the ${stream.length} bytes of the file`);
  }
  const model = { materials: [], objects: [] };
  const objectChunks = [];
  forEachChunk(view, 8, total, 'model', (tag, body, stop) => {
    if (tag === 'MATL') model.materials.push(parseMaterial(view, stream, body, stop));
    else if (tag === 'OBJT') objectChunks.push([body, stop]);
  });
  // Objects are read after all materials so that every mesh can check its material index.
  for (const [body, stop] of objectChunks) {
    model.objects.push(parseObject(view, stream, body, stop, model.materials.length));
    onProgress(stop / total);
  }
  return model;
}

// file: the model file as stored in the archive, key header included; options.inPlace: the
// caller gives the bytes up, and they are unkeyed where they are (see unkeyFile).
export function parseModelFile(file, onProgress, options = {}) {
  return parseModelStream(unkeyFile(file, options), onProgress);
}
