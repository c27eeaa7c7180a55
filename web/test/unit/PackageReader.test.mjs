import assert from 'node:assert/strict';
import test from 'node:test';
import { PackageError, PackageReader } from '../../src/PackageReader.js';
import { buffersOf, failureFromMessage, failureMessage, preparePackage } from '../../src/Preparation.js';
import { keyFile, makeZip, modelStream, text } from '../support/fixtures.mjs';

const model = keyFile(modelStream({ materials: [{ name: 'm', textureMap: 'wood.jpx', bumpMap: 'gone.jpx' }] }));
const image = Uint8Array.of(0xff, 0xd8, 1, 2, 3, 0xff, 0xd9);

function kindOf(action) {
  try {
    action();
  } catch (error) {
    assert.ok(error instanceof PackageError, String(error));
    return error.kind;
  }
  return 'none';
}

test('the model entry is found whatever the package is called on the page', () => {
  const zip = makeZip({ 'car\\wood.jpx': keyFile(image, [1, 2, 3, 4]), 'car\\car.qel': model });
  for (const reference of ['./car.zip', './renamed.zip', 'car.zip']) {
    const reader = new PackageReader(zip, reference);
    assert.equal(reader.model.materials[0].name, 'm');
  }
  const reader = new PackageReader(zip, './car.zip');
  assert.deepEqual(reader.mapNames(), ['wood.jpx', 'gone.jpx']);
  assert.deepEqual(reader.textureBytes('wood.jpx'), image);
  assert.equal(reader.textureBytes('gone.jpx'), null, 'a texture missing from the archive is no error');
});

test('with several model files the one named after the archive wins, else the last', () => {
  const other = keyFile(modelStream({ materials: [{ name: 'other' }] }));
  const zip = makeZip({ 'a\\a.qel': other, 'car\\car.qel': model, 'z\\z.qel': other });
  assert.equal(new PackageReader(zip, './car.zip').model.materials[0].name, 'm');
  assert.equal(new PackageReader(zip, './unknown.zip').model.materials[0].name, 'other');
});

test('what is wrong with a package is told apart', () => {
  assert.equal(kindOf(() => new PackageReader(text('<html>404</html>'), './car.zip')), 'archive');
  assert.equal(kindOf(() => new PackageReader(makeZip({ 'car\\wood.jpx': image }), './car.zip')), 'noModel');
  const damaged = model.slice();
  damaged[10] ^= 0xff;
  assert.equal(kindOf(() => new PackageReader(makeZip({ 'car\\car.qel': damaged }), './car.zip')), 'model');
});

test('preparing a package builds its shown objects with rising progress, hands over its buffers once, and says when nothing draws', async () => {
  const square = { material: 0, positions: [0, 0, 0, 0, 1, 0, 1, 1, 0, 1, 0, 0], faces: [[0, 1, 2, 3]] };
  const flat = { material: 0, positions: [0, 0, 0, 1, 0, 0, 2, 0, 0], faces: [[0, 1, 2]] };
  const packageOf = (objects) => makeZip({ 'car\\car.qel': keyFile(modelStream({ materials: [{ name: 'm', textureMap: 'wood.jpx' }], objects })),
    'car\\wood.jpx': keyFile(image) });
  const progress = [];
  const prepared = await preparePackage({ zipBytes: packageOf([{ meshes: [square] }, { visible: 0, meshes: [square] }, { meshes: [square] }, { meshes: [] }]),
    modelReference: './car.zip', options: {} }, (share) => progress.push(share));
  // The two shown squares, drawn alike, share one batch; the hidden one is left out.
  assert.equal(prepared.built.length, 1);
  assert.equal(prepared.built[0].batches[0].positions.length, 2 * 4 * 3);
  assert.equal(prepared.built[0].batches[0].triangles.length, 2 * 2 * 3);
  assert.equal(prepared.drawable, true);
  assert.deepEqual(prepared.textures, [['wood.jpx', image]]);
  assert.ok(progress.every((share, i) => share >= (progress[i - 1] ?? 0)) && progress.at(-1) === 1, `progress ${progress}`);
  const buffers = buffersOf(prepared);
  assert.equal(new Set(buffers).size, buffers.length);
  assert.ok(buffers.includes(prepared.built[0].batches[0].triangles.buffer) && buffers.includes(prepared.textures[0][1].buffer));
  const nothing = await preparePackage({ zipBytes: packageOf([{ meshes: [flat] }, { meshes: [] }]), modelReference: './car.zip', options: {} });
  assert.equal(nothing.drawable, false, 'faces on one line draw nothing');
  // A failure crosses from the worker to the page as what it was.
  const failure = failureFromMessage(failureMessage(new PackageError('noModel', 'no model')));
  assert.ok(failure instanceof PackageError && failure.kind === 'noModel');
});
