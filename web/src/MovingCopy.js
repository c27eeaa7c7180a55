// The page's side of the moving copy (Simplification.js): which models get one, asking the
// simplification worker for it, and swapping it in while the model moves.
import { BufferAttribute, BufferGeometry } from 'three';
import { startWorker, stopWorker } from './Workers.js';

// Models of more triangles than this get a moving copy; smaller ones turn smoothly as they are.
export const MOVING_COPY_ABOVE = 200000;
// About this many triangles are drawn while the model moves.
export const MOVING_TRIANGLES = 50000;

/* global QEL_SIMPLIFICATION_WORKER */
const WORKER_SCRIPT = typeof QEL_SIMPLIFICATION_WORKER === 'string' ? QEL_SIMPLIFICATION_WORKER : null;

// The batches with triangles of a model's built objects, when they are many enough for a
// moving copy; else null.
export function batchesForMovingCopy(builtObjects) {
  const batches = builtObjects.flatMap((built) => built.batches).filter((batch) => batch.triangles.length);
  let triangles = 0;
  for (const batch of batches) triangles += batch.triangles.length / 3;
  return triangles > MOVING_COPY_ABOVE ? batches : null;
}

// Resolves to the simplified triangle lists of the batches (null for a batch kept whole), or
// to null where no worker runs or it fails: the model is then drawn whole while it moves. The
// page never simplifies itself, as that would stop it for as long. The batches go one at a
// time, so that neither the page nor the worker holds a second copy of the whole model.
export async function simplifyAway(batches) {
  const started = startWorker(WORKER_SCRIPT);
  if (!started) return null;
  let total = 0;
  for (const batch of batches) total += batch.triangles.length / 3;
  const lists = [];
  try {
    for (const { positions, triangles } of batches) {
      const wanted = Math.round((MOVING_TRIANGLES * triangles.length) / 3 / total);
      const [list] = await askWorker(started.worker, { batches: [{ positions, triangles }], wanted });
      lists.push(list);
    }
  } catch {
    return null;
  } finally {
    stopWorker(started);
  }
  return lists;
}

function askWorker(worker, request) {
  return new Promise((resolve, reject) => {
    worker.onmessage = ({ data }) => (data.triangles ? resolve(data.triangles) : reject(new Error(data.failure)));
    worker.onerror = (event) => {
      event.preventDefault();
      reject(new Error(event.message));
    };
    worker.postMessage(request);
  });
}

// The meshes of a model group (createModelGroup marks each with its batch) and the geometry
// each draws while the model moves: the same attributes with the simplified triangles.
export class MovingCopy {
  constructor(model, batches, lists) {
    const listOf = new Map(batches.map((batch, i) => [batch, lists[i]]));
    const indexOf = new Map();
    const copies = new Map();
    this.swaps = [];
    model.traverse((object) => {
      const list = object.isMesh ? listOf.get(object.userData.batch) : null;
      if (!list) return;
      const full = object.geometry;
      if (!copies.has(full)) {
        if (!indexOf.has(list)) indexOf.set(list, new BufferAttribute(list, 1));
        const copy = new BufferGeometry();
        for (const [name, attribute] of Object.entries(full.attributes)) copy.setAttribute(name, attribute);
        copy.setIndex(indexOf.get(list));
        if (!full.boundingSphere) full.computeBoundingSphere();
        copy.boundingSphere = full.boundingSphere;
        copies.set(full, copy);
      }
      this.swaps.push([object, full, copies.get(full)]);
    });
    this.showing = false;
  }

  // moving: draw the copy (true) or the full model (false).
  show(moving) {
    if (moving === this.showing) return;
    this.showing = moving;
    for (const [mesh, full, copy] of this.swaps) mesh.geometry = moving ? copy : full;
  }
}
