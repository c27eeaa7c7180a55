// Polygon helpers: the normal of a polygon in space and its split into triangles.
//
// Faces may have any number of corners and may be concave. Triangles keep the corner order
// (winding) of the polygon they come from, so front faces stay front faces.
import { Earcut } from 'three/src/extras/Earcut.js';

// Newell's normal of a polygon (not normalised; its length is twice the polygon's area).
// positions: flat x, y, z array; the polygon's vertex numbers are ids[start .. start+count-1]
// in corner order.
export function polygonNormal(positions, ids, start, count, out = [0, 0, 0]) {
  let nx = 0, ny = 0, nz = 0;
  for (let i = 0; i < count; i++) {
    const a = ids[start + i] * 3;
    const b = ids[start + (i + 1 === count ? 0 : i + 1)] * 3;
    const ax = positions[a], ay = positions[a + 1], az = positions[a + 2];
    const bx = positions[b], by = positions[b + 1], bz = positions[b + 2];
    nx += (ay - by) * (az + bz);
    ny += (az - bz) * (ax + bx);
    nz += (ax - bx) * (ay + by);
  }
  out[0] = nx; out[1] = ny; out[2] = nz;
  return out;
}

function triangleNormalDot(positions, a, b, c, n) {
  const ax = positions[a * 3], ay = positions[a * 3 + 1], az = positions[a * 3 + 2];
  const ux = positions[b * 3] - ax, uy = positions[b * 3 + 1] - ay, uz = positions[b * 3 + 2] - az;
  const vx = positions[c * 3] - ax, vy = positions[c * 3 + 1] - ay, vz = positions[c * 3 + 2] - az;
  return (uy * vz - uz * vy) * n[0] + (uz * vx - ux * vz) * n[1] + (ux * vy - uy * vx) * n[2];
}

const scratchNormal = [0, 0, 0];
const QUAD_SPLIT = [0, 1, 2, 0, 2, 3];
const QUAD_OTHER_SPLIT = [1, 2, 3, 1, 3, 0];

// Splits the polygon ids[start .. start+count-1] into triangles and writes them into out (an
// array or typed array) from out[at] on, as corner numbers 0..count-1, three per triangle.
// Returns the number of triangles written (count - 2 for a simple polygon).
export function triangulatePolygon(positions, ids, start, count, out, at = 0) {
  if (count < 3) return 0;
  if (count === 3) {
    out[at] = 0; out[at + 1] = 1; out[at + 2] = 2;
    return 1;
  }
  const n = polygonNormal(positions, ids, start, count, scratchNormal);
  if (count === 4) {
    // Split along the diagonal 0-2 unless that folds one half over (a concave corner at 1 or
    // 3); then the diagonal 1-3 lies inside.
    const first = triangleNormalDot(positions, ids[start], ids[start + 1], ids[start + 2], n);
    const second = triangleNormalDot(positions, ids[start], ids[start + 2], ids[start + 3], n);
    const corners = first >= 0 && second >= 0 ? QUAD_SPLIT : QUAD_OTHER_SPLIT;
    for (let k = 0; k < 6; k++) out[at + k] = corners[k];
    return 2;
  }
  // Larger polygons: ear clipping in the plane that the normal is most nearly perpendicular to.
  const ax = Math.abs(n[0]), ay = Math.abs(n[1]), az = Math.abs(n[2]);
  const [u, v] = az >= ax && az >= ay ? [0, 1] : ax >= ay ? [1, 2] : [2, 0];
  const flat = new Array(count * 2);
  for (let i = 0; i < count; i++) {
    flat[i * 2] = positions[ids[start + i] * 3 + u];
    flat[i * 2 + 1] = positions[ids[start + i] * 3 + v];
  }
  const triangles = Earcut.triangulate(flat, null, 2);
  // The clipper chooses its own winding; turn each triangle back to the polygon's.
  let area = 0;
  for (let p = count - 1, q = 0; q < count; p = q++) {
    area += flat[p * 2] * flat[q * 2 + 1] - flat[q * 2] * flat[p * 2 + 1];
  }
  for (let t = 0; t < triangles.length; t += 3) {
    const a = triangles[t], b = triangles[t + 1], c = triangles[t + 2];
    const cross = (flat[b * 2] - flat[a * 2]) * (flat[c * 2 + 1] - flat[a * 2 + 1])
                - (flat[c * 2] - flat[a * 2]) * (flat[b * 2 + 1] - flat[a * 2 + 1]);
    out[at + t] = a;
    out[at + t + 1] = (cross < 0) === (area < 0) ? b : c;
    out[at + t + 2] = (cross < 0) === (area < 0) ? c : b;
  }
  return triangles.length / 3;
}
