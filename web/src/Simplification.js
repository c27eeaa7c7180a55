// The copy of a large model that is drawn while it moves: the same vertices with fewer
// triangles, so that turning a model of a million triangles stays smooth on a slow graphics
// system; the full model is drawn again once it stands still. Only the triangle lists are
// simplified, so the copy shares every vertex buffer with the full model and costs one index
// buffer more.
import { MeshoptSimplifier } from 'meshoptimizer/simplifier';

// Batches of fewer triangles keep theirs: the saving would be small and their shape could go.
const KEEP_BELOW = 2000;
// The simplifier may move the surface by this share of a batch's size to reach its target.
const ALLOWED_ERROR = 0.02;

// batches: [{ positions, triangles }]. Resolves to one triangle list per batch (vertex
// numbers of the same batch), together about `wanted` triangles; a batch that keeps its
// triangles gets null.
export async function simplifyBatches(batches, wanted) {
  await MeshoptSimplifier.ready;
  let total = 0;
  for (const { triangles } of batches) total += triangles.length / 3;
  const share = Math.min(1, wanted / Math.max(1, total));
  return batches.map(({ positions, triangles }) => {
    const count = triangles.length / 3;
    if (count < KEEP_BELOW || share >= 1) return null;
    const target = Math.max(1, Math.floor(count * share)) * 3;
    const [simplified] = MeshoptSimplifier.simplify(triangles, positions, 3, target, ALLOWED_ERROR);
    if (simplified.length <= target * 1.5) return simplified;
    // A surface of many separate pieces keeps too much within the error allowed; the coarse
    // simplifier gets it to the target, at some cost to the shape while it moves.
    return MeshoptSimplifier.simplifySloppy(triangles, positions, 3, null, target, ALLOWED_ERROR)[0];
  });
}
