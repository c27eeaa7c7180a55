// The connected mirror closes the gap between a modelled half and its mirror image: each open
// boundary loop of the half that faces a mirror plane gets new faces reaching from its edges
// onto the plane, however far it stops short of it, and the mirror image of those faces
// reaches back to the loop's image. The new faces join the mesh (material) of the face they
// continue, and take the texture coordinates of the edge they start from.
//
// An open edge (one that a single face bounds, wherever the faces lie among the meshes) faces
// the plane when the face it bounds runs away from the plane from it: it is where the surface
// stops on its way to the plane. It faces away when that face runs towards the plane, and runs
// alongside otherwise. An edge that faces the plane is joined unless its boundary loop has an
// edge facing away that lies wholly nearer the plane: then the surface itself stands between
// them, as at the far side of a hole. So a loop that faces away from the plane is no candidate, a
// seat's open ring is closed whatever its distance or tilt, and a hole stays open.
// Axes are joined one after the other, so where two mirror planes meet the corner between the
// new faces is closed too.
//
// Everything here runs on typed arrays in time linear in the corners of the object: a model
// of millions of open edges must not stall the page.
import { MIRROR_CONNECT, mirrorAxes } from './Mirror.js';
import { groupPositions, objectPositions } from './Positions.js';

// The cosine of the largest angle between the face's direction away from the edge and the
// plane's normal (or the opposite direction, for an edge facing away): about 75 degrees.
const FACING = 0.25;

// The object with the joining faces added to its meshes (the object itself when nothing joins).
export function joinMirrorGaps(object) {
  if (object.mirror !== MIRROR_CONNECT) return object;
  const axes = mirrorAxes(object.mirrorAxis);
  let joined = object;
  for (let axis = 0; axis < 3; axis++) {
    if (axes & (1 << axis)) joined = joinAcross(joined, axis, axes);
  }
  return joined;
}

function joinAcross(object, axis, axes) {
  const { positions, meshOffsets } = objectPositions(object);
  const { groupOf, groupCount } = groupPositions(positions);
  const edges = openEdges(object, meshOffsets, positions, groupOf, groupCount, axes);
  if (edges.count === 0) return object;
  const facing = new Float64Array(edges.count);
  for (let e = 0; e < edges.count; e++) facing[e] = facingOf(edges, e, positions, axis);
  const awayNearest = nearestFacingAway(edges, facing, groupOf, groupCount, positions, axis);
  const chosen = new Uint32Array(edges.count);
  let chosenCount = 0;
  for (let e = 0; e < edges.count; e++) {
    if (facing[e] >= FACING && nearerEnd(edges, e, positions, axis) < awayNearest[e]) chosen[chosenCount++] = e;
  }
  return chosenCount ? withJoiningFaces(object, meshOffsets, edges, chosen.subarray(0, chosenCount), axis) : object;
}

// The faces of three or more corners: where each starts in its mesh's corner list, its size,
// its mesh, and its centre (the mean of its corners, in object positions).
function polygonsOf(object, meshOffsets, positions) {
  let count = 0;
  for (const mesh of object.meshes) for (const size of mesh.faceSizes) if (size >= 3) count++;
  const faces = { count, start: new Uint32Array(count), size: new Uint32Array(count), mesh: new Uint32Array(count),
    centre: new Float64Array(count * 3) };
  let f = 0;
  object.meshes.forEach((mesh, m) => {
    const offset = meshOffsets[m];
    let read = 0;
    for (const size of mesh.faceSizes) {
      if (size >= 3) {
        faces.start[f] = read; faces.size[f] = size; faces.mesh[f] = m;
        let x = 0, y = 0, z = 0;
        for (let k = 0; k < size; k++) {
          const v = (offset + mesh.corners[read + k]) * 3;
          x += positions[v]; y += positions[v + 1]; z += positions[v + 2];
        }
        faces.centre[f * 3] = x / size; faces.centre[f * 3 + 1] = y / size; faces.centre[f * 3 + 2] = z / size;
        f++;
      }
      read += size;
    }
  });
  return faces;
}

function edgeHash(low, high) {
  let hash = Math.imul(low, 0x9e3779b1) ^ Math.imul(high + 0x7f4a7c15, 0x85ebca77);
  hash ^= hash >>> 15;
  return Math.imul(hash, 0x2c1b3c6d) ^ (hash >>> 12);
}

// Edges bounded by one face only, in that face's corner order (a to b), as object vertex
// numbers, with the face that bounds them. Edges on a mirror plane are closed by their image.
// Edges are told apart by the position groups of their ends, in an open-addressed table.
function openEdges(object, meshOffsets, positions, groupOf, groupCount, axes) {
  const faces = polygonsOf(object, meshOffsets, positions);
  let corners = 0;
  for (let f = 0; f < faces.count; f++) corners += faces.size[f];
  let size = 16;
  while (size < corners * 2) size *= 2;
  // Each slot holds the two groups of its edge and the edge's number (-1: empty) side by side,
  // so that a probe reads one place in memory.
  const slots = new Int32Array(size * 3).fill(-1);
  const a = new Uint32Array(corners), b = new Uint32Array(corners), face = new Uint32Array(corners);
  const uses = new Uint8Array(corners);
  let found = 0;
  for (let f = 0; f < faces.count; f++) {
    const mesh = object.meshes[faces.mesh[f]];
    const offset = meshOffsets[faces.mesh[f]];
    const start = faces.start[f], count = faces.size[f];
    for (let k = 0; k < count; k++) {
      const va = offset + mesh.corners[start + k];
      const vb = offset + mesh.corners[start + (k + 1 === count ? 0 : k + 1)];
      const ga = groupOf[va], gb = groupOf[vb];
      if (ga === gb) continue;
      const lo = ga < gb ? ga : gb, hi = ga < gb ? gb : ga;
      let slot = edgeHash(lo, hi) & (size - 1);
      for (;;) {
        const at = slot * 3;
        const e = slots[at + 2];
        if (e === -1) {
          slots[at] = lo; slots[at + 1] = hi; slots[at + 2] = found;
          a[found] = va; b[found] = vb; face[found] = f; uses[found] = 1;
          found++;
          break;
        }
        if (slots[at] === lo && slots[at + 1] === hi) {
          if (uses[e] < 2) uses[e]++;
          break;
        }
        slot = (slot + 1) & (size - 1);
      }
    }
  }
  let open = 0;
  for (let e = 0; e < found; e++) {
    if (uses[e] !== 1 || onMirrorPlane(positions, a[e], b[e], axes)) continue;
    a[open] = a[e]; b[open] = b[e]; face[open] = face[e];
    open++;
  }
  return { count: open, a: a.subarray(0, open), b: b.subarray(0, open), face: face.subarray(0, open), faces };
}

function onMirrorPlane(positions, a, b, axes) {
  for (let k = 0; k < 3; k++) {
    if (axes & (1 << k) && positions[a * 3 + k] === 0 && positions[b * 3 + k] === 0) return true;
  }
  return false;
}

// How far from the plane the nearer and the farther end of open edge e lie.
function nearerEnd(edges, e, positions, axis) {
  return Math.min(Math.abs(positions[edges.a[e] * 3 + axis]), Math.abs(positions[edges.b[e] * 3 + axis]));
}

function fartherEnd(edges, e, positions, axis) {
  return Math.max(Math.abs(positions[edges.a[e] * 3 + axis]), Math.abs(positions[edges.b[e] * 3 + axis]));
}

// For each open edge, how far from the plane the edges of its boundary loop (the open edges
// connected to it through shared positions) that face away lie: the least distance of the
// farther end of any of them; Infinity for none. An edge facing the plane from at least that
// far has such an edge wholly between it and the plane.
function nearestFacingAway(edges, facing, groupOf, groupCount, positions, axis) {
  const parent = new Int32Array(groupCount);
  for (let g = 0; g < groupCount; g++) parent[g] = g;
  const find = (g) => {
    while (parent[g] !== g) { parent[g] = parent[parent[g]]; g = parent[g]; }
    return g;
  };
  for (let e = 0; e < edges.count; e++) {
    const ra = find(groupOf[edges.a[e]]), rb = find(groupOf[edges.b[e]]);
    if (ra !== rb) parent[ra] = rb;
  }
  const loopNearest = new Float64Array(groupCount).fill(Infinity);
  const root = new Int32Array(edges.count);
  for (let e = 0; e < edges.count; e++) {
    root[e] = find(groupOf[edges.a[e]]);
    if (facing[e] <= -FACING) loopNearest[root[e]] = Math.min(loopNearest[root[e]], fartherEnd(edges, e, positions, axis));
  }
  const nearest = new Float64Array(edges.count);
  for (let e = 0; e < edges.count; e++) nearest[e] = loopNearest[root[e]];
  return nearest;
}

// How open edge e faces the plane, as the cosine of the angle between the direction from the
// edge into its face (across the edge, towards the face's centre) and the direction away from
// the plane: near 1 when its face runs away from the plane, near -1 when it runs towards it,
// near 0 alongside; 0 for an edge that crosses the plane or has no length.
function facingOf(edges, e, positions, axis) {
  const a = edges.a[e] * 3, b = edges.b[e] * 3, c = edges.face[e] * 3;
  const pa = positions[a + axis], pb = positions[b + axis];
  if (pa * pb < 0) return 0;
  const side = Math.sign(pa + pb);
  const centre = edges.faces.centre;
  const ex = positions[b] - positions[a], ey = positions[b + 1] - positions[a + 1], ez = positions[b + 2] - positions[a + 2];
  const tx = centre[c] - positions[a], ty = centre[c + 1] - positions[a + 1], tz = centre[c + 2] - positions[a + 2];
  const edgeLengthSq = ex * ex + ey * ey + ez * ez;
  if (!(edgeLengthSq > 0)) return 0;
  const along = (tx * ex + ty * ey + tz * ez) / edgeLengthSq;
  const ix = tx - along * ex, iy = ty - along * ey, iz = tz - along * ez;
  const length = Math.hypot(ix, iy, iz);
  const inward = axis === 0 ? ix : axis === 1 ? iy : iz;
  return length > 0 ? (inward * side) / length : 0;
}

// The object with, for each chosen edge a to b, the face b, a, a', b' in its mesh, where a'
// and b' are a and b moved onto the plane (new mesh vertices, shared by neighbouring edges);
// an end already on the plane is its own image, and the face a triangle.
function withJoiningFaces(object, meshOffsets, edges, chosen, axis) {
  const perMesh = new Uint32Array(object.meshes.length);
  for (const e of chosen) perMesh[edges.faces.mesh[edges.face[e]]]++;
  const added = object.meshes.map((mesh, m) => (perMesh[m] ? {
    images: new Int32Array(mesh.positions.length / 3).fill(-1),
    vertexCount: 0,
    positions: new Float32Array(perMesh[m] * 6),
    uvs: mesh.uvs ? new Float32Array(perMesh[m] * 4) : null,
    sizes: new Uint32Array(perMesh[m]),
    corners: new Uint32Array(perMesh[m] * 4),
    faceCount: 0,
    cornerCount: 0,
  } : null));
  for (const e of chosen) {
    const m = edges.faces.mesh[edges.face[e]];
    const mesh = object.meshes[m];
    const more = added[m];
    const a = edges.a[e] - meshOffsets[m], b = edges.b[e] - meshOffsets[m];
    const imageA = imageOnPlane(mesh, more, a, axis), imageB = imageOnPlane(mesh, more, b, axis);
    const start = more.cornerCount;
    more.corners[more.cornerCount++] = b;
    more.corners[more.cornerCount++] = a;
    if (imageA !== a) more.corners[more.cornerCount++] = imageA;
    if (imageB !== b) more.corners[more.cornerCount++] = imageB;
    more.sizes[more.faceCount++] = more.cornerCount - start;
  }
  return {
    ...object,
    meshes: object.meshes.map((mesh, m) => {
      const more = added[m];
      if (!more) return mesh;
      return {
        ...mesh,
        positions: concat(Float32Array, mesh.positions, more.positions.subarray(0, more.vertexCount * 3)),
        uvs: mesh.uvs ? concat(Float32Array, mesh.uvs, more.uvs.subarray(0, more.vertexCount * 2)) : null,
        faceSizes: concat(Uint32Array, mesh.faceSizes, more.sizes.subarray(0, more.faceCount)),
        corners: concat(Uint32Array, mesh.corners, more.corners.subarray(0, more.cornerCount)),
      };
    }),
  };
}

// The mesh vertex l moved onto the plane: itself when it lies there, else a new vertex (made
// once, then shared) with l's texture coordinates.
function imageOnPlane(mesh, more, l, axis) {
  if (mesh.positions[l * 3 + axis] === 0) return l;
  if (more.images[l] >= 0) return more.images[l];
  const image = mesh.positions.length / 3 + more.vertexCount;
  const at = more.vertexCount * 3;
  more.positions.set(mesh.positions.subarray(l * 3, l * 3 + 3), at);
  more.positions[at + axis] = 0;
  if (more.uvs) more.uvs.set(mesh.uvs.subarray(l * 2, l * 2 + 2), more.vertexCount * 2);
  more.vertexCount++;
  more.images[l] = image;
  return image;
}

function concat(Type, first, rest) {
  const out = new Type(first.length + rest.length);
  out.set(first);
  out.set(rest, first.length);
  return out;
}
