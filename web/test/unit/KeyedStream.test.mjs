import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import test from 'node:test';
import { KeyedFileError, keyOffsets, unkeyFile } from '../../src/KeyedStream.js';
import { keyFile, writerOffset } from '../support/fixtures.mjs';
import { goldenDir } from '../support/paths.mjs';

test('the offset table matches the writer at the positions that matter', () => {
  const key = [0x5a, 0xc3, 0x0f, 0x96];
  const offsets = keyOffsets(...key);
  // position 0 adds k0; position 1 adds k0 + k1 + k2 + k3 + 4; the table repeats every 256.
  assert.equal(offsets[0], key[0]);
  assert.equal(offsets[1], (key[0] + key[1] + key[2] + key[3] + 4) % 256);
  for (const p of [2, 3, 77, 128, 255, 256, 257, 1000]) assert.equal(offsets[p & 255], writerOffset(key, p), `position ${p}`);
});

test('unkeying gives back every byte, across several periods, for extreme keys and any length', () => {
  for (const length of [1500, 1501, 1502, 1503, 3]) {
    const plain = Uint8Array.from({ length }, (_, i) => (i * 37 + 11) & 255);
    for (const key of [[0, 0, 0, 0], [255, 255, 255, 255], [1, 2, 3, 4], [200, 17, 99, 3]]) {
      assert.deepEqual(unkeyFile(keyFile(plain, key)), plain, `key ${key}, length ${length}`);
    }
  }
});

test('unkeying in place gives the same stream over the file\'s own bytes, also from an unaligned view', () => {
  for (const length of [0, 1, 3, 4, 5, 1027]) {
    const plain = Uint8Array.from({ length }, (_, i) => (i * 53 + 7) & 255);
    const file = keyFile(plain, [200, 17, 99, 3]);
    const unkeyed = unkeyFile(file.slice(), { inPlace: true });
    assert.deepEqual(unkeyed, plain, `length ${length}`);
    const owned = file.slice();
    assert.equal(unkeyFile(owned, { inPlace: true }).buffer, owned.buffer, 'no copy');
    const unaligned = new Uint8Array(file.length + 1);
    unaligned.set(file, 1);
    assert.deepEqual(unkeyFile(unaligned.subarray(1), { inPlace: true }), plain);
  }
});

test('a keyed file is the key header plus the stream: an empty stream and a short file', () => {
  assert.equal(unkeyFile(Uint8Array.of(9, 8, 7, 6)).length, 0);
  assert.throws(() => unkeyFile(Uint8Array.of(1, 2, 3)), KeyedFileError);
});

test('the golden model file unkeys to the 256-byte stream of the example scene', () => {
  const file = new Uint8Array(readFileSync(join(goldenDir, 'example-model.qel')));
  assert.equal(file.length, 260);
  assert.deepEqual([...file.subarray(0, 4)], [0x5a, 0xc3, 0x0f, 0x96]);
  const stream = unkeyFile(file);
  const view = new DataView(stream.buffer);
  const tag = (at) => String.fromCharCode(...stream.subarray(at, at + 4));
  assert.equal(tag(0), 'Qel1');
  assert.equal(view.getInt32(4), 256);
  const chunks = { 8: ['MATL', 102], 16: ['NAME', 10], 26: ['COLR', 24], 50: ['AMBI', 12], 62: ['DIFF', 12],
    74: ['SPEC', 12], 86: ['SPOW', 12], 98: ['LUMI', 12], 110: ['OBJT', 146], 118: ['NAME', 10], 128: ['VISI', 12],
    140: ['SMAN', 12], 152: ['MIRR', 12], 164: ['AXIS', 12], 176: ['MESH', 80], 188: ['VXPT', 44], 232: ['INDX', 24] };
  for (const [at, [name, length]] of Object.entries(chunks)) {
    assert.equal(tag(Number(at)), name, `tag at ${at}`);
    assert.equal(view.getInt32(Number(at) + 4), length, `length of ${name} at ${at}`);
  }
  assert.deepEqual([240, 244, 248, 252].map((at) => view.getInt32(at)), [3, 0, 1, 2]);
});
