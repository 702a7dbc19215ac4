// A static file server for the built site on 127.0.0.1, for the browser
// tests and the measurements: the types a static host gives, no caching
// headers, gzip for the texts and the WebAssembly when asked to compress as
// most hosts do, and a switch that makes it refuse every request, as a
// network that has gone away would.

import fs from 'node:fs/promises';
import http from 'node:http';
import path from 'node:path';
import zlib from 'node:zlib';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.webmanifest': 'application/manifest+json',
  '.png': 'image/png',
};

export async function serveSite(root, { port = 0, compress = false } = {}) {
  const requests = [];
  let offline = false;
  const server = http.createServer(async (request, response) => {
    const url = new URL(request.url, 'http://localhost');
    requests.push(url.pathname);
    if (offline) {
      request.socket.destroy();
      return;
    }
    const relative = decodeURIComponent(url.pathname).replace(/^\/+/, '') || 'index.html';
    const file = path.join(root, relative);
    if (!file.startsWith(path.resolve(root) + path.sep)) {
      response.writeHead(403).end();
      return;
    }
    try {
      const body = await fs.readFile(file);
      const headers = { 'Content-Type': types[path.extname(file)] ?? 'application/octet-stream' };
      if (!compress || headers['Content-Type'] === 'image/png' || !/\bgzip\b/.test(request.headers['accept-encoding'])) {
        response.writeHead(200, headers);
        response.end(body);
        return;
      }
      response.writeHead(200, { ...headers, 'Content-Encoding': 'gzip', Vary: 'Accept-Encoding' });
      response.end(zlib.gzipSync(body));
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise(resolve => server.listen(port, '127.0.0.1', resolve));
  return {
    origin: `http://127.0.0.1:${server.address().port}`,
    requests,
    setOffline(value) {
      offline = value;
    },
    close: () => new Promise(resolve => {
      server.closeAllConnections();
      server.close(resolve);
    }),
  };
}
