// Everything between a downloaded package and its scene that needs no page: reading the
// archive and the model file, building every shown object, and taking out the texture files.
// The viewer runs it in a worker where the browser allows one (PreparationWorker.js), so that a
// large model does not stop the page while the progress bar moves; elsewhere on the page.
import { DrawnAlikeMerger } from './DrawnAlike.js';
import { buildObject, drawsAnything, isShown } from './MeshBuilder.js';
import { PackageError, PackageReader } from './PackageReader.js';
import { startWorker, stopWorker } from './Workers.js';

// Shares of the preparation for the progress bar: reading the model file, then building.
const READING = 0.3;

// The faces' corners of an object: its share of the building.
function cornerCount(object) {
  let count = 0;
  for (const mesh of object.meshes) count += mesh.corners.length;
  return count;
}

// request: { zipBytes, modelReference, options, inScript } (options of buildObject; inScript as
// PackageReader.open takes it); onProgress(share).
// Resolves to { materials, built, drawable, textures: [[name, bytes or null], ...] }, the
// objects drawn alike merged; rejects with a PackageError for an archive or model file that
// cannot be read.
export async function preparePackage({ zipBytes, modelReference, options, inScript }, onProgress = () => {}) {
  const contents = await PackageReader.open(zipBytes, modelReference, (share) => onProgress(READING * share), { inScript });
  const shown = contents.model.objects.filter(isShown);
  const work = shown.map(cornerCount);
  const total = work.reduce((sum, count) => sum + count, 0) || 1;
  let done = 0;
  const merger = new DrawnAlikeMerger();
  shown.forEach((object, i) => {
    merger.add(buildObject(object, options));
    done += work[i];
    onProgress(READING + (1 - READING) * (done / total));
  });
  const built = merger.finish();
  return {
    materials: contents.model.materials,
    built,
    drawable: drawsAnything(built),
    textures: contents.mapNames().map((name) => [name, contents.textureBytes(name)]),
  };
}

// The buffers of a prepared package, to hand it from a worker to the page without copying.
export function buffersOf(prepared) {
  const buffers = new Set();
  for (const { batches } of prepared.built) {
    for (const batch of batches) {
      for (const array of [batch.positions, batch.normals, batch.smoothNormals, batch.uvs, batch.triangles, batch.lines, batch.edges]) {
        if (array) buffers.add(array.buffer);
      }
    }
  }
  for (const [, bytes] of prepared.textures) if (bytes) buffers.add(bytes.buffer);
  return [...buffers];
}

// A failure as a message between a worker and the page, and back.
export function failureMessage(error) {
  return error instanceof PackageError ? { kind: error.kind, message: error.message } : { message: String(error?.message ?? error) };
}

export function failureFromMessage({ kind, message }) {
  return kind ? new PackageError(kind, message) : new Error(message);
}

// The worker's script, which the build puts into the viewer script as text; absent where the
// viewer's modules run as they are (node).
/* global QEL_PREPARATION_WORKER */
const WORKER_SCRIPT = typeof QEL_PREPARATION_WORKER === 'string' ? QEL_PREPARATION_WORKER : null;

// How long a worker may stay silent before the page gives up on it. A screenshot taken with a
// virtual time budget (how headless browsers make thumbnails and link previews) lets virtual
// time leap ahead whenever the page only waits, so a worker working in real time seems silent
// there even after it has answered once; the page's own timer fires, and the page prepares the
// package itself. In real time the worker says that it runs, that it has the package, and how
// far it got at least every WORKER_HEARTBEAT_MS, so it stays silent that long only inside one
// object of millions of faces; the page then takes over, and finishes.
const WORKER_SILENCE_MS = 3000;
export const WORKER_HEARTBEAT_MS = 500;

// preparePackage in a worker, resolving to the same result with `where` set to "worker".
// request.zipBytes may be a promise of the archive: the worker then starts while it downloads.
// Where no worker starts, or the worker fails before it has the package or stays silent, the
// package is prepared on the page instead ("page"; the page then waits for it). The worker gets
// a copy of the archive, so that the page still has it should the worker fall silent.
export function preparePackageAway(request, onProgress = () => {}) {
  return new Promise((resolve, reject) => {
    // Given up on a silent worker, the page inflates in script: where the silence was a virtual
    // time budget running on, the browser's own inflation would spend more of it.
    const onPage = (inScript = false) => {
      Promise.resolve(request.zipBytes).then((zipBytes) => preparePackage({ ...request, zipBytes, inScript }, onProgress))
        .then((prepared) => resolve({ ...prepared, where: 'page' }), reject);
    };
    const started = startWorker(WORKER_SCRIPT);
    if (!started) {
      onPage();
      return;
    }
    const { worker } = started;
    let handedOver = false;
    let silence = 0;
    const finish = () => {
      clearTimeout(silence);
      stopWorker(started);
    };
    const waitForAnswer = () => {
      clearTimeout(silence);
      silence = setTimeout(() => {
        finish();
        onPage(true);
      }, WORKER_SILENCE_MS);
    };
    waitForAnswer();
    worker.onmessage = ({ data }) => {
      if (data.running) {
        clearTimeout(silence);
        Promise.resolve(request.zipBytes).then((zipBytes) => {
          handedOver = true;
          worker.postMessage({ ...request, zipBytes });
          waitForAnswer();
        }, (error) => { finish(); reject(error); });
      } else if ('progress' in data) {
        waitForAnswer();
        onProgress(data.progress);
      } else {
        finish();
        if (data.failure) reject(failureFromMessage(data.failure));
        else resolve({ ...data.prepared, where: 'worker' });
      }
    };
    worker.onerror = (event) => {
      event.preventDefault();
      finish();
      if (handedOver) reject(new Error(`the preparation of the model stopped (${event.message})`));
      else onPage();
    };
  });
}
