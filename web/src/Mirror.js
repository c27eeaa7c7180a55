// Mirrored halves of an object: which reflections an object's mirror mode and axis bits ask
// for, and the welding of the seam in the connected mode (MirrorJoin closes the gaps that
// stop short of the plane).

export const MIRROR_NONE = 0;
export const MIRROR_SEPARATE = 1;
export const MIRROR_CONNECT = 2;

const AXIS_BITS = 7; // 1 X, 2 Y, 4 Z

// The axis bits a mirroring object mirrors across. An object that mirrors without naming an
// axis (older files have no mirror_axis line) mirrors across X, the modeller's default, rather
// than losing its other half.
export function mirrorAxes(axisBits) {
  return (axisBits & AXIS_BITS) || 1;
}

// Sign vectors [sx, sy, sz] of every reflection to draw besides the object itself: one per
// non-empty combination of the axis bits, so X and Y give the X, Y and XY copies.
export function mirrorReflections(mirror, axisBits) {
  if (mirror === MIRROR_NONE) return [];
  const axes = mirrorAxes(axisBits);
  const reflections = [];
  for (let subset = 1; subset <= AXIS_BITS; subset++) {
    if ((subset & axes) !== subset) continue;
    reflections.push(signsOf(subset));
  }
  return reflections;
}

export function signsOf(subset) {
  return [subset & 1 ? -1 : 1, subset & 2 ? -1 : 1, subset & 4 ? -1 : 1];
}

// The distance from a mirror plane within which the connected mode treats a vertex as lying
// on the seam: a small fraction of the object's size, so that seam vertices placed by hand at
// "nearly zero" still meet their mirror images.
export function seamTolerance(positions) {
  let extent = 0;
  for (let i = 0; i < positions.length; i++) extent = Math.max(extent, Math.abs(positions[i]));
  return extent * 1e-5;
}

// Connected mode: moves every coordinate on a mirrored axis that lies within the tolerance of
// zero onto the plane, so the object and its mirror image share those vertices exactly.
export function weldSeam(positions, axisBits, tolerance) {
  for (let axis = 0; axis < 3; axis++) {
    if (!(axisBits & (1 << axis))) continue;
    for (let i = axis; i < positions.length; i += 3) {
      if (Math.abs(positions[i]) <= tolerance) positions[i] = 0;
    }
  }
}

// The axis bits (of axisBits) on whose planes the point lies.
export function planesThrough(positions, vertex, axisBits) {
  let mask = 0;
  for (let axis = 0; axis < 3; axis++) {
    if (axisBits & (1 << axis) && positions[vertex * 3 + axis] === 0) mask |= 1 << axis;
  }
  return mask;
}
