import assert from 'node:assert/strict';
import test from 'node:test';
import { drawingPixelRatio } from '../../src/SceneView.js';

test('views are drawn sharp on dense screens, but never into more than 4096 x 4096 pixels', () => {
  assert.equal(drawingPixelRatio(480, 360, 1), 1);
  assert.equal(drawingPixelRatio(480, 360, undefined), 1);
  assert.equal(drawingPixelRatio(480, 360, 3), 2, 'beyond twice the detail is not worth its cost');
  assert.equal(drawingPixelRatio(1920, 1080, 2), 2);
  const ratio = drawingPixelRatio(9999, 9999, 2);
  assert.ok(Math.abs(9999 * ratio - 4096) < 1e-6, `the largest canvas the editor allows: ${9999 * ratio} pixels across`);
});
