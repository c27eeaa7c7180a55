// The worker that prepares a package away from the page (bundled on its own and carried by the
// viewer script as text). It says that it runs, then answers one request with progress
// messages and the prepared package, or a failure.
import { buildObject } from './MeshBuilder.js';
import { WORKER_HEARTBEAT_MS, buffersOf, failureMessage, preparePackage } from './Preparation.js';

// Progress goes to the page when its percentage changes (a model of a million objects must not
// send a million messages), and at least every WORKER_HEARTBEAT_MS, so that the page never takes
// a working worker for a silent one.
function progressReporter() {
  let sent = -1;
  let sentAt = performance.now();
  return (share) => {
    const percent = Math.floor(share * 100);
    const now = performance.now();
    if (percent === sent && now - sentAt < WORKER_HEARTBEAT_MS) return;
    sent = percent;
    sentAt = now;
    self.postMessage({ progress: share });
  };
}

self.onmessage = async ({ data }) => {
  requested = true;
  // The page waits for this before it stops thinking of preparing the package itself.
  self.postMessage({ progress: 0 });
  let prepared;
  try {
    prepared = await preparePackage(data, progressReporter());
  } catch (error) {
    self.postMessage({ failure: failureMessage(error) });
    return;
  }
  self.postMessage({ prepared }, buffersOf(prepared));
};

// A small waved sheet of quads, built a few times while the archive still downloads: the
// builder's loops are then compiled for speed before the model comes, which takes more off a
// large model's building (a third, measured on a million triangles) than it costs. One round
// per task, and none once the request is in, so a small package that arrives at once waits for
// one round at most.
let requested = false;

function warmUpSheet() {
  const n = 24;
  const positions = new Float32Array(n * n * 3);
  for (let j = 0; j < n; j++) for (let i = 0; i < n; i++) positions.set([i, j, Math.sin(i * 0.7 + j)], (j * n + i) * 3);
  const faceSizes = new Uint32Array((n - 1) * (n - 1)).fill(4);
  const corners = new Uint32Array(faceSizes.length * 4);
  let c = 0;
  for (let j = 0; j + 1 < n; j++) {
    for (let i = 0; i + 1 < n; i++, c += 4) corners.set([j * n + i, (j + 1) * n + i, (j + 1) * n + i + 1, j * n + i + 1], c);
  }
  return { name: '', visible: 15, smoothingAngle: 59.5, mirror: 0, mirrorAxis: 0, meshes: [{ material: 0, positions, uvs: null, faceSizes, corners }] };
}

function warmUp(sheet, rounds) {
  if (requested || rounds === 0) return;
  buildObject(sheet, {});
  setTimeout(() => warmUp(sheet, rounds - 1), 0);
}

self.postMessage({ running: true });
warmUp(warmUpSheet(), 10);
