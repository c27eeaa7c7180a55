import assert from 'node:assert/strict';
import test from 'node:test';
import { polygonNormal, triangulatePolygon } from '../../src/Polygon.js';

// Polygons in the z = 0 plane, given as x, y pairs.
function polygon(points) {
  const positions = new Float32Array(points.length * 3);
  points.forEach(([x, y], i) => positions.set([x, y, 0], i * 3));
  return { positions, ids: Uint32Array.from(points.keys()), count: points.length };
}

function signedArea2d(points, a, b, c) {
  const [ax, ay] = points[a], [bx, by] = points[b], [cx, cy] = points[c];
  return ((bx - ax) * (cy - ay) - (cx - ax) * (by - ay)) / 2;
}

function polygonArea(points) {
  let area = 0;
  for (let i = 0; i < points.length; i++) {
    const [x1, y1] = points[i];
    const [x2, y2] = points[(i + 1) % points.length];
    area += x1 * y2 - x2 * y1;
  }
  return area / 2;
}

// Checks that the triangles cover the polygon exactly once and keep its winding.
function checkTriangulation(points) {
  const { positions, ids, count } = polygon(points);
  const out = [];
  const made = triangulatePolygon(positions, ids, 0, count, out);
  assert.equal(made, count - 2, 'a simple polygon of n corners gives n - 2 triangles');
  const area = polygonArea(points);
  let total = 0;
  for (let t = 0; t < out.length; t += 3) {
    const a = signedArea2d(points, out[t], out[t + 1], out[t + 2]);
    assert.ok(Math.sign(a) === Math.sign(area), `triangle ${out.slice(t, t + 3)} keeps the winding`);
    total += a;
  }
  assert.ok(Math.abs(total - area) < 1e-9, `triangles cover the polygon (${total} vs ${area})`);
  return out;
}

test('convex and concave quads split along the diagonal that stays inside', () => {
  checkTriangulation([[0, 0], [1, 0], [1, 1], [0, 1]]);
  // Reflex corner at 1 or 3: the diagonal 0-2 would run outside.
  const dart = checkTriangulation([[0, 0], [2, 1], [4, 0], [2, 3]]);
  assert.ok(!sameTriangles(dart, [0, 1, 2, 0, 2, 3]));
  checkTriangulation([[0, 0], [2, -3], [4, 0], [2, -1]]);
  // Either winding is kept.
  checkTriangulation([[0, 1], [1, 1], [1, 0], [0, 0]]);
});

test('larger polygons, convex and concave, in either winding', () => {
  checkTriangulation([[0, 0], [2, 0], [3, 1], [1, 2], [-1, 1]]);
  const l = [[0, 0], [3, 0], [3, 1], [1, 1], [1, 3], [0, 3]];
  checkTriangulation(l);
  checkTriangulation([...l].reverse());
  const star = [];
  for (let i = 0; i < 10; i++) {
    const r = i % 2 ? 1 : 2.5;
    star.push([r * Math.cos((i * Math.PI) / 5), r * Math.sin((i * Math.PI) / 5)]);
  }
  checkTriangulation(star);
});

test('polygons in any plane: the split keeps the winding seen along the normal', () => {
  // A concave pentagon standing in the y-z plane.
  const points = [[0, 0], [4, 0], [4, 3], [2, 1], [0, 3]];
  const positions = new Float32Array(points.flatMap(([a, b]) => [5, a, b]));
  const ids = Uint32Array.of(0, 1, 2, 3, 4);
  const normal = polygonNormal(positions, ids, 0, 5);
  const out = [];
  triangulatePolygon(positions, ids, 0, 5, out);
  for (let t = 0; t < out.length; t += 3) {
    const tri = polygonNormal(positions, Uint32Array.of(out[t], out[t + 1], out[t + 2]), 0, 3);
    assert.ok(tri[0] * normal[0] + tri[1] * normal[1] + tri[2] * normal[2] > 0);
  }
  assert.equal(out.length, 9);
});

test('Newell normal: direction and twice the area', () => {
  const { positions, ids } = polygon([[0, 0], [2, 0], [2, 3], [0, 3]]);
  assert.deepEqual(polygonNormal(positions, ids, 0, 4), [0, 0, 12]);
});

function sameTriangles(a, b) {
  return a.length === b.length && a.every((v, i) => v === b[i]);
}
