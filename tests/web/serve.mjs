// Serves the browser build's folder over HTTP on 127.0.0.1, as any static web server would:
// used by scripts/web.sh to play it and by the browser test, which counts what was sent.
// Run as: node serve.mjs FOLDER [PORT]
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
  '.svg': 'image/svg+xml',
};

// Resolves with { server, port, sent } once listening; port 0 takes a free one. sent maps
// each path served to the bytes sent for it, for the test's download count.
export function serve(folder, port = 0) {
  const root = resolve(folder);
  const sent = new Map();
  const server = createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    const file = normalize(join(root, path.endsWith('/') ? path + 'index.html' : path));
    if (!file.startsWith(root)) {
      response.writeHead(403).end();
      return;
    }
    try {
      const body = await readFile(file);
      response.writeHead(200, {
        'Content-Type': types[extname(file)] || 'application/octet-stream',
        'Content-Length': body.length,
        'Cache-Control': 'no-cache',
      });
      response.end(body);
      sent.set(path, (sent.get(path) || 0) + body.length);
    } catch {
      response.writeHead(404, { 'Content-Type': 'text/plain' }).end(`${path}: not found\n`);
    }
  });
  return new Promise((done, failed) => {
    server.once('error', failed);
    server.listen(port, '127.0.0.1', () => done({ server, port: server.address().port, sent }));
  });
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const [folder, port] = process.argv.slice(2);
  if (!folder) {
    console.error('usage: node serve.mjs FOLDER [PORT]');
    process.exit(2);
  }
  await serve(folder, Number(port || 8000));
}
