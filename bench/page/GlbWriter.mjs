// A plain binary glTF (GLB) of triangle meshes, as a converter to that format would write it:
// one primitive per mesh with positions, normals, texture coordinates where there are any,
// 32-bit indices, and a material with its colour and base-colour image.

const FLOAT = 5126;
const UNSIGNED_INT = 5125;
const ARRAY_BUFFER = 34962;
const ELEMENT_ARRAY_BUFFER = 34963;

function padTo4(length) {
  return (length + 3) & ~3;
}

function minMax(positions) {
  const min = [Infinity, Infinity, Infinity];
  const max = [-Infinity, -Infinity, -Infinity];
  for (let i = 0; i < positions.length; i += 3) {
    for (let k = 0; k < 3; k++) {
      min[k] = Math.min(min[k], positions[i + k]);
      max[k] = Math.max(max[k], positions[i + k]);
    }
  }
  return { min, max };
}

// meshes: [{ positions, normals, uvs (or null), indices, material }], material:
// { color: [r, g, b, a], image: JPEG bytes or null }. Returns the GLB as a Buffer.
export function writeGlb(meshes) {
  const json = {
    asset: { version: '2.0', generator: 'vantor page benchmark' },
    scene: 0, scenes: [{ nodes: [] }], nodes: [], meshes: [], materials: [],
    accessors: [], bufferViews: [], buffers: [{ byteLength: 0 }],
  };
  const parts = [];
  let length = 0;
  const addView = (bytes, target) => {
    const offset = length;
    parts.push(Buffer.from(bytes.buffer, bytes.byteOffset, bytes.byteLength));
    const padded = padTo4(bytes.byteLength);
    if (padded > bytes.byteLength) parts.push(Buffer.alloc(padded - bytes.byteLength));
    length += padded;
    json.bufferViews.push({ buffer: 0, byteOffset: offset, byteLength: bytes.byteLength, ...(target ? { target } : {}) });
    return json.bufferViews.length - 1;
  };
  const addAccessor = (array, type, componentType, target, extra = {}) => {
    const size = { SCALAR: 1, VEC2: 2, VEC3: 3 }[type];
    json.accessors.push({ bufferView: addView(array, target), componentType, count: array.length / size, type, ...extra });
    return json.accessors.length - 1;
  };
  const images = new Map();
  const materialFor = ({ color, image }) => {
    const material = { pbrMetallicRoughness: { baseColorFactor: color, metallicFactor: 0, roughnessFactor: 1 } };
    if (image) {
      if (!images.has(image)) {
        json.images ??= [];
        json.textures ??= [];
        json.images.push({ bufferView: addView(image), mimeType: 'image/jpeg' });
        json.textures.push({ source: json.images.length - 1 });
        images.set(image, json.textures.length - 1);
      }
      material.pbrMetallicRoughness.baseColorTexture = { index: images.get(image) };
    }
    json.materials.push(material);
    return json.materials.length - 1;
  };
  for (const mesh of meshes) {
    const attributes = {
      POSITION: addAccessor(mesh.positions, 'VEC3', FLOAT, ARRAY_BUFFER, minMax(mesh.positions)),
      NORMAL: addAccessor(mesh.normals, 'VEC3', FLOAT, ARRAY_BUFFER),
    };
    if (mesh.uvs) attributes.TEXCOORD_0 = addAccessor(mesh.uvs, 'VEC2', FLOAT, ARRAY_BUFFER);
    const indices = addAccessor(mesh.indices, 'SCALAR', UNSIGNED_INT, ELEMENT_ARRAY_BUFFER);
    json.meshes.push({ primitives: [{ attributes, indices, material: materialFor(mesh.material) }] });
    json.nodes.push({ mesh: json.meshes.length - 1 });
    json.scenes[0].nodes.push(json.nodes.length - 1);
  }
  json.buffers[0].byteLength = length;
  const text = Buffer.from(JSON.stringify(json));
  const jsonChunk = Buffer.concat([text, Buffer.alloc(padTo4(text.length) - text.length, 0x20)]);
  const header = Buffer.alloc(12);
  const total = 12 + 8 + jsonChunk.length + 8 + length;
  header.writeUInt32LE(0x46546c67, 0);
  header.writeUInt32LE(2, 4);
  header.writeUInt32LE(total, 8);
  const chunkHeader = (size, type) => {
    const bytes = Buffer.alloc(8);
    bytes.writeUInt32LE(size, 0);
    bytes.writeUInt32LE(type, 4);
    return bytes;
  };
  return Buffer.concat([header, chunkHeader(jsonChunk.length, 0x4e4f534a), jsonChunk, chunkHeader(length, 0x004e4942), ...parts]);
}
