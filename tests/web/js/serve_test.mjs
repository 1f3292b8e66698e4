// The page's local server (web/serve.mjs) run for real on a free port over a folder of its
// own, with the things a folder may hold that must never be served beside it: a sibling whose
// name starts like the folder's, links out of it, a FIFO.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync, spawn } from 'node:child_process';
import { mkdirSync, mkdtempSync, rmSync, symlinkSync, writeFileSync } from 'node:fs';
import { request as httpRequest } from 'node:http';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

const top = mkdtempSync(join(tmpdir(), 'kestrin-serve-'));
const served = join(top, 'web');
let server, port;

before(async () => {
  mkdirSync(join(served, 'sub'), { recursive: true });
  writeFileSync(join(served, 'index.html'), '<!doctype html><title>page</title>');
  writeFileSync(join(served, 'kestrin.wasm'), Buffer.from([0, 0x61, 0x73, 0x6d, 1, 0, 0, 0]));
  writeFileSync(join(served, 'sub', 'inner.js'), 'export const inner = 1;');
  mkdirSync(join(top, 'web-secret'));
  writeFileSync(join(top, 'web-secret', 'secret.txt'), 'sibling secret');
  writeFileSync(join(top, 'outside.txt'), 'outside secret');
  symlinkSync(join(top, 'outside.txt'), join(served, 'out-link.txt'));
  symlinkSync(join(top, 'web-secret'), join(served, 'out-folder'));
  symlinkSync(join(served, 'sub', 'inner.js'), join(served, 'in-link.js'));
  execFileSync('mkfifo', [join(served, 'pipe.js')]);

  const script = new URL('../../../web/serve.mjs', import.meta.url).pathname;
  server = spawn(process.execPath, [script, served, '0'], { stdio: ['ignore', 'pipe', 'inherit'] });
  const line = await new Promise((resolve, reject) => {
    server.stdout.once('data', (data) => resolve(String(data)));
    server.once('exit', (code) => reject(new Error(`the server ended (${code})`)));
  });
  port = Number(/:(\d+)\//.exec(line)[1]);
});
after(() => {
  server?.kill();
  rmSync(top, { recursive: true, force: true });
});

// One request as sent, the path untouched: {status, headers, body}.
function fetchRaw(path, method = 'GET') {
  return new Promise((resolve, reject) => {
    const req = httpRequest({ host: '127.0.0.1', port, path, method }, (response) => {
      const chunks = [];
      response.on('data', (chunk) => chunks.push(chunk));
      response.on('end', () => resolve({ status: response.statusCode, headers: response.headers,
        body: Buffer.concat(chunks).toString() }));
    });
    req.on('error', reject);
    req.end();
  });
}

async function assertStillServing() {
  const page = await fetchRaw('/');
  assert.equal(page.status, 200);
  assert.match(page.body, /<title>page<\/title>/);
}

test('a malformed escape is a bad request, and the server goes on', async () => {
  for (const path of ['/%', '/%zz', '/a%2', '/%e0%a4', '/index.html%00']) {
    assert.equal((await fetchRaw(path)).status, 400, path);
  }
  await assertStillServing();
});

test('nothing outside the folder is served: no sibling by prefix, no link out of it', async () => {
  for (const path of ['/..%2fweb-secret/secret.txt', '/..%2fweb-secret%2fsecret.txt', '/%2e%2e%2foutside.txt',
    '/out-link.txt', '/out-folder/secret.txt', '/..%2f..%2f..%2fetc%2fpasswd']) {
    const reply = await fetchRaw(path);
    assert.equal(reply.status, 404, path);
    assert.doesNotMatch(reply.body, /secret/, path);
  }
  // A link that stays inside is served as the file it names.
  const inner = await fetchRaw('/in-link.js');
  assert.equal(inner.status, 200);
  assert.equal(inner.body, 'export const inner = 1;');
});

// Opening a FIFO waits for a writer: a server that opens one never answers, so the test ends
// with a failure after a while instead of waiting for ever.
test('a FIFO or a folder is no file: refused at once, however often asked', { timeout: 30_000 }, async () => {
  const replies = await Promise.all(Array.from({ length: 6 }, () => fetchRaw('/pipe.js')));
  assert.deepEqual(replies.map((r) => r.status), Array(6).fill(404));
  assert.equal((await fetchRaw('/sub')).status, 404);
  await assertStillServing();
});

test('only GET and HEAD are answered; HEAD with the headers and no body', async () => {
  for (const method of ['POST', 'PUT', 'DELETE', 'OPTIONS', 'PATCH']) {
    const reply = await fetchRaw('/index.html', method);
    assert.equal(reply.status, 405, method);
    assert.equal(reply.headers.allow, 'GET, HEAD');
  }
  const head = await fetchRaw('/kestrin.wasm', 'HEAD');
  assert.equal(head.status, 200);
  assert.equal(head.headers['content-length'], '8');
  assert.equal(head.body, '');
});

test('every answer is typed, unsniffable, isolated and under the page\'s policy', async () => {
  const wasm = await fetchRaw('/kestrin.wasm');
  assert.equal(wasm.headers['content-type'], 'application/wasm');
  assert.equal((await fetchRaw('/sub/inner.js')).headers['content-type'], 'text/javascript');
  for (const reply of [wasm, await fetchRaw('/missing.js'), await fetchRaw('/%zz')]) {
    assert.equal(reply.headers['x-content-type-options'], 'nosniff');
    assert.equal(reply.headers['cross-origin-opener-policy'], 'same-origin');
    assert.equal(reply.headers['cross-origin-embedder-policy'], 'require-corp');
    const policy = reply.headers['content-security-policy'];
    assert.match(policy, /script-src 'self' 'wasm-unsafe-eval'(;|$)/);
    assert.match(policy, /object-src 'none'/);
  }
});
