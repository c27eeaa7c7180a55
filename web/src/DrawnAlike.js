// Built objects that are drawn alike share buffers. A model of many small objects (thousands
// of one-triangle objects are not rare in exported files) would otherwise cost a draw call,
// a set of graphics buffers and a scene object per object; here small batches of the same
// material, texture coordinates and mirror images are appended to one batch as they are
// built, so the work and the memory grow with the model's size, not with its object count.
// Large batches stay as they are: copying them would only cost time and memory.

// Batches of fewer vertices than this join others.
export const MERGE_BELOW = 65536;
// A merged batch is closed once it holds this many vertices, and the next one begun.
export const MERGED_VERTICES = 1 << 20;

// A typed array that grows by doubling as values are appended.
class GrowingArray {
  constructor(Type) {
    this.Type = Type;
    this.array = new Type(256);
    this.length = 0;
  }

  reserve(count) {
    if (this.length + count <= this.array.length) return;
    let size = this.array.length * 2;
    while (size < this.length + count) size *= 2;
    const grown = new this.Type(size);
    grown.set(this.array.subarray(0, this.length));
    this.array = grown;
  }

  append(values) {
    this.reserve(values.length);
    this.array.set(values, this.length);
    this.length += values.length;
  }

  // Appends vertex numbers, moved on by offset.
  appendMoved(values, offset) {
    this.reserve(values.length);
    const array = this.array;
    let at = this.length;
    for (let i = 0; i < values.length; i++) array[at++] = values[i] + offset;
    this.length = at;
  }

  // The values in an array of their own size.
  take() {
    return this.array.slice(0, this.length);
  }
}

function keyOf(built, batch) {
  const reflections = built.reflections.map((signs) => signs.join(',')).join(';');
  return `${batch.material}|${batch.uvs ? 'uv' : ''}|${batch.edges ? 'edges' : ''}|${batch.smoothNormals ? 'outline' : ''}|${reflections}`;
}

class MergedBatch {
  constructor(built, batch) {
    this.reflections = built.reflections;
    this.material = batch.material;
    this.positions = new GrowingArray(Float32Array);
    this.normals = new GrowingArray(Float32Array);
    this.smoothNormals = batch.smoothNormals ? new GrowingArray(Float32Array) : null;
    this.uvs = batch.uvs ? new GrowingArray(Float32Array) : null;
    this.triangles = new GrowingArray(Uint32Array);
    this.lines = new GrowingArray(Uint32Array);
    this.edges = batch.edges ? new GrowingArray(Uint32Array) : null;
    this.vertexCount = 0;
    this.min = [Infinity, Infinity, Infinity];
    this.max = [-Infinity, -Infinity, -Infinity];
  }

  add(batch, bounds) {
    const offset = this.vertexCount;
    this.positions.append(batch.positions);
    this.normals.append(batch.normals);
    this.smoothNormals?.append(batch.smoothNormals);
    this.uvs?.append(batch.uvs);
    this.triangles.appendMoved(batch.triangles, offset);
    this.lines.appendMoved(batch.lines, offset);
    this.edges?.appendMoved(batch.edges, offset);
    this.vertexCount += batch.positions.length / 3;
    if (bounds) {
      for (let k = 0; k < 3; k++) {
        this.min[k] = Math.min(this.min[k], bounds.min[k]);
        this.max[k] = Math.max(this.max[k], bounds.max[k]);
      }
    }
  }

  // The merged batch as a built object of its own.
  take() {
    return {
      name: '',
      visible: true,
      reflections: this.reflections,
      bounds: this.min[0] <= this.max[0] ? { min: this.min, max: this.max } : null,
      batches: [{
        material: this.material,
        positions: this.positions.take(),
        normals: this.normals.take(),
        smoothNormals: this.smoothNormals?.take() ?? null,
        uvs: this.uvs?.take() ?? null,
        triangles: this.triangles.take(),
        lines: this.lines.take(),
        edges: this.edges?.take() ?? null,
      }],
    };
  }
}

// Takes built objects one at a time (add) and gives the objects to draw (finish): the large
// batches in their own objects, the small ones merged.
export class DrawnAlikeMerger {
  constructor() {
    this.open = new Map();
    this.objects = [];
  }

  add(built) {
    const large = [];
    for (const batch of built.batches) {
      const vertices = batch.positions.length / 3;
      if (vertices >= MERGE_BELOW) {
        large.push(batch);
        continue;
      }
      const key = keyOf(built, batch);
      let merged = this.open.get(key);
      if (merged && merged.vertexCount + vertices > MERGED_VERTICES) {
        this.objects.push(merged.take());
        merged = null;
      }
      if (!merged) {
        merged = new MergedBatch(built, batch);
        this.open.set(key, merged);
      }
      merged.add(batch, built.bounds);
    }
    if (large.length) this.objects.push({ ...built, batches: large });
  }

  finish() {
    for (const merged of this.open.values()) this.objects.push(merged.take());
    this.open.clear();
    return this.objects;
  }
}
