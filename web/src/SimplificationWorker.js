// The worker that makes the moving copy of a large model away from the page (bundled on its
// own and carried by the viewer script as text): each request of batches gets one answer.
import { simplifyBatches } from './Simplification.js';

self.onmessage = async ({ data }) => {
  try {
    const triangles = await simplifyBatches(data.batches, data.wanted);
    self.postMessage({ triangles }, triangles.filter(Boolean).map((list) => list.buffer));
  } catch (error) {
    self.postMessage({ failure: String(error?.message ?? error) });
  }
};
