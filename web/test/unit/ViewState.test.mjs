import assert from 'node:assert/strict';
import test from 'node:test';
import { Vector3 } from 'three';
import { DEFAULTS } from '../../src/AppletParams.js';
import { ViewState } from '../../src/ViewState.js';

const settings = (changes) => ({ ...DEFAULTS, ...changes });
const front = (state) => new Vector3(0, 0, 1).applyQuaternion(state.rotation);
const close = (a, b) => a.distanceTo(b) < 1e-6;

test('the initial angle is yaw, pitch and roll in degrees', () => {
  assert.ok(close(front(new ViewState(settings({ initRotAngle: [90, 0, 0] }))), new Vector3(1, 0, 0)));
  assert.ok(close(front(new ViewState(settings({ initRotAngle: [0, 90, 0] }))), new Vector3(0, -1, 0)));
});

test('spinning advances by the time passed in, and a user turn or a reset stop and restart it', () => {
  const state = new ViewState(settings({ initRotSpeed: [0, 90, 0] }));
  assert.equal(state.spinning, true);
  assert.equal(state.advance(1), true);
  assert.ok(close(front(state), new Vector3(1, 0, 0)), 'a quarter turn in one second');
  state.rotateByDrag(10, 0, 200);
  assert.equal(state.spinning, false);
  assert.equal(state.advance(1), false);
  state.zoomBy(2);
  state.panByPixels(10, 5, 200);
  state.reset();
  assert.equal(state.spinning, true);
  assert.ok(close(front(state), new Vector3(0, 0, 1)));
  assert.equal(state.zoom, 1);
  assert.equal(state.panOffset().length(), 0);
  assert.equal(new ViewState(settings({})).spinning, false);
});

test('drags turn the model as on a turntable: half round over the full width, tilted at most upright, never rolled', () => {
  const state = new ViewState(settings({}));
  state.rotateByDrag(200, 0, 200);
  assert.ok(close(front(state), new Vector3(0, 0, -1)), 'half round about the vertical');
  const tilted = new ViewState(settings({}));
  tilted.rotateByDrag(0, 300, 200);
  assert.ok(close(front(tilted), new Vector3(0, -1, 0)), 'a long drag down stops with the top towards the viewer');
  // Dragging in circles, from a turned, tilted and slightly rolled start: the sideways lean of
  // the model's vertical axis stays what the start angles made it.
  const up = (s) => new Vector3(0, 1, 0).applyQuaternion(s.rotation);
  const circling = new ViewState(settings({ initRotAngle: [30, 20, 10] }));
  const lean = up(circling).x;
  for (let step = 0; step < 200; step++) {
    const angle = (step / 20) * Math.PI;
    circling.rotateByDrag(Math.cos(angle) * 15, Math.sin(angle) * 15, 200);
  }
  assert.ok(Math.abs(up(circling).x - lean) < 1e-6, `lean ${up(circling).x} against ${lean}`);
  assert.ok(Math.abs(up(circling).length() - 1) < 1e-6);
});

test('panning follows the pointer and the model keeps its place on the screen while zooming', () => {
  const pan = new ViewState(settings({}));
  pan.panByPixels(100, 0, 200);
  // At the origin's depth the view is 2 * 500 * tan(22.5 degrees) units high.
  assert.ok(Math.abs(pan.panOffset().x - 500 * Math.tan(Math.PI / 8)) < 1e-6);
  const onScreen = () => pan.panOffset().x / pan.cameraDistance();
  const before = onScreen();
  pan.zoomBy(0.25);
  assert.ok(Math.abs(onScreen() - before) < 1e-9, 'the pan survives the zoom');
  pan.panByPixels(-100, 0, 200);
  assert.ok(Math.abs(pan.panOffset().x) < 1e-9, 'and moves by the pointer at any zoom');
});

test('zoom limits follow the model size, so a small model can be brought close', () => {
  const state = new ViewState(settings({}));
  state.setModelRadius(1);
  state.zoomBy(1e-9);
  assert.ok(Math.abs(state.cameraDistance() - 0.05) < 1e-9, `closest ${state.cameraDistance()}`);
  state.zoomBy(1e12);
  assert.equal(state.cameraDistance(), 500 * 100);
});

test('the camera position is an offset from the pivot: X and Y shift the view, Z is the distance', () => {
  const shifted = new ViewState(settings({ modelPosition: [100, 50, 400] }));
  assert.ok(close(shifted.forward, new Vector3(0, 0, -1)), 'it looks straight ahead, not at the pivot');
  assert.ok(close(shifted.cameraRight, new Vector3(1, 0, 0)) && close(shifted.cameraUp, new Vector3(0, 1, 0)));
  assert.equal(shifted.cameraDistance(), 400);
  shifted.zoomBy(0.5);
  assert.deepEqual(shifted.cameraPosition().toArray(), [50, 25, 200], 'zooming keeps the pivot in its place');
  const behind = new ViewState(settings({ modelPosition: [0, 0, -300] }));
  assert.ok(close(behind.forward, new Vector3(0, 0, 1)));
  const side = new ViewState(settings({ modelPosition: [500, 0, 0] }));
  assert.ok(close(side.forward, new Vector3(-1, 0, 0)), 'level with the pivot it looks at the pivot');
});

test('a camera straight above or at the origin still has a well-defined view', () => {
  const above = new ViewState(settings({ modelPosition: [0, 500, 0] }));
  assert.ok(close(above.cameraUp, new Vector3(0, 0, -1)));
  assert.ok(close(above.cameraRight, new Vector3(1, 0, 0)));
  const origin = new ViewState(settings({ modelPosition: [0, 0, 0] }));
  assert.deepEqual(origin.cameraPosition().toArray(), [0, 0, 500]);
});
