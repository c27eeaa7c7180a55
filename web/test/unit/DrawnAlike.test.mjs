import assert from 'node:assert/strict';
import test from 'node:test';
import { DrawnAlikeMerger, MERGE_BELOW } from '../../src/DrawnAlike.js';
import { batchesForMovingCopy, MOVING_COPY_ABOVE } from '../../src/MovingCopy.js';
import { simplifyBatches } from '../../src/Simplification.js';

// A built object of one batch: a triangle at x, and a line, as buildObject gives them.
function triangleObject(x, { material = 0, reflections = [], uvs = false } = {}) {
  return {
    name: `t${x}`, visible: true, reflections,
    bounds: { min: [x, 0, 0], max: [x + 1, 1, 0] },
    batches: [{
      material,
      positions: Float32Array.of(x, 0, 0, x + 1, 0, 0, x, 1, 0),
      normals: Float32Array.of(0, 0, 1, 0, 0, 1, 0, 0, 1),
      smoothNormals: null,
      uvs: uvs ? Float32Array.of(0, 0, 1, 0, 0, 1) : null,
      triangles: Uint32Array.of(0, 1, 2),
      lines: Uint32Array.of(0, 2),
      edges: null,
    }],
  };
}

test('small objects drawn alike share one batch, its vertex numbers moved on; others keep apart; large batches stay whole', () => {
  const merger = new DrawnAlikeMerger();
  for (let x = 0; x < 3; x++) merger.add(triangleObject(x * 10));
  merger.add(triangleObject(100, { material: 1 }));
  merger.add(triangleObject(200, { uvs: true }));
  merger.add(triangleObject(300, { reflections: [[-1, 1, 1]] }));
  const large = triangleObject(400);
  const count = MERGE_BELOW;
  large.batches[0].positions = new Float32Array(count * 3);
  merger.add(large);
  const objects = merger.finish();
  assert.equal(objects.length, 5);
  assert.equal(objects[0].name, 't400', 'the large one as it was');
  const alike = objects.find((o) => o.batches[0].positions.length === 27);
  assert.deepEqual([...alike.batches[0].triangles], [0, 1, 2, 3, 4, 5, 6, 7, 8]);
  assert.deepEqual([...alike.batches[0].lines], [0, 2, 3, 5, 6, 8]);
  assert.deepEqual(alike.bounds, { min: [0, 0, 0], max: [21, 1, 0] });
  assert.deepEqual(alike.reflections, []);
  assert.equal(objects.find((o) => o.batches[0].material === 1).batches[0].positions.length, 9);
  assert.ok(objects.find((o) => o.batches[0].uvs)?.batches[0].uvs.length === 6, 'texture coordinates kept apart');
  assert.deepEqual(objects.find((o) => o.reflections.length).reflections, [[-1, 1, 1]], 'mirrored ones keep their images');
});

test('a large model gets a moving copy of about the wanted triangles on the same vertices; small ones and small batches do not', async () => {
  const n = 101;
  const positions = new Float32Array(n * n * 3);
  for (let j = 0; j < n; j++) for (let i = 0; i < n; i++) positions.set([i, j, Math.sin(i * 0.2) * Math.cos(j * 0.15) * 3], (j * n + i) * 3);
  const triangles = [];
  for (let j = 0; j + 1 < n; j++) {
    for (let i = 0; i + 1 < n; i++) {
      const a = j * n + i;
      triangles.push(a, a + 1, a + n + 1, a, a + n + 1, a + n);
    }
  }
  const grid = { positions, triangles: Uint32Array.from(triangles) };
  const small = { positions: Float32Array.of(0, 0, 0, 1, 0, 0, 0, 1, 0), triangles: Uint32Array.of(0, 1, 2) };
  const [copy, kept] = await simplifyBatches([grid, small], 2000);
  assert.equal(kept, null);
  assert.equal(copy.length % 3, 0);
  assert.ok(copy.length / 3 <= 3000 && copy.length / 3 >= 200, `${copy.length / 3} triangles`);
  assert.ok(copy.every((v) => v < n * n), 'vertex numbers of the same batch');
  assert.equal((await simplifyBatches([grid], 1e9))[0], null, 'nothing to take away');
  const built = (count) => [{ batches: [{ triangles: new Uint32Array(count * 3) }, { triangles: new Uint32Array(0) }] }];
  assert.equal(batchesForMovingCopy(built(MOVING_COPY_ABOVE)), null);
  assert.equal(batchesForMovingCopy(built(MOVING_COPY_ABOVE + 1)).length, 1, 'batches without triangles are left out');
});
