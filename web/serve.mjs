// Serves build/web on 127.0.0.1 for a try: the regular files inside one folder, read-only,
// with the types and headers a browser needs for WebAssembly, modules and shared memory.
// Usage: node web/serve.mjs DIR [PORT]  (PORT 0: any free port; the address is printed)
import { createServer } from 'node:http';
import { constants, realpathSync } from 'node:fs';
import { open, realpath, stat } from 'node:fs/promises';
import { extname, resolve, sep } from 'node:path';

const root = realpathSync(resolve(process.argv[2] || 'build/web'));
const port = Number(process.argv[3] ?? 8640);
const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.mjs': 'text/javascript',
  '.css': 'text/css', '.wasm': 'application/wasm', '.svg': 'image/svg+xml', '.png': 'image/png',
  '.webmanifest': 'application/manifest+json', '.kbf': 'application/octet-stream',
};

// Sent with every answer. A cross-origin isolated page may share memory between its workers:
// Best Fleet then searches on both cores. The policy allows what the page does and no more:
// its own scripts and the WebAssembly they compile, its workers, the blob a download is.
const common = {
  'Cross-Origin-Opener-Policy': 'same-origin',
  'Cross-Origin-Embedder-Policy': 'require-corp',
  'X-Content-Type-Options': 'nosniff',
  'Content-Security-Policy': [
    "default-src 'self'", "script-src 'self' 'wasm-unsafe-eval'", "worker-src 'self'", "style-src 'self'",
    "img-src 'self' blob: data:", "object-src 'none'", "base-uri 'none'", "form-action 'self'",
    "frame-ancestors 'none'",
  ].join('; '),
};
const ALLOWED = 'GET, HEAD';

class Refusal extends Error {
  constructor(status) { super(String(status)); this.status = status; }
}

// The request's path as a file name inside the folder: a malformed escape or a NUL is a bad
// request; "/" and any path ending in "/" name the folder's index.html.
function requestedFile(url) {
  let path;
  try {
    path = decodeURIComponent(new URL(url, 'http://localhost').pathname);
  } catch {
    throw new Refusal(400);
  }
  if (path.includes('\0')) throw new Refusal(400);
  return resolve(root, '.' + (path.endsWith('/') ? path + 'index.html' : path));
}

// Inside the folder once every link is followed: the folder itself or a path below it. The
// separator keeps a sibling whose name starts like the folder's ("web-old" beside "web") out.
const inside = (path) => path === root || path.startsWith(root + sep);

// The file's bytes, if it is a regular file inside the folder. Its type is looked at before it
// is opened (opening a FIFO waits for a writer), and again on the open handle, so that a file
// swapped for a link or a FIFO in between is refused too.
async function regularFileBytes(file) {
  if (!inside(file)) throw new Refusal(404);
  let real;
  try {
    real = await realpath(file);
  } catch {
    throw new Refusal(404);
  }
  if (!inside(real) || !(await stat(real)).isFile()) throw new Refusal(404);
  const handle = await open(real, constants.O_RDONLY | constants.O_NONBLOCK | constants.O_NOFOLLOW);
  try {
    if (!(await handle.stat()).isFile()) throw new Refusal(404);
    return await handle.readFile();
  } finally {
    await handle.close();
  }
}

async function answer(request, response) {
  if (request.method !== 'GET' && request.method !== 'HEAD') {
    response.writeHead(405, { ...common, Allow: ALLOWED, 'Content-Type': 'text/plain' }).end('Method not allowed');
    return;
  }
  let body;
  try {
    const file = requestedFile(request.url);
    body = await regularFileBytes(file);
    response.writeHead(200, {
      ...common, 'Content-Type': types[extname(file)] || 'application/octet-stream',
      'Content-Length': body.length, 'Cache-Control': 'no-cache',
    });
  } catch (error) {
    const status = error instanceof Refusal ? error.status : { ENOENT: 404, EACCES: 403 }[error.code] || 500;
    const text = { 400: 'Bad request', 403: 'Forbidden', 404: 'Not found' }[status] || 'Server error';
    response.writeHead(status, { ...common, 'Content-Type': 'text/plain' });
    body = text;
  }
  response.end(request.method === 'HEAD' ? undefined : body);
}

const server = createServer((request, response) => {
  answer(request, response).catch(() => response.destroy());
});
server.listen(port, '127.0.0.1', () => console.log(`Kestrin: http://127.0.0.1:${server.address().port}/`));
