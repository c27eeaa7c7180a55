// The connected mirror closes the gap between a modelled half and its mirror image: each open
// edge of the half that faces a mirror plane gets a new face reaching from it to the plane, and
// the mirror image of that face reaches back to the edge's image, even when the edge stops a
// few units short of the plane. The new faces join the mesh (material) of the face they
// continue, and take the texture coordinates of the edge they start from.
//
// An open edge (one that a single face bounds, wherever the faces lie among the meshes) faces
// the plane when
// - the face it bounds runs away from the plane from it: it is where the surface stops on its
//   way to the plane, not a rim that runs alongside the plane or faces away from it;
// - both its ends lie near the point of its boundary loop that is nearest to the plane, so the
//   far side of a hole, and a rim elsewhere in the surface, stay open;
// - that loop comes near the plane at all, for the object's size.
// Axes are joined one after the other, so where two mirror planes meet the corner between the
// new faces is closed too.
import { MIRROR_CONNECT, mirrorAxes } from './Mirror.js';
import { groupPositions, objectPositions } from './Positions.js';

// The cosine of the largest angle between the face's direction away from the edge and the
// plane's normal: about 75 degrees.
const FACING = 0.25;
// How far beyond its loop's nearest point to the plane an edge may lie, as a share of the size
// of the mirrored object (its largest extent).
const REACH = 0.05;
// Loops whose nearest point lies farther from the plane than this share of the size stay open.
const FAR = 0.1;

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
  if (edges.a.length === 0) return object;
  const nearest = loopNearestDistances(edges, groupOf, groupCount, positions, axis);
  const size = mirroredSize(positions, axes);
  const chosen = [];
  for (let e = 0; e < edges.a.length; e++) {
    const loopNearest = nearest[e];
    if (!(loopNearest <= FAR * size)) continue;
    const m = edges.mesh[e];
    const centre = () => faceCentre(object.meshes[m], meshOffsets[m], edges.faceStart[e], edges.faceSize[e], positions);
    if (facesPlane(edges.a[e], edges.b[e], centre, positions, axis, loopNearest + REACH * size)) chosen.push(e);
  }
  return chosen.length ? withJoiningFaces(object, meshOffsets, edges, chosen, axis) : object;
}

// Edges bounded by one face only, in that face's corner order (a to b), as object vertex
// numbers, with the face that bounds them (its mesh, and where its corners start in the mesh's
// corner list). Edges on a mirror plane are closed by their image.
function openEdges(object, meshOffsets, positions, groupOf, groupCount, axes) {
  const found = new Map();
  const edges = { a: [], b: [], mesh: [], faceStart: [], faceSize: [], uses: [] };
  object.meshes.forEach((mesh, m) => {
    const offset = meshOffsets[m];
    let read = 0;
    for (const size of mesh.faceSizes) {
      if (size >= 3) {
        for (let k = 0; k < size; k++) {
          const a = offset + mesh.corners[read + k];
          const b = offset + mesh.corners[read + (k + 1 === size ? 0 : k + 1)];
          const ga = groupOf[a], gb = groupOf[b];
          if (ga === gb) continue;
          const key = ga < gb ? ga * groupCount + gb : gb * groupCount + ga;
          const seen = found.get(key);
          if (seen !== undefined) {
            edges.uses[seen]++;
            continue;
          }
          found.set(key, edges.a.length);
          edges.a.push(a); edges.b.push(b); edges.mesh.push(m);
          edges.faceStart.push(read); edges.faceSize.push(size); edges.uses.push(1);
        }
      }
      read += size;
    }
  });
  const open = { a: [], b: [], mesh: [], faceStart: [], faceSize: [] };
  for (let e = 0; e < edges.a.length; e++) {
    if (edges.uses[e] !== 1 || onMirrorPlane(positions, edges.a[e], edges.b[e], axes)) continue;
    for (const field of Object.keys(open)) open[field].push(edges[field][e]);
  }
  return open;
}

function onMirrorPlane(positions, a, b, axes) {
  for (let k = 0; k < 3; k++) {
    if (axes & (1 << k) && positions[a * 3 + k] === 0 && positions[b * 3 + k] === 0) return true;
  }
  return false;
}

// For each open edge, the distance to the plane of the nearest point of its boundary loop (the
// open edges connected to it through shared positions).
function loopNearestDistances(edges, groupOf, groupCount, positions, axis) {
  const parent = new Int32Array(groupCount).map((_, g) => g);
  const find = (g) => {
    while (parent[g] !== g) { parent[g] = parent[parent[g]]; g = parent[g]; }
    return g;
  };
  for (let e = 0; e < edges.a.length; e++) {
    const ra = find(groupOf[edges.a[e]]), rb = find(groupOf[edges.b[e]]);
    if (ra !== rb) parent[ra] = rb;
  }
  const nearest = new Float64Array(groupCount).fill(Infinity);
  for (let e = 0; e < edges.a.length; e++) {
    const root = find(groupOf[edges.a[e]]);
    const d = Math.min(Math.abs(positions[edges.a[e] * 3 + axis]), Math.abs(positions[edges.b[e] * 3 + axis]));
    if (d < nearest[root]) nearest[root] = d;
  }
  return Float64Array.from(edges.a, (a) => nearest[find(groupOf[a])]);
}

// The largest extent of the object's box with its mirror images.
function mirroredSize(positions, axes) {
  let size = 0;
  for (let k = 0; k < 3; k++) {
    let low = Infinity, high = -Infinity;
    for (let i = k; i < positions.length; i += 3) {
      if (positions[i] < low) low = positions[i];
      if (positions[i] > high) high = positions[i];
    }
    if (axes & (1 << k)) { high = Math.max(Math.abs(low), Math.abs(high)); low = -high; }
    size = Math.max(size, high - low);
  }
  return size;
}

// Whether the open edge a to b lies on one side of the plane within reach of it, and its face
// runs away from the plane: the direction from the edge into the face (across the edge,
// towards the face's centre) points away from the plane. centre() gives the face's centre.
function facesPlane(a, b, centre, positions, axis, reach) {
  const pa = positions[a * 3 + axis], pb = positions[b * 3 + axis];
  if (pa * pb < 0 || Math.max(Math.abs(pa), Math.abs(pb)) > reach) return false;
  const side = Math.sign(pa + pb);
  const middle = centre();
  const edge = [0, 1, 2].map((k) => positions[b * 3 + k] - positions[a * 3 + k]);
  const toCentre = [0, 1, 2].map((k) => middle[k] - positions[a * 3 + k]);
  const edgeLengthSq = edge[0] * edge[0] + edge[1] * edge[1] + edge[2] * edge[2];
  if (!(edgeLengthSq > 0)) return false;
  const along = (toCentre[0] * edge[0] + toCentre[1] * edge[1] + toCentre[2] * edge[2]) / edgeLengthSq;
  const inward = toCentre.map((v, k) => v - along * edge[k]);
  const length = Math.hypot(...inward);
  return length > 0 && (inward[axis] * side) / length >= FACING;
}

// The mean of the corners of the face of `size` corners from `start` in the mesh's corner list.
function faceCentre(mesh, offset, start, size, positions) {
  const centre = [0, 0, 0];
  for (let k = 0; k < size; k++) {
    const v = offset + mesh.corners[start + k];
    for (let c = 0; c < 3; c++) centre[c] += positions[v * 3 + c] / size;
  }
  return centre;
}

// The object with, for each chosen edge a to b, the face b, a, a', b' in its mesh, where a'
// and b' are a and b moved onto the plane (new mesh vertices, shared by neighbouring edges);
// an end already on the plane is its own image, and the face a triangle.
function withJoiningFaces(object, meshOffsets, edges, chosen, axis) {
  const added = object.meshes.map(() => ({ vertices: new Map(), positions: [], uvs: [], sizes: [], corners: [] }));
  for (const e of chosen) {
    const m = edges.mesh[e];
    const mesh = object.meshes[m];
    const more = added[m];
    const local = (v) => v - meshOffsets[m];
    const onPlane = (l) => {
      if (mesh.positions[l * 3 + axis] === 0) return l;
      let image = more.vertices.get(l);
      if (image === undefined) {
        image = mesh.positions.length / 3 + more.vertices.size;
        more.vertices.set(l, image);
        more.positions.push(...mesh.positions.subarray(l * 3, l * 3 + 3));
        more.positions[more.positions.length - 3 + axis] = 0;
        if (mesh.uvs) more.uvs.push(mesh.uvs[l * 2], mesh.uvs[l * 2 + 1]);
      }
      return image;
    };
    const a = local(edges.a[e]), b = local(edges.b[e]);
    const corners = [b, a];
    const imageA = onPlane(a), imageB = onPlane(b);
    if (imageA !== a) corners.push(imageA);
    if (imageB !== b) corners.push(imageB);
    more.sizes.push(corners.length);
    more.corners.push(...corners);
  }
  return {
    ...object,
    meshes: object.meshes.map((mesh, m) => {
      const more = added[m];
      if (more.sizes.length === 0) return mesh;
      return {
        ...mesh,
        positions: concat(Float32Array, mesh.positions, more.positions),
        uvs: mesh.uvs ? concat(Float32Array, mesh.uvs, more.uvs) : null,
        faceSizes: concat(Uint32Array, mesh.faceSizes, more.sizes),
        corners: concat(Uint32Array, mesh.corners, more.corners),
      };
    }),
  };
}

function concat(Type, first, rest) {
  const out = new Type(first.length + rest.length);
  out.set(first);
  out.set(rest, first.length);
  return out;
}
