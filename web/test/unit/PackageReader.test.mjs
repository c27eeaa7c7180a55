import assert from 'node:assert/strict';
import test from 'node:test';
import { PackageError, PackageReader } from '../../src/PackageReader.js';
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
