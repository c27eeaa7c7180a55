// A static file server on 127.0.0.1 (an ephemeral port) for the page tests.
import { createReadStream, readFileSync, statSync } from 'node:fs';
import { createServer } from 'node:http';
import { extname, join, normalize, sep } from 'node:path';

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.jar': 'application/java-archive', '.zip': 'application/zip',
  '.jpg': 'image/jpeg', '.gif': 'image/gif', '.png': 'image/png', '.js': 'text/javascript',
};

// options.slow(name): files for which it returns true are sent in ten parts a tenth of a
// second apart, so a page can be seen while it loads.
export function serveFolder(root, options = {}) {
  const slow = options.slow ?? (() => false);
  const server = createServer((request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    const file = normalize(join(root, path));
    let size = -1;
    try {
      if (file.startsWith(root + sep) && statSync(file).isFile()) size = statSync(file).size;
    } catch {
      size = -1;
    }
    if (size < 0) {
      response.writeHead(404, { 'content-type': 'text/plain' });
      response.end('not found');
      return;
    }
    response.writeHead(200, {
      'content-type': TYPES[extname(file).toLowerCase()] ?? 'application/octet-stream',
      'content-length': size,
      'cache-control': 'no-store',
    });
    if (slow(path)) sendSlowly(file, size, response);
    else createReadStream(file).pipe(response);
  });
  server.on('connection', (socket) => socket.setNoDelay(true));
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => {
      resolve({ url: `http://127.0.0.1:${server.address().port}/`, close: () => new Promise((done) => server.close(done)) });
    });
  });
}

function sendSlowly(file, size, response) {
  const bytes = readFileSync(file);
  const part = Math.ceil(size / 10);
  let at = 0;
  const next = () => {
    if (at >= size || response.destroyed) {
      response.end();
      return;
    }
    response.write(bytes.subarray(at, at + part));
    at += part;
    setTimeout(next, 100);
  };
  next();
}
