import assert from 'node:assert/strict';
import test from 'node:test';
import { buildObject, keptCorners } from '../../src/MeshBuilder.js';
import { groupPositions } from '../../src/Positions.js';
import { mirrorReflections } from '../../src/Mirror.js';

// A parsed object with one mesh; faces are given in the file's order (front faces clockwise
// when seen from the front).
function object(positions, faces, extra = {}) {
  const faceSizes = Uint32Array.from(faces.map((f) => f.length));
  const corners = Uint32Array.from(faces.flat());
  return {
    name: 'o', visible: 15, smoothingAngle: 59.5, mirror: 0, mirrorAxis: 0,
    meshes: [{ material: 0, positions: new Float32Array(positions), uvs: null, faceSizes, corners }],
    ...extra,
  };
}

// A unit cube, faces wound clockwise seen from outside.
const CUBE_POSITIONS = [-1, -1, -1, 1, -1, -1, 1, 1, -1, -1, 1, -1, -1, -1, 1, 1, -1, 1, 1, 1, 1, -1, 1, 1];
const CUBE_FACES = [[4, 7, 6, 5], [0, 1, 2, 3], [1, 5, 6, 2], [0, 3, 7, 4], [3, 2, 6, 7], [0, 4, 5, 1]];

function normalAt(batch, i) {
  return [batch.normals[i * 3], batch.normals[i * 3 + 1], batch.normals[i * 3 + 2]];
}

function positionAt(batch, i) {
  return [batch.positions[i * 3], batch.positions[i * 3 + 1], batch.positions[i * 3 + 2]];
}

test('front faces of the file face outwards: normals point out and triangles wind the other way', () => {
  const built = buildObject(object(CUBE_POSITIONS, CUBE_FACES));
  const batch = built.batches[0];
  assert.equal(batch.triangles.length, 36);
  for (let t = 0; t < batch.triangles.length; t += 3) {
    const [a, b, c] = [...batch.triangles.subarray(t, t + 3)].map((i) => positionAt(batch, i));
    const cross = [
      (b[1] - a[1]) * (c[2] - a[2]) - (b[2] - a[2]) * (c[1] - a[1]),
      (b[2] - a[2]) * (c[0] - a[0]) - (b[0] - a[0]) * (c[2] - a[2]),
      (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]),
    ];
    const centre = a.map((v, k) => (v + b[k] + c[k]) / 3);
    // Counter-clockwise seen from outside: the cross product points away from the centre.
    assert.ok(cross[0] * centre[0] + cross[1] * centre[1] + cross[2] * centre[2] > 0, `triangle ${t / 3}`);
    const n = normalAt(batch, batch.triangles[t]);
    assert.ok(n[0] * centre[0] + n[1] * centre[1] + n[2] * centre[2] > 0, 'normal points outwards');
  }
});

test('the smoothing angle keeps sharper edges hard and smooths gentler ones', () => {
  const hard = buildObject(object(CUBE_POSITIONS, CUBE_FACES, { smoothingAngle: 59.5 })).batches[0];
  assert.equal(hard.positions.length / 3, 24, 'every cube corner splits into three face normals');
  for (let i = 0; i < 24; i++) assert.equal(normalAt(hard, i).filter((v) => Math.abs(v) === 1).length, 1);
  const smooth = buildObject(object(CUBE_POSITIONS, CUBE_FACES, { smoothingAngle: 90.5 })).batches[0];
  assert.equal(smooth.positions.length / 3, 8, 'at 90.5 degrees the corners share one normal');
  for (let i = 0; i < 8; i++) {
    const n = normalAt(smooth, i);
    const p = positionAt(smooth, i);
    for (let k = 0; k < 3; k++) assert.ok(Math.abs(n[k] - p[k] / Math.sqrt(3)) < 1e-6);
  }
});

test('a shallow fold is smoothed across materials; a steep one is not', () => {
  // Two quads meeting along x = 0, each in its own material (mesh), each tilted by the given
  // angle, so their normals differ by twice that angle; the smoothing angle is 30 degrees.
  const fold = (degrees) => {
    const z = Math.tan((degrees * Math.PI) / 180);
    return {
      name: 'fold', visible: 15, smoothingAngle: 30, mirror: 0, mirrorAxis: 0,
      meshes: [0, 1].map((m) => ({
        material: m,
        positions: new Float32Array(m === 0 ? [-1, 0, z, 0, 0, 0, 0, 1, 0, -1, 1, z] : [0, 0, 0, 1, 0, z, 1, 1, z, 0, 1, 0]),
        uvs: null, faceSizes: Uint32Array.of(4), corners: Uint32Array.of(0, 3, 2, 1),
      })),
    };
  };
  const shallow = buildObject(fold(10));
  const seamNormal = (built) => {
    const b = built.batches[0];
    for (let i = 0; i < b.positions.length / 3; i++) if (b.positions[i * 3] === 0) return normalAt(b, i);
    return null;
  };
  assert.ok(Math.abs(seamNormal(shallow)[0]) < 1e-6, 'the seam normal lies between both faces');
  const steep = buildObject(fold(20));
  assert.ok(Math.abs(seamNormal(steep)[0]) > 0.3, 'at 40 degrees each face keeps its own normal');
});

test('mirror modes and axis bits give one reflection per combination of axes', () => {
  assert.deepEqual(mirrorReflections(0, 7), []);
  assert.deepEqual(mirrorReflections(1, 0), [[-1, 1, 1]]); // no axis named: across X
  assert.deepEqual(mirrorReflections(1, 1), [[-1, 1, 1]]);
  assert.deepEqual(mirrorReflections(2, 3), [[-1, 1, 1], [1, -1, 1], [-1, -1, 1]]);
  assert.equal(mirrorReflections(1, 7).length, 7);
  assert.deepEqual(mirrorReflections(1, 4), [[1, 1, -1]]);
  const built = buildObject(object([1, 0, 0, 2, 0, 0, 2, 1, 0], [[0, 1, 2]], { mirror: 1, mirrorAxis: 1 }));
  assert.deepEqual(built.reflections, [[-1, 1, 1]]);
  assert.deepEqual(built.bounds, { min: [-2, 0, 0], max: [2, 1, 0] });
});

test('the connected mirror welds the seam: vertices near the plane meet it and smooth across', () => {
  // Half a roof: a slope from the ridge at x = 0 (off by a hair) down to x = 1.
  const half = [1e-6, 1, -1, 1e-6, 1, 1, 1, 0, 1, 1, 0, -1];
  const faces = [[0, 1, 2, 3]];
  const connected = buildObject(object(half, faces, { mirror: 2, mirrorAxis: 1, smoothingAngle: 100 })).batches[0];
  const separate = buildObject(object(half, faces, { mirror: 1, mirrorAxis: 1, smoothingAngle: 100 })).batches[0];
  for (let i = 0; i < 4; i++) {
    if (positionAt(separate, i)[0] < 0.5) {
      assert.equal(positionAt(connected, i)[0], 0, 'ridge vertex moved onto the plane');
      assert.ok(Math.abs(normalAt(connected, i)[0]) < 1e-6, 'ridge normal points straight up');
      assert.ok(Math.abs(normalAt(separate, i)[0]) > 0.5, 'separate halves keep the slope normal');
    }
  }
});

test('two-corner faces become lines; the wireframe takes each polygon edge once', () => {
  const built = buildObject(object([0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 5, 5, 5],
    [[0, 1, 2, 3], [0, 3, 2], [2, 4]], { smoothingAngle: 0 }), { edges: true });
  const b = built.batches[0];
  assert.equal(b.lines.length, 2);
  assert.deepEqual(positionAt(b, b.lines[1]), [5, 5, 5]);
  assert.equal(b.edges.length / 2, 5, 'four quad edges and the triangle diagonal');
  assert.equal(b.triangles.length, 9);
});

test('texture coordinates stay with their vertices', () => {
  const o = object([0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0], [[0, 3, 2, 1]]);
  o.meshes[0].uvs = new Float32Array([0, 1, 1, 1, 1, 0, 0, 0]);
  const b = buildObject(o).batches[0];
  for (let i = 0; i < 4; i++) {
    const [x, y] = positionAt(b, i);
    assert.deepEqual([b.uvs[i * 2], b.uvs[i * 2 + 1]], [x, 1 - y]);
  }
});

test('equal positions group together; negative zero equals zero', () => {
  const { groupOf, groupCount } = groupPositions(new Float32Array([0, 0, 0, 1, 2, 3, 0, 0, 0, 1, 2, 3.0001]));
  assert.equal(groupCount, 3);
  assert.equal(groupOf[0], groupOf[2]);
  const built = buildObject(object([-0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, -1, 0], [[0, 1, 2], [3, 4, 1]], { smoothingAngle: 180 }));
  const b = built.batches[0];
  const normals = new Set();
  for (let i = 0; i < b.positions.length / 3; i++) if (positionAt(b, i).every((v) => v === 0)) normals.add(normalAt(b, i).join());
  assert.equal(normals.size, 1, 'the origin is one vertex');
});

test('a fan of many faces at one vertex stays smooth', () => {
  const count = 20000;
  const positions = [0, 0, 0.05]; // a very flat cone: every face lies within 6 degrees of another
  const faces = [];
  for (let i = 0; i < count; i++) {
    const a = (2 * Math.PI * i) / count;
    positions.push(Math.cos(a), Math.sin(a), 0);
    faces.push([0, 1 + ((i + 1) % count), 1 + i]);
  }
  const started = performance.now();
  const b = buildObject(object(positions, faces, { smoothingAngle: 89 })).batches[0];
  // A time is only held to a limit when asked for (VANTOR_TIMED_CHECKS=1): make test runs no timed checks.
  if (process.env.VANTOR_TIMED_CHECKS === '1') assert.ok(performance.now() - started < 2000, 'linear in the faces');
  const apex = [];
  for (let i = 0; i < b.positions.length / 3; i++) if (b.positions[i * 3 + 2] > 0) apex.push(normalAt(b, i));
  assert.ok(apex.length >= 1 && apex.length <= 32, `${apex.length} apex normals`);
  for (const n of apex) assert.ok(n[2] > 0.99, `apex normal ${n} points up`);
});

test('each corner takes the faces at its position within the angle of its own, on smooth and creased surfaces alike', () => {
  // A bumpy sheet with a crease down the middle: most vertices lie inside a smooth surface,
  // those on the crease meet faces beyond the angle. Every corner normal is checked against
  // the definition, face by face.
  const n = 12;
  const positions = [];
  for (let j = 0; j < n; j++) {
    for (let i = 0; i < n; i++) positions.push(i, j, 0.3 * Math.sin(i * 1.3) * Math.cos(j * 0.9) + (i > n / 2 ? (i - n / 2) * 1.5 : 0));
  }
  const faces = [];
  for (let j = 0; j + 1 < n; j++) for (let i = 0; i + 1 < n; i++) faces.push([j * n + i, (j + 1) * n + i, (j + 1) * n + i + 1, j * n + i + 1]);
  const angle = 40;
  const b = buildObject(object(positions, faces, { smoothingAngle: angle })).batches[0];
  const at = (v) => [positions[v * 3], positions[v * 3 + 1], positions[v * 3 + 2]];
  const faceNormal = (f) => {
    // Newell's normal of the face in the viewer's winding (the file's order reversed).
    const c = [...f].reverse().map(at);
    const m = [0, 0, 0];
    c.forEach((p, k) => {
      const q = c[(k + 1) % c.length];
      m[0] += (p[1] - q[1]) * (p[2] + q[2]); m[1] += (p[2] - q[2]) * (p[0] + q[0]); m[2] += (p[0] - q[0]) * (p[1] + q[1]);
    });
    return m; // its length is twice the area: the weight
  };
  const unit = (v) => v.map((x) => x / Math.hypot(...v));
  const normals = faces.map(faceNormal);
  const vertexAt = new Map(faces.flat().map((v) => [at(v).map(Math.fround).join(), v]));
  let creased = 0;
  for (let t = 0; t < b.triangles.length; t++) {
    const vertex = b.triangles[t];
    const index = vertexAt.get(positionAt(b, vertex).join());
    // Each quad gives two triangles, in the order of the faces.
    const mine = unit(normals[Math.floor(t / 6)]);
    const sum = [0, 0, 0];
    faces.forEach((f, fi) => {
      if (!f.includes(index)) return;
      const other = unit(normals[fi]);
      if (mine.reduce((d, x, k) => d + x * other[k], 0) >= Math.cos((angle * Math.PI) / 180)) for (let k = 0; k < 3; k++) sum[k] += normals[fi][k];
      else creased++;
    });
    const expected = unit(sum);
    normalAt(b, vertex).forEach((x, k) => assert.ok(Math.abs(x - expected[k]) < 1e-5, `corner ${t}: ${normalAt(b, vertex)} for ${expected}`));
  }
  assert.ok(creased > 0, 'the crease splits normals');
});

test('faces whose corners repeat lose the repeats; those left with too few corners draw nothing and are not built', () => {
  const out = new Uint32Array(8);
  const kept = (face) => [...out.subarray(0, keptCorners(Uint32Array.from(face), 0, face.length, out))];
  assert.deepEqual(kept([0, 1, 2, 3]), [0, 1, 2, 3]);
  assert.deepEqual(kept([0, 1, 2, 2]), [0, 1, 2], 'a triangle written as a quad stays a triangle');
  assert.deepEqual(kept([0, 0, 1, 2, 0]), [0, 1, 2], 'round the face too');
  assert.deepEqual(kept([5, 5, 5]), []);
  assert.deepEqual(kept([0, 1, 1, 0]), []);
  assert.deepEqual(kept([4, 4]), [], 'an edge from a vertex to itself');
  assert.deepEqual(kept([4, 5]), [4, 5]);
  // Many faces on one vertex (and one real triangle, and a line to nowhere) build only the
  // triangle, and make no vertex for the rest.
  const faces = [[0, 2, 1], [3, 3], ...Array.from({ length: 100000 }, () => [0, 0, 0])];
  const b = buildObject(object([0, 0, 0, 1, 0, 0, 0, 1, 0, 5, 5, 5], faces)).batches[0];
  assert.equal(b.triangles.length, 3);
  assert.equal(b.lines.length, 0);
  assert.equal(b.positions.length, 9);
});

// The area that the object draws, its mirror images included.
function drawnArea(built) {
  let area = 0;
  for (const b of built.batches) {
    for (let t = 0; t < b.triangles.length; t += 3) {
      const [p, q, r] = [...b.triangles.subarray(t, t + 3)].map((i) => positionAt(b, i));
      const u = q.map((v, k) => v - p[k]);
      const w = r.map((v, k) => v - p[k]);
      area += Math.hypot(u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]) / 2;
    }
  }
  return area * (1 + built.reflections.length);
}

// A box from x = 3 to 20 (y 0..10, z -5..5), faces clockwise from outside, without its side
// at x = 3; its faces in two materials. The mirror is to close it across x = 0.
const HALF_BOX = [3, 0, -5, 20, 0, -5, 20, 10, -5, 3, 10, -5, 3, 0, 5, 20, 0, 5, 20, 10, 5, 3, 10, 5];
const HALF_BOX_FACES = { back: [0, 1, 2, 3], front: [4, 7, 6, 5], far: [1, 5, 6, 2], top: [3, 2, 6, 7], bottom: [0, 4, 5, 1] };

function halfBox(faceNames, extra) {
  const o = object(HALF_BOX, faceNames.map((name) => HALF_BOX_FACES[name]), { mirror: 2, mirrorAxis: 1, ...extra });
  const [whole] = o.meshes;
  const split = faceNames.length >> 1;
  o.meshes = [
    { ...whole, faceSizes: whole.faceSizes.subarray(0, split), corners: whole.corners.subarray(0, split * 4) },
    { ...whole, material: 1, faceSizes: whole.faceSizes.subarray(split), corners: whole.corners.subarray(split * 4) },
  ];
  return o;
}

test('the connected mirror joins open edges that stop short of the plane, across meshes, however far; separate mirrors, sideways edges and loops facing away stay open', () => {
  const all = ['back', 'front', 'far', 'top', 'bottom'];
  const closed = buildObject(halfBox(all));
  // Each half runs 17 units out from x = 3, joined through 3 more to the plane: a closed box
  // from x = -20 to 20.
  assert.ok(Math.abs(drawnArea(closed) - 2 * (40 * 10 + 40 * 10 + 10 * 10)) < 1e-3, `area ${drawnArea(closed)}`);
  assert.deepEqual(closed.bounds, { min: [-20, 0, -5], max: [20, 10, 5] }, 'the joining faces keep the box');
  const separate = buildObject(halfBox(all, { mirror: 1 }));
  assert.ok(Math.abs(drawnArea(separate) - 2 * (2 * 17 * 10 * 2 + 10 * 10)) < 1e-3, 'separate halves keep their gap');
  // Without its top the box stays open at the top: the rim runs alongside the plane or away.
  const open = buildObject(halfBox(['back', 'front', 'far', 'bottom']));
  assert.ok(Math.abs(drawnArea(open) - 2 * (40 * 10 + 40 * 10 + 10 * 10) + 40 * 10) < 1e-3, `open top: ${drawnArea(open)}`);

  // A panel from the plane out to x = 40 with a hole from x = 25 to 35: the hole's far side
  // faces the plane but lies beyond the hole's near side, so nothing is added.
  const xs = [0, 25, 35, 40], ys = [0, 15, 25, 40];
  const positions = [];
  for (const y of ys) for (const x of xs) positions.push(x, y, 0);
  const faces = [];
  for (let j = 0; j < 3; j++) for (let i = 0; i < 3; i++) if (i !== 1 || j !== 1) faces.push([j * 4 + i, (j + 1) * 4 + i, (j + 1) * 4 + i + 1, j * 4 + i + 1]);
  const panel = buildObject(object(positions, faces, { mirror: 2, mirrorAxis: 1 }));
  assert.ok(Math.abs(drawnArea(panel) - 2 * (40 * 40 - 10 * 10)) < 1e-3, `the hole stays open: ${drawnArea(panel)}`);
  // A wall standing just off the plane and parallel to it: its edges run alongside the plane.
  const wall = buildObject(object([0.3, 0, 0, 0.3, 10, 0, 0.3, 10, 10, 0.3, 0, 10], [[0, 1, 2, 3]], { mirror: 2, mirrorAxis: 1 }));
  assert.ok(Math.abs(drawnArea(wall) - 200) < 1e-3, `two walls: ${drawnArea(wall)}`);

  // A cushion whose open side stops 30 units before the plane, four times its own width: it
  // is still closed; turned round, its open side faces away from the plane and stays open.
  const cushion = HALF_BOX.map((v, i) => (i % 3 === 0 ? (v === 3 ? 30 : 37) : v));
  const sides = Object.values(HALF_BOX_FACES);
  const seat = buildObject(object(cushion, sides, { mirror: 2, mirrorAxis: 1 }));
  assert.ok(Math.abs(drawnArea(seat) - 2 * (2 * 37 * 10 * 2 + 10 * 10)) < 1e-3, `the seat is closed: ${drawnArea(seat)}`);
  // Its open side tilted, from 30 units off the plane at the bottom to 45 at the top: closed all
  // the same (the mirrored solid runs from x = -60 to 60).
  const tilted = HALF_BOX.map((v, i) => (i % 3 === 0 ? (v === 3 ? 30 + 1.5 * HALF_BOX[i + 1] : 60) : v));
  const leaning = buildObject(object(tilted, sides, { mirror: 2, mirrorAxis: 1 }));
  // Front and back, top and bottom, 120 by 10 each; the two ends 10 by 10.
  assert.ok(Math.abs(drawnArea(leaning) - (4 * 120 * 10 + 2 * 10 * 10)) < 1e-3, `the tilted seat: ${drawnArea(leaning)}`);
  // A triangle whose base faces the plane: its slanting sides face away, but lie beyond the
  // base, so the base is joined.
  const arrow = buildObject(object([10, 0, 0, 10, 10, 0, 20, 5, 0], [[0, 1, 2]], { mirror: 2, mirrorAxis: 1 }));
  assert.ok(Math.abs(drawnArea(arrow) - 2 * (10 * 10 + 50)) < 1e-3, `the arrow: ${drawnArea(arrow)}`);
  const away = cushion.map((v, i) => (i % 3 === 0 ? 67 - v : v));
  const turned = buildObject(object(away, sides, { mirror: 2, mirrorAxis: 1 }));
  assert.ok(Math.abs(drawnArea(turned) - 2 * (2 * 7 * 10 * 2 + 10 * 10)) < 1e-3, `facing away, it stays open: ${drawnArea(turned)}`);
});

test('a quarter joined across two planes, and an eighth across three, close the corners where the planes meet', () => {
  // A plate from 2 to 20 in x and y, mirrored across X and Y: a whole plate of 40 by 40.
  const plate = object([2, 2, 0, 20, 2, 0, 20, 20, 0, 2, 20, 0], [[0, 3, 2, 1]], { mirror: 2, mirrorAxis: 3 });
  const built = buildObject(plate);
  assert.ok(Math.abs(drawnArea(built) - 40 * 40) < 1e-3, `area ${drawnArea(built)}`);
  assert.deepEqual(built.bounds, { min: [-20, -20, 0], max: [20, 20, 0] });
  // An eighth of a box, off all three planes, mirrored across all three: one closed box.
  const corner = [3, 2, 4, 20, 2, 4, 20, 10, 4, 3, 10, 4, 3, 2, 5, 20, 2, 5, 20, 10, 5, 3, 10, 5];
  const eighth = buildObject(object(corner, [HALF_BOX_FACES.far, HALF_BOX_FACES.top, HALF_BOX_FACES.front], { mirror: 2, mirrorAxis: 7 }));
  assert.equal(eighth.reflections.length, 7);
  assert.ok(Math.abs(drawnArea(eighth) - 2 * (40 * 20 + 40 * 10 + 20 * 10)) < 1e-3, `area ${drawnArea(eighth)}`);
});
