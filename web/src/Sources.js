// Where the viewer's files come from: the page's folder over HTTP (or file: where the browser
// allows it), or the files that a visitor dropped onto the viewer.
//
// XMLHttpRequest rather than fetch: it reports download progress, and it is the one request
// that an embedding browser pane may allow on file: pages (fetch never loads file: URLs).
import { entryFileName } from './ZipArchive.js';

export class LoadError extends Error {
  // kind: 'missing' (not there), 'http' (any other failure, with detail).
  constructor(kind, name, detail = '') {
    super(`${name}: ${kind}${detail ? ` (${detail})` : ''}`);
    this.name = 'LoadError';
    this.kind = kind;
    this.fileName = name;
    this.detail = detail;
  }
}

// The bare file name of a page reference such as "./house.zip" or "rot.gif": its last
// component, as for an archive entry.
export const referenceFileName = entryFileName;

// A page reference as a URL relative to base; each path segment is percent-encoded, so names
// with blanks, '#' or non-ASCII letters reach the server intact.
export function referenceUrl(reference, base) {
  const segments = reference.replace(/\\/g, '/').split('/').filter((part) => part !== '.' && part !== '');
  return new URL(segments.map(encodeURIComponent).join('/'), base).href;
}

export class HttpSource {
  // On a page from disk the viewer itself was read from the page's folder (browsers that refuse
  // file reads never get this far), so a file that cannot be read there is missing.
  constructor(base) {
    this.base = base;
    this.fromDisk = new URL(base).protocol === 'file:';
  }

  // Resolves to the file's bytes; onProgress(loaded, total) while it downloads (total 0 when
  // the server does not say).
  load(reference, onProgress = () => {}) {
    const url = referenceUrl(reference, this.base);
    const name = referenceFileName(reference);
    return new Promise((resolve, reject) => {
      const request = new XMLHttpRequest();
      request.open('GET', url);
      request.responseType = 'arraybuffer';
      request.onprogress = (event) => onProgress(event.loaded, event.lengthComputable ? event.total : 0);
      request.onload = () => {
        const ok = request.status === 200 || (request.status === 0 && this.fromDisk && request.response);
        if (ok) {
          const bytes = new Uint8Array(request.response);
          onProgress(bytes.length, bytes.length);
          resolve(bytes);
        } else if (request.status === 404 || request.status === 410 || (this.fromDisk && request.status === 0)) {
          reject(new LoadError('missing', name));
        } else {
          reject(new LoadError('http', name, `HTTP ${request.status}`));
        }
      };
      request.onerror = () => reject(this.fromDisk ? new LoadError('missing', name)
                                                   : new LoadError('http', name, 'network error'));
      request.send();
    });
  }
}

export class DroppedSource {
  // files: iterable of File objects (the dropped files and the contents of dropped folders).
  constructor(files) {
    this.files = new Map();
    for (const file of files) {
      const key = file.name.toLowerCase();
      if (!this.files.has(key)) this.files.set(key, file);
    }
  }

  async load(reference, onProgress = () => {}) {
    const name = referenceFileName(reference);
    const file = this.files.get(name.toLowerCase());
    if (!file) throw new LoadError('missing', name);
    const bytes = new Uint8Array(await file.arrayBuffer());
    onProgress(bytes.length, bytes.length);
    return bytes;
  }
}
