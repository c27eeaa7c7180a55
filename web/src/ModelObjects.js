// Three.js objects for the built batches of a model: surfaces, lines, points and cartoon
// outlines, with their mirror images sharing the same buffers.
import { BufferAttribute, BufferGeometry, Group, LineSegments, Mesh, Points } from 'three';
import { MATERIAL_DEFAULTS } from './ModelFile.js';
import { createMaterial, createOutlineMaterial } from './Shading.js';

function geometryWith(attributes, index) {
  const geometry = new BufferGeometry();
  for (const [name, attribute] of Object.entries(attributes)) geometry.setAttribute(name, attribute);
  if (index) geometry.setIndex(new BufferAttribute(index, 1));
  return geometry;
}

// The drawables of one batch for the fill mode, as [object, ...] (unparented).
function batchDrawables(batch, materials, settings) {
  const attributes = {
    position: new BufferAttribute(batch.positions, 3),
    normal: new BufferAttribute(batch.normals, 3),
  };
  if (batch.uvs) attributes.uv = new BufferAttribute(batch.uvs, 2);
  const drawables = [];
  if (settings.fillMode === 'POINT') {
    drawables.push(new Points(geometryWith(attributes, null), materials.points));
    return drawables;
  }
  if (settings.fillMode === 'WIREFRAME') {
    if (batch.edges?.length) drawables.push(new LineSegments(geometryWith(attributes, batch.edges), materials.lines));
  } else if (batch.triangles.length) {
    const surface = new Mesh(geometryWith(attributes, batch.triangles), materials.surface);
    // The batch a surface draws, for its moving copy (MovingCopy).
    surface.userData.batch = batch;
    drawables.push(surface);
    if (materials.outline) {
      const outlineAttributes = { ...attributes, smoothNormal: new BufferAttribute(batch.smoothNormals, 3) };
      const outline = new Mesh(geometryWith(outlineAttributes, batch.triangles), materials.outline);
      outline.renderOrder = 1;
      outline.userData.batch = batch;
      drawables.push(outline);
    }
  }
  if (batch.lines.length) drawables.push(new LineSegments(geometryWith(attributes, batch.lines), materials.lines));
  return drawables;
}

// Whether the settings draw the cartoon outline (which needs the built batches' smoothNormals).
export function drawsOutline(settings) {
  return settings.shadingMode === 'CARTOON' && settings.fillMode === 'SOLID' && settings.edgePower > 0;
}

// One set of shader materials per model material (and one for faces without material); the
// surface variant depends on whether the batch has texture coordinates.
export class MaterialSet {
  constructor(model, textures, settings, sceneUniforms) {
    this.model = model;
    this.textures = textures;
    this.settings = settings;
    this.uniforms = sceneUniforms;
    this.cache = new Map();
    this.outline = drawsOutline(settings) ? createOutlineMaterial(settings.edgePower, sceneUniforms) : null;
  }

  forBatch(index, hasUv) {
    const key = `${index}:${hasUv}`;
    if (!this.cache.has(key)) {
      const material = index >= 0 ? this.model.materials[index] : MATERIAL_DEFAULTS;
      const maps = { hasUv, ...(index >= 0 ? this.textures(material) : {}) };
      const plain = { hasUv: false };
      this.cache.set(key, {
        surface: createMaterial('surface', material, maps, this.settings, this.uniforms),
        lines: createMaterial('lines', material, plain, this.settings, this.uniforms),
        points: createMaterial('points', material, plain, this.settings, this.uniforms),
        outline: this.outline,
      });
    }
    return this.cache.get(key);
  }
}

// builtObjects: results of buildObject; returns a Group holding every visible object.
export function createModelGroup(builtObjects, materialSet, settings) {
  const model = new Group();
  model.name = 'model';
  for (const built of builtObjects) {
    if (!built.visible) continue;
    const drawables = [];
    for (const batch of built.batches) {
      drawables.push(...batchDrawables(batch, materialSet.forBatch(batch.material, Boolean(batch.uvs)), settings));
    }
    // An object without faces draws nothing (and three.js would complain of an empty add).
    if (!drawables.length) continue;
    const object = new Group();
    object.add(...drawables);
    for (const [sx, sy, sz] of built.reflections) {
      // A reflection turns the winding; three.js turns the front face back for negative scales.
      const image = new Group();
      image.scale.set(sx, sy, sz);
      for (const drawable of drawables) {
        const copy = new drawable.constructor(drawable.geometry, drawable.material);
        copy.renderOrder = drawable.renderOrder;
        copy.userData.batch = drawable.userData.batch;
        image.add(copy);
      }
      object.add(image);
    }
    model.add(object);
  }
  return model;
}

// The pivot of the view: the centre of the box of every visible object, and the radius of a
// sphere round it that holds the model whatever its rotation. Null when nothing is drawn.
export function modelFrame(builtObjects) {
  const min = [Infinity, Infinity, Infinity];
  const max = [-Infinity, -Infinity, -Infinity];
  for (const built of builtObjects) {
    if (!built.visible || !built.bounds) continue;
    for (let k = 0; k < 3; k++) {
      min[k] = Math.min(min[k], built.bounds.min[k]);
      max[k] = Math.max(max[k], built.bounds.max[k]);
    }
  }
  if (min[0] > max[0]) return null;
  const centre = min.map((low, k) => (low + max[k]) / 2);
  const radius = Math.hypot(...max.map((high, k) => (high - min[k]) / 2));
  return { centre, radius };
}
