// Turns the meshes of a parsed object into drawable batches: triangles with smoothed normals,
// lines for two-corner faces, polygon edges for the wireframe, and the mirror reflections.
//
// Normals follow the object's smoothing angle: at each vertex position, a face's corner takes
// the (area weighted) normals of the faces there whose normal lies within the angle of its
// own, so sharper edges stay hard. Positions are compared exactly, across the object's
// meshes, so faces of different materials smooth into each other as one surface.
import { polygonNormal, triangulatePolygon } from './Polygon.js';
import { MIRROR_CONNECT, mirrorAxes, mirrorReflections, planesThrough, signsOf } from './Mirror.js';
import { joinMirrorGaps } from './MirrorJoin.js';
import { groupPositions, objectPositions } from './Positions.js';

// Up to this many faces meeting at a vertex are compared pairwise; beyond it they are
// gathered into clusters first, which keeps fans of thousands of faces linear.
const PAIRWISE_LIMIT = 64;
const MAX_CLUSTERS = 32;

// The corners a face keeps: a corner that repeats the one before it (round the face) adds
// nothing, so it is left out; a face left with fewer than three corners (two for an edge)
// draws nothing and is dropped before any building. Writes them to out from 0; returns how
// many, or 0 for a dropped face.
export function keptCorners(corners, read, size, out) {
  let kept = 0;
  for (let k = 0; k < size; k++) {
    const corner = corners[read + k];
    if (kept === 0 || out[kept - 1] !== corner) out[kept++] = corner;
  }
  while (kept > 1 && out[kept - 1] === out[0]) kept--;
  return kept >= (size === 2 ? 2 : 3) ? kept : 0;
}

let faceScratch = new Uint32Array(64);
function scratchFor(size) {
  if (size > faceScratch.length) faceScratch = new Uint32Array(size * 2);
  return faceScratch;
}

// Polygons of three or more corners in one list, corners in the viewer's winding (the file's
// front faces wind the other way) and as object vertex numbers.
function collectPolygons(object, meshOffsets) {
  let polygonCount = 0;
  let cornerCount = 0;
  for (const mesh of object.meshes) {
    let read = 0;
    for (const size of mesh.faceSizes) {
      if (size >= 3) {
        const kept = keptCorners(mesh.corners, read, size, scratchFor(size));
        if (kept) { polygonCount++; cornerCount += kept; }
      }
      read += size;
    }
  }
  const start = new Uint32Array(polygonCount + 1);
  const meshOf = new Uint32Array(polygonCount);
  const corners = new Uint32Array(cornerCount);
  let p = 0;
  let c = 0;
  object.meshes.forEach((mesh, m) => {
    const offset = meshOffsets[m];
    let read = 0;
    for (const size of mesh.faceSizes) {
      if (size >= 3) {
        const face = scratchFor(size);
        const kept = keptCorners(mesh.corners, read, size, face);
        if (kept) {
          start[p] = c;
          meshOf[p++] = m;
          for (let k = kept - 1; k >= 0; k--) corners[c++] = offset + face[k];
        }
      }
      read += size;
    }
  });
  start[polygonCount] = c;
  return { start, meshOf, corners, count: polygonCount };
}

// Unit normal and area of each polygon; a face weighs in smoothing by its area.
function polygonNormalsAndAreas(positions, polygons) {
  const normals = new Float32Array(polygons.count * 3);
  const areas = new Float32Array(polygons.count);
  const n = [0, 0, 0];
  for (let p = 0; p < polygons.count; p++) {
    const first = polygons.start[p];
    polygonNormal(positions, polygons.corners, first, polygons.start[p + 1] - first, n);
    const length = Math.sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (length > 0) {
      normals[p * 3] = n[0] / length;
      normals[p * 3 + 1] = n[1] / length;
      normals[p * 3 + 2] = n[2] / length;
      areas[p] = length / 2;
    }
  }
  return { normals, areas };
}

// For each position group, the polygon corners that lie there (compressed rows).
function cornersByGroup(polygons, groupOf, groupCount) {
  const start = new Uint32Array(groupCount + 1);
  const corners = polygons.corners;
  for (let c = 0; c < corners.length; c++) start[groupOf[corners[c]] + 1]++;
  for (let g = 0; g < groupCount; g++) start[g + 1] += start[g];
  const fill = start.slice(0, groupCount);
  const list = new Uint32Array(corners.length);
  for (let c = 0; c < corners.length; c++) list[fill[groupOf[corners[c]]]++] = c;
  return { start, list };
}

function polygonOfCorners(polygons) {
  const polygonOf = new Uint32Array(polygons.corners.length);
  for (let p = 0; p < polygons.count; p++) polygonOf.fill(p, polygons.start[p], polygons.start[p + 1]);
  return polygonOf;
}

// Scratch lists of one group's contributions (normal, weight, and owning corner), kept from
// object to object so that many small objects allocate nothing here.
function scratchOfGroup(size) {
  return {
    nx: new Float32Array(size), ny: new Float32Array(size), nz: new Float32Array(size),
    weight: new Float32Array(size), owner: new Int32Array(size),
  };
}
let groupScratch = scratchOfGroup(64);

// Smoothed normal of every polygon corner, and the fully smoothed normal of every position
// (used to push outlines outwards). reflections: per group, the sign vectors of the mirror
// images whose faces also meet there (connected mirror seams), the identity first.
function smoothNormals(positions, polygons, faceData, groupOf, groupCount, options) {
  const cornerNormals = new Float32Array(polygons.corners.length * 3);
  const groupNormals = new Float32Array(groupCount * 3);
  const angle = Math.min(180, Math.max(0, options.smoothingAngle));
  const { settled, count } = smoothGroups(positions, polygons, faceData, groupOf, groupCount, angle, options.seamAxes,
    cornerNormals, groupNormals);
  if (count < groupCount) {
    compareFacesAtGroups(positions, polygons, faceData, groupOf, groupCount, angle, options.seamAxes, settled,
      cornerNormals, groupNormals);
  }
  return { cornerNormals, groupNormals };
}

// The usual vertex lies inside a smooth surface: every face there is within half the angle of
// the faces' mean direction, so any two of them are within the angle of each other, and each
// corner takes the mean. This settles such position groups in a few passes over the corners,
// without comparing faces. Returns the groups it settled (settled[g] is 1) and their count; it
// leaves the others to compareFacesAtGroups, among them the groups on a connected mirror's
// plane, whose faces meet their mirror images there.
function smoothGroups(positions, polygons, faceData, groupOf, groupCount, angle, seamAxes, cornerNormals, groupNormals) {
  const { normals: faceNormals, areas } = faceData;
  const { start, corners } = polygons;
  const sums = new Float64Array(groupCount * 3);
  for (let p = 0; p < polygons.count; p++) {
    const x = faceNormals[p * 3] * areas[p], y = faceNormals[p * 3 + 1] * areas[p], z = faceNormals[p * 3 + 2] * areas[p];
    for (let c = start[p]; c < start[p + 1]; c++) {
      const g = groupOf[corners[c]] * 3;
      sums[g] += x; sums[g + 1] += y; sums[g + 2] += z;
    }
  }
  const settled = new Uint8Array(groupCount);
  for (let g = 0; g < groupCount; g++) {
    const x = sums[g * 3], y = sums[g * 3 + 1], z = sums[g * 3 + 2];
    const length = Math.sqrt(x * x + y * y + z * z);
    if (length > 0) {
      settled[g] = 1;
      sums[g * 3] = x / length; sums[g * 3 + 1] = y / length; sums[g * 3 + 2] = z / length;
    }
  }
  const cosHalf = Math.cos(angle * Math.PI / 360);
  for (let p = 0; p < polygons.count; p++) {
    const x = faceNormals[p * 3], y = faceNormals[p * 3 + 1], z = faceNormals[p * 3 + 2];
    for (let c = start[p]; c < start[p + 1]; c++) {
      const vertex = corners[c];
      const g = groupOf[vertex];
      if (!settled[g]) continue;
      if (x * sums[g * 3] + y * sums[g * 3 + 1] + z * sums[g * 3 + 2] < cosHalf
          || (seamAxes && planesThrough(positions, vertex, seamAxes))) settled[g] = 0;
    }
  }
  let count = 0;
  for (let g = 0; g < groupCount; g++) {
    if (!settled[g]) continue;
    count++;
    for (let k = 0; k < 3; k++) groupNormals[g * 3 + k] = sums[g * 3 + k];
  }
  for (let c = 0; c < corners.length; c++) {
    const g = groupOf[corners[c]];
    if (!settled[g]) continue;
    cornerNormals[c * 3] = groupNormals[g * 3]; cornerNormals[c * 3 + 1] = groupNormals[g * 3 + 1]; cornerNormals[c * 3 + 2] = groupNormals[g * 3 + 2];
  }
  return { settled, count };
}

// The remaining position groups: each corner takes the faces there within the angle of its own.
function compareFacesAtGroups(positions, polygons, faceData, groupOf, groupCount, angle, seamAxes, settled,
  cornerNormals, groupNormals) {
  const { normals: faceNormals, areas } = faceData;
  const polygonOf = polygonOfCorners(polygons);
  const byGroup = cornersByGroup(polygons, groupOf, groupCount);
  const cosLimit = Math.cos(angle * Math.PI / 180) - 1e-6;
  const identity = [[1, 1, 1]];

  let { nx, ny, nz, weight, owner } = groupScratch;

  for (let g = 0; g < groupCount; g++) {
    if (settled[g]) continue;
    const first = byGroup.start[g];
    const count = byGroup.start[g + 1] - first;
    if (count === 0) continue;
    let reflections = identity;
    if (seamAxes) {
      const planes = planesThrough(positions, polygons.corners[byGroup.list[first]], seamAxes);
      if (planes) {
        reflections = [[1, 1, 1]];
        for (let s = 1; s <= planes; s++) if ((s & planes) === s) reflections.push(signsOf(s));
      }
    }
    const items = count * reflections.length;
    if (items > nx.length) ({ nx, ny, nz, weight, owner } = groupScratch = scratchOfGroup(items));
    let sx = 0, sy = 0, sz = 0;
    let i = 0;
    for (let r = 0; r < reflections.length; r++) {
      const rx = reflections[r][0], ry = reflections[r][1], rz = reflections[r][2];
      for (let k = 0; k < count; k++, i++) {
        const corner = byGroup.list[first + k];
        const p = polygonOf[corner];
        nx[i] = faceNormals[p * 3] * rx; ny[i] = faceNormals[p * 3 + 1] * ry; nz[i] = faceNormals[p * 3 + 2] * rz;
        weight[i] = areas[p];
        owner[i] = rx === 1 && ry === 1 && rz === 1 ? corner : -1;
        sx += nx[i] * weight[i]; sy += ny[i] * weight[i]; sz += nz[i] * weight[i];
      }
    }
    const length = Math.sqrt(sx * sx + sy * sy + sz * sz) || 1;
    groupNormals[g * 3] = sx / length; groupNormals[g * 3 + 1] = sy / length; groupNormals[g * 3 + 2] = sz / length;

    if (items <= PAIRWISE_LIMIT) {
      for (let a = 0; a < items; a++) {
        if (owner[a] < 0) continue;
        let ax = 0, ay = 0, az = 0;
        for (let b = 0; b < items; b++) {
          if (nx[a] * nx[b] + ny[a] * ny[b] + nz[a] * nz[b] >= cosLimit) {
            ax += nx[b] * weight[b]; ay += ny[b] * weight[b]; az += nz[b] * weight[b];
          }
        }
        writeCornerNormal(cornerNormals, owner[a], ax, ay, az, nx[a], ny[a], nz[a]);
      }
    } else {
      clusterNormals(items, nx, ny, nz, weight, owner, cosLimit, cornerNormals);
    }
  }
}

function writeCornerNormal(out, corner, x, y, z, fx, fy, fz) {
  const length = Math.sqrt(x * x + y * y + z * z);
  if (length > 0) { out[corner * 3] = x / length; out[corner * 3 + 1] = y / length; out[corner * 3 + 2] = z / length; }
  else { out[corner * 3] = fx; out[corner * 3 + 1] = fy; out[corner * 3 + 2] = fz; }
}

// Many faces at one vertex: each joins the first cluster whose founding normal lies within the
// angle, or founds a new one (the nearest cluster once MAX_CLUSTERS exist); a corner then takes
// its cluster's sum.
function clusterNormals(items, nx, ny, nz, weight, owner, cosLimit, out) {
  const founders = [];
  const sums = [];
  const clusterOf = new Int32Array(items);
  for (let i = 0; i < items; i++) {
    let chosen = -1;
    let nearest = 0;
    let nearestDot = -Infinity;
    for (let c = 0; c < founders.length; c++) {
      const f = founders[c];
      const dot = nx[i] * f[0] + ny[i] * f[1] + nz[i] * f[2];
      if (dot >= cosLimit) { chosen = c; break; }
      if (dot > nearestDot) { nearestDot = dot; nearest = c; }
    }
    if (chosen < 0) {
      if (founders.length < MAX_CLUSTERS) {
        founders.push([nx[i], ny[i], nz[i]]);
        sums.push([0, 0, 0]);
        chosen = founders.length - 1;
      } else {
        chosen = nearest;
      }
    }
    clusterOf[i] = chosen;
    const sum = sums[chosen];
    sum[0] += nx[i] * weight[i]; sum[1] += ny[i] * weight[i]; sum[2] += nz[i] * weight[i];
  }
  for (let i = 0; i < items; i++) {
    if (owner[i] < 0) continue;
    const sum = sums[clusterOf[i]];
    writeCornerNormal(out, owner[i], sum[0], sum[1], sum[2], nx[i], ny[i], nz[i]);
  }
}

// Collects one mesh's drawable vertices: a mesh vertex is split once per distinct normal.
class VertexTable {
  constructor(mesh, capacity) {
    this.mesh = mesh;
    this.first = new Int32Array(mesh.positions.length / 3).fill(-1);
    this.next = new Int32Array(capacity);
    this.source = new Uint32Array(capacity);
    this.normals = new Float32Array(capacity * 3);
    this.count = 0;
  }

  add(vertex, x, y, z) {
    for (let at = this.first[vertex]; at >= 0; at = this.next[at]) {
      const n = this.normals;
      if (n[at * 3] === x && n[at * 3 + 1] === y && n[at * 3 + 2] === z) return at;
    }
    const at = this.count++;
    this.next[at] = this.first[vertex];
    this.first[vertex] = at;
    this.source[at] = vertex;
    this.normals[at * 3] = x; this.normals[at * 3 + 1] = y; this.normals[at * 3 + 2] = z;
    return at;
  }
}

// groupNormals: null where no outline needs the fully smoothed normals.
function makeBatch(mesh, table, positions, meshOffset, groupOf, groupNormals, triangles, lines, edges) {
  const count = table.count;
  const batchPositions = new Float32Array(count * 3);
  const smooth = groupNormals ? new Float32Array(count * 3) : null;
  const uvs = mesh.uvs ? new Float32Array(count * 2) : null;
  for (let i = 0; i < count; i++) {
    const local = table.source[i];
    const vertex = meshOffset + local;
    const group = groupOf[vertex];
    for (let k = 0; k < 3; k++) batchPositions[i * 3 + k] = positions[vertex * 3 + k];
    if (smooth) for (let k = 0; k < 3; k++) smooth[i * 3 + k] = groupNormals[group * 3 + k];
    if (uvs) { uvs[i * 2] = mesh.uvs[local * 2]; uvs[i * 2 + 1] = mesh.uvs[local * 2 + 1]; }
  }
  return {
    material: mesh.material,
    positions: batchPositions,
    normals: table.normals.slice(0, count * 3),
    smoothNormals: smooth,
    uvs,
    triangles,
    lines,
    edges,
  };
}

// The box of what the batches draw (the corners of their polygons and lines), with the
// mirror images: the viewer turns the model about its centre, and the package writer's camera
// fit takes the same box.
function boundsOf(batches, reflections) {
  const min = [Infinity, Infinity, Infinity];
  const max = [-Infinity, -Infinity, -Infinity];
  for (const { positions } of batches) {
    for (let i = 0; i < positions.length; i += 3) {
      for (let k = 0; k < 3; k++) {
        const value = positions[i + k];
        if (value < min[k]) min[k] = value;
        if (value > max[k]) max[k] = value;
      }
    }
  }
  if (min[0] > max[0]) return null;
  for (const signs of reflections) {
    for (let k = 0; k < 3; k++) {
      if (signs[k] < 0) { const low = min[k]; min[k] = Math.min(low, -max[k]); max[k] = Math.max(max[k], -low); }
    }
  }
  return { min, max };
}

// Whether the modeller left the object shown (it writes 15 for shown and 0 for hidden).
export function isShown(object) {
  return object.visible !== 0;
}

// object: a parsed object. options: { smooth: compute smoothed normals (false: face normals),
// edges: collect the polygon edges for the wireframe, outline: keep the fully smoothed normal
// of every vertex for the cartoon outline (smoothNormals, else null) }.
export function buildObject(parsed, options = {}) {
  const object = joinMirrorGaps(parsed);
  const smooth = options.smooth !== false;
  const { positions, meshOffsets } = objectPositions(object);
  const reflections = mirrorReflections(object.mirror, object.mirrorAxis);
  const { groupOf, groupCount } = groupPositions(positions);
  const polygons = collectPolygons(object, meshOffsets);
  const faceData = polygonNormalsAndAreas(positions, polygons);
  let cornerNormals;
  let groupNormals;
  if (smooth) {
    const seamAxes = object.mirror === MIRROR_CONNECT ? mirrorAxes(object.mirrorAxis) : 0;
    ({ cornerNormals, groupNormals } = smoothNormals(positions, polygons, faceData, groupOf, groupCount,
      { smoothingAngle: object.smoothingAngle, seamAxes }));
  } else {
    cornerNormals = new Float32Array(polygons.corners.length * 3);
    for (let p = 0; p < polygons.count; p++) {
      for (let c = polygons.start[p]; c < polygons.start[p + 1]; c++) cornerNormals.set(faceData.normals.subarray(p * 3, p * 3 + 3), c * 3);
    }
    groupNormals = new Float32Array(groupCount * 3);
  }

  const batches = [];
  let polygon = 0;
  let cornerVertex = new Uint32Array(64);
  object.meshes.forEach((mesh, m) => {
    const offset = meshOffsets[m];
    let lineCorners = 0;
    let read = 0;
    for (let f = 0; f < mesh.faceSizes.length; f++) {
      const size = mesh.faceSizes[f];
      if (size === 2 && mesh.corners[read] !== mesh.corners[read + 1]) lineCorners += 2;
      read += size;
    }
    // The mesh's polygons follow one another in the list.
    let lastPolygon = polygon;
    while (lastPolygon < polygons.count && polygons.meshOf[lastPolygon] === m) lastPolygon++;
    const cornerTotal = polygons.start[lastPolygon] - polygons.start[polygon];
    const triangleCapacity = (cornerTotal - 2 * (lastPolygon - polygon)) * 3;
    const table = new VertexTable(mesh, cornerTotal + lineCorners);
    const triangles = new Uint32Array(triangleCapacity);
    const edges = options.edges ? [] : null;
    const edgeSeen = options.edges ? new Set() : null;
    let triangleAt = 0;
    const corners = polygons.corners;
    while (polygon < polygons.count && polygons.meshOf[polygon] === m) {
      const first = polygons.start[polygon];
      const size = polygons.start[polygon + 1] - first;
      if (size > cornerVertex.length) cornerVertex = new Uint32Array(size * 2);
      for (let k = 0; k < size; k++) {
        const c = first + k;
        cornerVertex[k] = table.add(corners[c] - offset, cornerNormals[c * 3], cornerNormals[c * 3 + 1], cornerNormals[c * 3 + 2]);
      }
      // The triangles come as corner numbers of this polygon; turn them into vertex numbers.
      const made = triangulatePolygon(positions, corners, first, size, triangles, triangleAt) * 3;
      for (let k = triangleAt; k < triangleAt + made; k++) triangles[k] = cornerVertex[triangles[k]];
      triangleAt += made;
      if (edges) {
        for (let k = 0; k < size; k++) {
          const a = corners[first + k];
          const b = corners[first + (k + 1) % size];
          const ga = groupOf[a], gb = groupOf[b];
          if (ga === gb) continue;
          const key = ga < gb ? ga * 4294967296 + gb : gb * 4294967296 + ga;
          if (edgeSeen.has(key)) continue;
          edgeSeen.add(key);
          edges.push(cornerVertex[k], cornerVertex[(k + 1) % size]);
        }
      }
      polygon++;
    }
    const lines = new Uint32Array(lineCorners);
    let lineAt = 0;
    read = 0;
    for (let f = 0; f < mesh.faceSizes.length; f++) {
      const size = mesh.faceSizes[f];
      if (size === 2 && mesh.corners[read] !== mesh.corners[read + 1]) {
        lines[lineAt++] = table.add(mesh.corners[read], 0, 0, 0);
        lines[lineAt++] = table.add(mesh.corners[read + 1], 0, 0, 0);
      }
      read += size;
    }
    if (table.count === 0) return;
    batches.push(makeBatch(mesh, table, positions, offset, groupOf, options.outline ? groupNormals : null,
      triangles.subarray(0, triangleAt), lines.subarray(0, lineAt), edges ? Uint32Array.from(edges) : null));
  });

  return {
    name: object.name,
    visible: isShown(object),
    reflections,
    bounds: boundsOf(batches, reflections),
    batches,
  };
}

// Whether built objects draw anything at all: a triangle with an area or a line with a length.
// Faces whose corners all lie on one line, like objects without faces, draw nothing.
export function drawsAnything(builtObjects) {
  for (const { batches } of builtObjects) {
    for (const { positions: p, triangles, lines } of batches) {
      for (let t = 0; t < triangles.length; t += 3) {
        const a = triangles[t] * 3, b = triangles[t + 1] * 3, c = triangles[t + 2] * 3;
        const ux = p[b] - p[a], uy = p[b + 1] - p[a + 1], uz = p[b + 2] - p[a + 2];
        const vx = p[c] - p[a], vy = p[c + 1] - p[a + 1], vz = p[c + 2] - p[a + 2];
        if (uy * vz - uz * vy || uz * vx - ux * vz || ux * vy - uy * vx) return true;
      }
      for (let l = 0; l < lines.length; l += 2) {
        const a = lines[l] * 3, b = lines[l + 1] * 3;
        if (p[a] !== p[b] || p[a + 1] !== p[b + 1] || p[a + 2] !== p[b + 2]) return true;
      }
    }
  }
  return false;
}
