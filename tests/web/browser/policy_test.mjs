// The page under the local server's content policy (web/serve.mjs) in Debian's headless
// Chromium: everything it does on load, on Save and in the planner's workers (a compiled core
// in each, memory shared between them) runs without one violation of the policy.
// Usage: node --test tests/web/browser/policy_test.mjs  (KESTRIN_WEB = the built page folder,
// KESTRIN_EXAMPLES = examples/)
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { chromium } from 'playwright-core';

let server, browser, origin;

before(async () => {
  server = spawn(process.execPath, [new URL('../../../web/serve.mjs', import.meta.url).pathname, process.env.KESTRIN_WEB, '0'],
    { stdio: ['ignore', 'pipe', 'inherit'] });
  const line = await new Promise((resolve) => server.stdout.once('data', (data) => resolve(String(data))));
  origin = /http:\/\/[^/]+/.exec(line)[0];
  browser = await chromium.launch({
    executablePath: process.env.KESTRIN_CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking', '--disable-component-update'],
  });
});
after(async () => {
  await browser?.close();
  server?.kill();
});

test('the page loads, saves and runs the planner\'s cores without a content-policy violation', async () => {
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 }, acceptDownloads: true });
  const page = await context.newPage();
  const violations = [];
  await page.exposeFunction('reportViolation', (text) => violations.push(text));
  await page.addInitScript(() => document.addEventListener('securitypolicyviolation',
    (event) => globalThis.reportViolation(`${event.effectiveDirective} ${event.blockedURI}`)));
  page.on('pageerror', (error) => violations.push(`page error: ${error.message}`));
  const response = await page.goto(`${origin}/index.html`);
  assert.match(response.headers()['content-security-policy'], /'wasm-unsafe-eval'/);
  await page.waitForSelector('body[data-ready=true]');
  assert.equal(await page.evaluate(() => globalThis.crossOriginIsolated), true);

  const download = page.waitForEvent('download');
  await page.click('#save');
  await download;

  // Both planner workers, each compiling its own core, sharing memory for Best Fleet.
  const battle = [...readFileSync(join(process.env.KESTRIN_EXAMPLES, 'fleet_battle.kbf'))];
  const reply = await page.evaluate(async (bytes) => {
    const { PlannerWorkers } = await import('./planner_workers.js');
    const workers = new PlannerWorkers(() => new Worker('worker.js'));
    const request = { goal: 'roids', rows: [[13, '3']], minRoids: '1', maxLoss: '', ticks: '1', evaluations: '4' };
    return workers.bestFleet(request, new Uint8Array(bytes), 1, true);
  }, battle);
  assert.ok(reply.outcome, JSON.stringify(reply));
  assert.deepEqual(violations, []);
  await context.close();
});
