import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import test from 'node:test';
import { ModelFileError, parseModelFile, parseModelStream } from '../../src/ModelFile.js';
import { chunk, int32, keyFile, materialChunk, modelStream, objectChunk, text } from '../support/fixtures.mjs';
import { goldenDir } from '../support/paths.mjs';

const f32 = Math.fround;

test('the golden model file decodes to the example scene', () => {
  const model = parseModelFile(new Uint8Array(readFileSync(join(goldenDir, 'example-model.qel'))));
  assert.equal(model.materials.length, 1);
  const m = model.materials[0];
  assert.equal(m.name, 'm');
  assert.deepEqual(m.color, [0.5, 0.25, 0.125, 1]);
  assert.deepEqual([m.ambient, m.diffuse, m.specular, m.power, m.emission], [f32(0.6), f32(0.8), f32(0.1), 5, 0]);
  assert.deepEqual([m.textureMap, m.alphaMap, m.bumpMap, m.envMap], ['', '', '', '']);
  assert.equal(model.objects.length, 1);
  const o = model.objects[0];
  assert.deepEqual([o.name, o.visible, o.smoothingAngle, o.mirror, o.mirrorAxis], ['o', 15, 60, 0, 0]);
  assert.equal(o.meshes.length, 1);
  const mesh = o.meshes[0];
  assert.equal(mesh.material, 0);
  assert.deepEqual([...mesh.positions], [7, 8, 9, 1, 2, 3, 4, 5, 6]);
  assert.equal(mesh.uvs, null);
  assert.deepEqual([...mesh.faceSizes], [3]);
  assert.deepEqual([...mesh.corners], [0, 1, 2]);
});

test('maps, texture coordinates, faces of any size and the group without material', () => {
  const stream = modelStream({
    materials: [
      { name: 'wood', textureMap: 'wood.jpx', alphaMap: 'mask.jpx', bumpMap: 'grain.jpx' },
      { name: 'chrome', envMap: 'sky.jpx', envPower: 0.75 },
    ],
    objects: [{
      name: 'box', visible: 0, smoothingAngle: 30, mirror: 2, mirrorAxis: 5,
      meshes: [
        { material: 1, positions: [0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 2, 2, 2], uvs: [0, 0, 1, 0, 1, 1, 0, 1, 0.5, 0.5],
          faces: [[0, 1, 2, 3], [3, 4], [0, 1, 2, 3, 4]] },
        { material: -1, positions: [5, 5, 5, 6, 6, 6, 7, 7, 7], faces: [[0, 1, 2]] },
      ],
    }],
  });
  const model = parseModelStream(stream);
  assert.deepEqual(model.materials.map((m) => [m.textureMap, m.alphaMap, m.bumpMap, m.envMap]),
    [['wood.jpx', 'mask.jpx', 'grain.jpx', ''], ['', '', '', 'sky.jpx']]);
  assert.equal(model.materials[1].envPower, 0.75);
  const o = model.objects[0];
  assert.deepEqual([o.visible, o.smoothingAngle, o.mirror, o.mirrorAxis], [0, 30, 2, 5]);
  assert.deepEqual(o.meshes.map((mesh) => mesh.material), [1, -1]);
  assert.deepEqual([...o.meshes[0].faceSizes], [4, 2, 5]);
  assert.deepEqual([...o.meshes[0].corners], [0, 1, 2, 3, 3, 4, 0, 1, 2, 3, 4]);
  assert.deepEqual([...o.meshes[0].uvs], [0, 0, 1, 0, 1, 1, 0, 1, 0.5, 0.5]);
});

test('an empty scene, unknown chunks and material indices outside the table', () => {
  assert.deepEqual(parseModelStream(modelStream({})), { materials: [], objects: [] });
  const stream = concat(text('Qel1').subarray(0, 4), int32(0),
    chunk('XTRA', int32(1, 2, 3)),
    materialChunk({ name: 'm' }),
    objectChunk({ name: 'o', meshes: [{ material: 7, positions: [0, 0, 0], faces: [] }] }));
  new DataView(stream.buffer).setInt32(4, stream.length);
  const model = parseModelStream(stream);
  assert.equal(model.materials.length, 1);
  assert.equal(model.objects[0].meshes[0].material, -1);
});

test('damaged files are rejected with a reason', () => {
  const good = modelStream({ materials: [{ name: 'm' }], objects: [{ meshes: [{ positions: [0, 0, 0, 1, 0, 0, 0, 1, 0], faces: [[0, 1, 2]] }] }] });
  const damaged = (edit) => { const s = good.slice(); edit(new DataView(s.buffer), s); return s; };
  const cases = {
    'wrong magic': damaged((v, s) => { s[0] = 0x58; }),
    'total beyond the file': damaged((v) => v.setInt32(4, good.length + 1)),
    'chunk beyond its parent': damaged((v) => v.setInt32(12, 5000)),
    'chunk shorter than its header': damaged((v) => v.setInt32(12, 4)),
    'cut short': good.subarray(0, good.length - 3),
  };
  for (const [name, stream] of Object.entries(cases)) {
    const fixed = name === 'cut short' ? withTotal(stream) : stream;
    assert.throws(() => parseModelStream(fixed), ModelFileError, name);
  }
  const badIndex = modelStream({ objects: [{ meshes: [{ positions: [0, 0, 0], faces: [[0, 0, 3]] }] }] });
  assert.throws(() => parseModelStream(badIndex), /refers to vertex 3 of 1/);
  const badCount = modelStream({ objects: [{ meshes: [{ positions: [0, 0, 0], faces: [[0, 0, 0]] }] }] });
  new DataView(badCount.buffer).setInt32(badCount.length - 16, 9);
  assert.throws(() => parseModelStream(badCount), /claims 9 corners/);
  const badUv = modelStream({ objects: [{ meshes: [{ positions: [0, 0, 0, 1, 1, 1], uvs: [0, 0], faces: [] }] }] });
  assert.throws(() => parseModelStream(badUv), /1 pairs for 2 vertices/);
  assert.throws(() => parseModelFile(keyFile(text('Qel0'))), ModelFileError);
});

function concat(...parts) {
  const out = new Uint8Array(parts.reduce((n, p) => n + p.length, 0));
  let at = 0;
  for (const p of parts) { out.set(p, at); at += p.length; }
  return out;
}

function withTotal(stream) {
  const s = stream.slice();
  new DataView(s.buffer).setInt32(4, s.length);
  return s;
}

test('float fields keep the values the writer stored', () => {
  const stream = modelStream({ materials: [{ color: [0.1, 0.2, 0.3, 0.55], power: 60 }] });
  assert.deepEqual(parseModelStream(stream).materials[0].color, [f32(0.1), f32(0.2), f32(0.3), f32(0.55)]);
});
