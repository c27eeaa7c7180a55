// A static file server on 127.0.0.1 (an ephemeral port) for the page tests.
import { createReadStream, statSync } from 'node:fs';
import { createServer } from 'node:http';
import { extname, join, normalize, sep } from 'node:path';

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.jar': 'application/java-archive', '.zip': 'application/zip',
  '.jpg': 'image/jpeg', '.gif': 'image/gif', '.png': 'image/png', '.js': 'text/javascript',
};

export function serveFolder(root) {
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
    createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => {
      resolve({ url: `http://127.0.0.1:${server.address().port}/`, close: () => new Promise((done) => server.close(done)) });
    });
  });
}
