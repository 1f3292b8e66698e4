// The web page's speed as a phone meets it, in Debian's Chromium: what the page transfers
// (compressed), how long until a count can be typed with the CPU slowed 4x, how long one
// recalculation of examples/fleet_battle.kbf takes, and Best Fleet beside the native
// kestrin-cli on the same request. Prints the figures; it checks nothing.
// Usage: node bench/web/page_bench.mjs [--web build/web] [--cli build/release/cli/kestrin-cli]
//        [--runs 5] [--evaluations 10000]
// playwright-core comes from tests/web/browser (npm ci there).
import { execFileSync, spawn } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { brotliCompressSync, constants, gzipSync } from 'node:zlib';

const top = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
const { chromium } = createRequire(join(top, 'tests/web/browser/package.json'))('playwright-core');

const option = (name, fallback) => {
  const at = process.argv.indexOf(`--${name}`);
  return at > 0 ? process.argv[at + 1] : fallback;
};
const web = resolve(option('web', join(top, 'build/web')));
const cli = resolve(option('cli', join(top, 'build/release/cli/kestrin-cli')));
const runs = Number(option('runs', 5));
const evaluations = Number(option('evaluations', 10000));
const battleFile = join(top, 'examples/fleet_battle.kbf');
const battle = readFileSync(battleFile);
const fragment = '#battle=' + battle.toString('base64url');

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const ms = (value) => `${value.toFixed(1)} ms`;

async function startServer() {
  const server = spawn(process.execPath, [join(top, 'web/serve.mjs'), web, '0'], { stdio: ['ignore', 'pipe', 'inherit'] });
  const line = await new Promise((done) => server.stdout.once('data', (data) => done(String(data))));
  return { server, origin: /http:\/\/[^/]+/.exec(line)[0] };
}

// A fresh browser context (nothing cached), the CPU slowed `rate` times; the time from the
// navigation's start to the page's ready mark, and every file it fetched.
async function loadPage(browser, origin, rate, hash = '') {
  const context = await browser.newContext({ viewport: { width: 390, height: 844 }, isMobile: true, hasTouch: true });
  const page = await context.newPage();
  const files = new Set();
  page.on('response', (response) => files.add(new URL(response.url()).pathname));
  const cdp = await context.newCDPSession(page);
  await cdp.send('Emulation.setCPUThrottlingRate', { rate });
  await page.addInitScript(() => {
    new MutationObserver((_, observer) => {
      if (document.body?.dataset.ready !== 'true') return;
      globalThis.readyAt = performance.now();
      observer.disconnect();
    }).observe(document, { subtree: true, attributes: true, attributeFilter: ['data-ready'] });
  });
  await page.goto(`${origin}/index.html${hash}`);
  await page.waitForSelector('body[data-ready=true]');
  return { context, page, cdp, files, ready: await page.evaluate(() => globalThis.readyAt) };
}

// Each file the page loads, raw and compressed as a server would send it.
function transfer(files) {
  const total = { raw: 0, gzip: 0, brotli: 0 };
  for (const path of files) {
    const bytes = readFileSync(join(web, path === '/' ? 'index.html' : path));
    total.raw += bytes.length;
    total.gzip += gzipSync(bytes, { level: 9 }).length;
    total.brotli += brotliCompressSync(bytes, { params: { [constants.BROTLI_PARAM_QUALITY]: 11 } }).length;
  }
  return total;
}

// Typed counts in attacker row 1, each committed with Enter: the time from the key to the
// sheet and panel drawn (script, style and layout), measured inside the page.
async function recalculations(page, count) {
  await page.evaluate(() => {
    globalThis.commits = [];
    addEventListener('keydown', (event) => { if (event.key === 'Enter') globalThis.keyAt = performance.now(); }, true);
    addEventListener('keydown', (event) => {
      if (event.key !== 'Enter') return;
      document.body.getBoundingClientRect();
      globalThis.commits.push(performance.now() - globalThis.keyAt);
    });
  });
  const cell = 'td[data-side=attacker][data-row="1"]';
  for (let i = 0; i < count; ++i) {
    await page.click(cell);
    await page.keyboard.type(String(9000 + 37 * i));
    await page.keyboard.press('Enter');
  }
  return page.evaluate(() => globalThis.commits);
}

// Best Fleet on the page's own two workers (as the planner calls them) over the battle's
// attacker rows with ships, each up to its count; the same request to the native kestrin-cli.
// The shortest of a few runs of each: other work on the machine only ever adds time.
async function bestFleet(page) {
  const result = await page.evaluate(async ({ bytes, evaluations }) => {
    const { loadCore } = await import('./core.js');
    const { PlannerWorkers } = await import('./planner_workers.js');
    const core = await loadCore();
    core.open(new Uint8Array(bytes));
    const rows = core.plannerForm().fleetRows.filter(({ count }) => count > 0).map(({ row, count }) => [row, String(count)]);
    const request = { goal: 'roids', rows, minRoids: '1', maxLoss: '', ticks: '3', evaluations: String(evaluations) };
    const workers = new PlannerWorkers(() => new Worker('worker.js'));
    const battle = core.save();
    const tiny = { ...request, rows: rows.slice(0, 1), evaluations: '1' };
    await workers.bestFleet(tiny, battle, 1, globalThis.crossOriginIsolated);  // both cores loaded
    let time = Infinity, reply;
    for (let i = 0; i < 2; ++i) {
      const start = performance.now();
      reply = await workers.bestFleet(request, battle, rows.length, globalThis.crossOriginIsolated);
      time = Math.min(time, performance.now() - start);
    }
    return { time, rows, reply, isolated: globalThis.crossOriginIsolated };
  }, { bytes: [...battle], evaluations });
  const vary = result.rows.map(([row, most]) => `attacker:${row}=${most}`).join(',');
  const args = ['optimise', battleFile, '--vary', vary, '--goal', 'roids', '--ticks', '3', '--evaluations', String(evaluations)];
  const times = [];
  let native;
  for (let i = 0; i < 3; ++i) {
    const start = performance.now();
    native = JSON.parse(execFileSync(cli, args, { encoding: 'utf8' }));
    times.push(performance.now() - start);
  }
  return { page: result.time, nativeTime: Math.min(...times), isolated: result.isolated, pageReply: result.reply, native };
}

const { server, origin } = await startServer();
const browser = await chromium.launch({
  executablePath: process.env.KESTRIN_CHROMIUM || '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking', '--disable-component-update'],
});
try {
  const loads = { 1: [], 4: [] };
  let files;
  for (let i = 0; i < runs; ++i) {
    for (const rate of [1, 4]) {
      const load = await loadPage(browser, origin, rate);
      loads[rate].push(load.ready);
      files = load.files;
      await load.context.close();
    }
  }
  console.log(`ready to type: ${ms(median(loads[4]))} with the CPU slowed 4x (${loads[4].map(ms).join(', ')}); ` +
    `${ms(median(loads[1]))} unslowed`);

  for (const rate of [1, 4]) {
    const load = await loadPage(browser, origin, rate, fragment);
    const commits = await recalculations(load.page, 15);
    console.log(`recalculation of fleet_battle.kbf, CPU slowed ${rate}x: median ${ms(median(commits))}, ` +
      `longest ${ms(Math.max(...commits))}`);
    await load.context.close();
  }

  const load = await loadPage(browser, origin, 1);
  const fleet = await bestFleet(load.page);
  const same = JSON.stringify(fleet.pageReply.rows?.map(({ best }) => best)) === JSON.stringify(Object.values(fleet.native.fleet));
  console.log(`Best Fleet, ${evaluations} evaluations, 3 ticks: page ${ms(fleet.page)} (${fleet.isolated ? 'two workers' : 'one worker'}), ` +
    `native ${ms(fleet.nativeTime)}: ${(fleet.page / fleet.nativeTime).toFixed(2)}x; same fleet: ${same}`);
  for (const path of load.files) files.add(path);
  await load.context.close();

  const sizes = transfer(files);
  const kb = (bytes) => `${(bytes / 1024).toFixed(1)} KB`;
  console.log(`transfer (${files.size} files): ${kb(sizes.raw)} raw, ${kb(sizes.gzip)} gzip -9, ${kb(sizes.brotli)} brotli`);
} finally {
  await browser.close();
  server.kill();
}
