// Workers started from script text that the viewer carries (the viewer is one file read out of
// vtr.jar, so a worker cannot be loaded from a file of its own).

// { worker, url } for the script, or null where workers cannot start (no script outside the
// bundle, no Worker, or a page whose rules forbid workers made from the viewer's own text).
export function startWorker(script) {
  if (!script || typeof Worker !== 'function') return null;
  try {
    const url = URL.createObjectURL(new Blob([script], { type: 'text/javascript' }));
    return { worker: new Worker(url), url };
  } catch {
    return null;
  }
}

export function stopWorker({ worker, url }) {
  worker.terminate();
  URL.revokeObjectURL(url);
}
