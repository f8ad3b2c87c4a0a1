// Serves web/dist (or the folder given) on 127.0.0.1, as any static host
// would: files by name, nothing else. `make web` runs it and prints the URL;
// the tests and the benchmark start it in their own process.
//   node web/serve.mjs [FOLDER] [PORT]
import { createHash } from 'node:crypto';
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8', '.wasm': 'application/wasm',
  '.woff2': 'font/woff2', '.webmanifest': 'application/manifest+json', '.svg': 'image/svg+xml',
  '.png': 'image/png', '.css': 'text/css; charset=utf-8',
};

// sent(path, status) hears of every answer (the benchmark counts them).
export function serve(folder, port = 0, sent = () => {}) {
  const root = resolve(folder);
  const server = createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://host').pathname);
    const file = join(root, normalize(path.endsWith('/') ? path + 'index.html' : path));
    try {
      if (!file.startsWith(root)) throw new Error('outside');
      const body = await readFile(file);
      // Every use asks again; an unchanged file costs a 304 and no body.
      const tag = '"' + createHash('sha256').update(body).digest('base64url').slice(0, 16) + '"';
      const headers = { 'Cache-Control': 'no-cache', ETag: tag };
      const unchanged = request.headers['if-none-match'] === tag;
      sent(path, unchanged ? 304 : 200);
      if (unchanged) return response.writeHead(304, headers).end();
      response.writeHead(200, { ...headers, 'Content-Type': types[extname(file)] || 'application/octet-stream' });
      response.end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  return new Promise((done) => server.listen(port, '127.0.0.1', () =>
    done({ url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close() })));
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const folder = process.argv[2] || fileURLToPath(new URL('dist', import.meta.url));
  const { url } = await serve(folder, Number(process.argv[3] || 8325));
  console.log(`petcalc: open ${url} (Ctrl+C stops)`);
}
