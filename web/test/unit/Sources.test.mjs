import assert from 'node:assert/strict';
import test from 'node:test';
import { DroppedSource, LoadError, referenceFileName, referenceUrl } from '../../src/Sources.js';

test('page references become URLs in the page folder that any server reads back intact', () => {
  const base = 'http://127.0.0.1:8000/models/house.html';
  assert.equal(referenceUrl('./house.zip', base), 'http://127.0.0.1:8000/models/house.zip');
  assert.equal(referenceUrl('rot.gif', base), 'http://127.0.0.1:8000/models/rot.gif');
  assert.equal(referenceUrl('./my model#2?.zip', base), 'http://127.0.0.1:8000/models/my%20model%232%3F.zip');
  assert.equal(referenceUrl('./家.zip', base), 'http://127.0.0.1:8000/models/%E5%AE%B6.zip');
  assert.equal(referenceUrl('.\\sub\\a.gif', base), 'http://127.0.0.1:8000/models/sub/a.gif');
  assert.equal(referenceFileName('./logo.gif'), 'logo.gif');
});

test('dropped files are found by their file name without regard to case', async () => {
  const file = (name, text) => ({ name, arrayBuffer: async () => new TextEncoder().encode(text).buffer });
  const source = new DroppedSource([file('House.ZIP', 'zip'), file('vtr.jar', 'jar')]);
  assert.deepEqual(new TextDecoder().decode(await source.load('./house.zip')), 'zip');
  await assert.rejects(source.load('./LitColor.jpg'), (error) => error instanceof LoadError && error.kind === 'missing');
});
