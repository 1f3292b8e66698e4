// The web page in Debian's headless Chromium, checked against the native kestrin-cli.
// Usage: node --test tests/web/browser/page_test.mjs  (KESTRIN_WEB = the built page folder,
// KESTRIN_CLI = the native kestrin-cli, KESTRIN_EXAMPLES = examples/)
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync, spawn } from 'node:child_process';
import { mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { createRequire } from 'node:module';
import { join } from 'node:path';
import { chromium } from 'playwright-core';

const web = process.env.KESTRIN_WEB;
const cli = process.env.KESTRIN_CLI;
const examples = process.env.KESTRIN_EXAMPLES;
const folder = mkdtempSync(join(tmpdir(), 'kestrin-web-'));
let server, browser, origin;

function runCli(...args) {
  // The built-in statistics, as the page has them (the default file is made with them).
  return execFileSync(cli, args, { encoding: 'utf8' });
}
const lastLine = (text) => JSON.parse(text.trim().split('\n').pop());
const fragment = (bytes) => 'battle=' + Buffer.from(bytes).toString('base64url');

before(async () => {
  const port = 20000 + (process.pid % 20000);
  server = spawn(process.execPath, [new URL('../../../web/serve.mjs', import.meta.url).pathname, web, String(port)], { stdio: ['ignore', 'pipe', 'inherit'] });
  await new Promise((resolve) => server.stdout.once('data', resolve));
  origin = `http://127.0.0.1:${port}`;
  browser = await chromium.launch({
    executablePath: process.env.KESTRIN_CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync'],
  });
});
after(async () => {
  await browser?.close();
  server?.kill();
});

const phone = { viewport: { width: 390, height: 844 }, hasTouch: true, isMobile: true };

// `within`: a browser context to open the page in, or the options of a new one.
async function openPage(hash = '', viewport = { width: 1280, height: 800 }, within = {}) {
  const context = typeof within?.newPage === 'function' ? within
    : await browser.newContext({ viewport, acceptDownloads: true, ...within });
  const page = await context.newPage();
  page.on('pageerror', (error) => assert.fail(`page error: ${error.message}`));
  await page.goto(`${origin}/index.html${hash}`);
  await page.waitForSelector('body[data-ready=true]');
  return page;
}
const panelOf = (page) => page.evaluate(() => Object.fromEntries(
  [...document.querySelectorAll('[data-panel]')].map((e) => [e.dataset.panel, e.textContent])));
// What the browser keeps, the notice, an input cell's text; a count typed into a cell.
const stored = (page) => page.evaluate(() => JSON.stringify(Object.entries(localStorage).sort()));
const noticeOf = (page) => page.textContent('#notice[role=status]');
const cellText = (page, side, row) => page.textContent(`#grid td[data-side=${side}][data-row="${row}"]`);
async function typeCount(page, side, row, count) {
  await page.click(`#grid td[data-side=${side}][data-row="${row}"]`);
  await page.keyboard.type(count);
  await page.keyboard.press('Enter');
  await page.waitForFunction(([s, r]) => !document.querySelector(`#grid td[data-side=${s}][data-row="${r}"] input`), [side, row]);
}


test('a typed count recalculates the panel as kestrin-cli does', async () => {
  const page = await openPage();
  await page.click('#grid td[data-side=attacker][data-row="1"]');
  assert.equal(await page.getAttribute('.cell-editor', 'aria-label'), 'Harpy attacker ships');
  await page.keyboard.type('1.5k');
  await page.keyboard.press('Tab');
  await page.click('#grid td[data-side=defender][data-row="1"]');
  await page.keyboard.type('900');
  await page.keyboard.press('Enter');
  const saved = join(folder, 'typed.kbf');
  const lines = Array(130).fill('');
  lines[0] = '900';
  lines[1] = '1500';
  writeFileSync(saved, lines.map((l) => l + '\r\n').join(''));
  const expected = lastLine(runCli('calc', saved)).panel;
  await page.waitForFunction((tir) => document.querySelector('[data-panel=TIR]').textContent === tir, expected.TIR);
  assert.deepEqual(await panelOf(page), expected);
  await page.close();
});

// The grid takes its colours and texts from the core's view: the sides' colours, each column's
// text colour, a combat report's columns in the held and lost colours, in parentheses, and the
// cell a notice is about.
test('the grid draws the colours, texts and notices the core hands it, the report view too', async () => {
  const page = await openPage();
  const cell = (col, row) => page.$eval(`#grid td[data-col="${col}"][data-row="${row}"]`,
    (td) => ({ background: getComputedStyle(td).backgroundColor, color: getComputedStyle(td).color, text: td.textContent }));
  assert.equal((await cell(0, 5)).background, 'rgb(20, 50, 20)');
  assert.equal((await cell(6, 5)).background, 'rgb(70, 20, 20)');
  assert.equal((await cell(3, 5)).background, 'rgb(20, 20, 50)');
  assert.equal((await cell(11, 1)).color, 'rgb(255, 100, 100)');
  await page.click('#report');
  await page.fill('#report-dialog [name=text]', 'Combat Report\nHarpy 20 1 0 10 2 0\n');
  await page.check('#report-dialog [name=kind][value=combat]');
  await page.click('#report-dialog button[value=ok]');
  await page.waitForFunction(() => document.querySelector('#grid td[data-col="11"][data-row="1"]').textContent === '(1)');
  assert.equal((await cell(11, 1)).color, 'rgb(255, 150, 255)');
  assert.equal((await cell(10, 1)).color, 'rgb(150, 150, 255)');
  // A notice about a cell is in the status line, and the cell names it as its description.
  await page.click('#grid td[data-side=attacker][data-row="2"]');
  await page.keyboard.type('abc');
  await page.keyboard.press('Enter');
  await page.waitForSelector('#grid td.noticed');
  assert.equal(await page.getAttribute('#grid td[data-side=attacker][data-row="2"]', 'aria-describedby'), 'notice');
  assert.match(await page.textContent('#notice[role=status]'), /'abc' is not a count/);
  await page.close();
});

test('a shared link opens its battle calculated and Copy link gives it back', async () => {
  const file = join(examples, 'raid.kbf');
  const bytes = readFileSync(file);
  const page = await openPage('#' + fragment(bytes));
  assert.deepEqual(await panelOf(page), lastLine(runCli('calc', file)).panel);
  // Once opened the address drops the link; Copy link gives it back without putting it there.
  assert.equal(new URL(page.url()).hash, '');
  await page.context().grantPermissions(['clipboard-read', 'clipboard-write']);
  await page.click('#copy-link');
  await page.waitForFunction(() => document.querySelector('#notice').textContent !== '');
  const told = await noticeOf(page);
  const link = told.startsWith('Copy this link: ') ? told.slice('Copy this link: '.length) : await page.evaluate(() => navigator.clipboard.readText());
  assert.equal(new URL(link).hash, '#' + fragment(bytes));
  assert.equal(new URL(page.url()).hash, '');
  await page.close();
});

test('a battle file opens and saves byte for byte, ticks step as calc --ticks does', async () => {
  const file = join(examples, 'fleet_battle.kbf');
  const page = await openPage();
  await page.setInputFiles('#open-file', file);
  const ticks = runCli('calc', file, '--ticks', '3').trim().split('\n').map((l) => JSON.parse(l));
  await page.waitForFunction((dloss) => document.querySelector('[data-panel=DLoss]').textContent === dloss, ticks[0].panel.DLoss);
  assert.deepEqual(await panelOf(page), ticks[0].panel);
  const download = page.waitForEvent('download');
  await page.click('#save');
  // The copy is named after the file the battle came from.
  assert.equal((await download).suggestedFilename(), 'fleet_battle.kbf');
  const saved = readFileSync(await (await download).path());
  assert.deepEqual(saved, readFileSync(file));
  await page.click('#tick-forward');
  await page.click('#tick-forward');
  assert.deepEqual(await panelOf(page), ticks[2].panel);
  await page.close();
});

// Runs a sweep of the attacker's first row from 0 to `to` and waits for the findings over every value.
async function sweepOnPage(page, to, ticks) {
  await page.click('#show-planner');
  await page.selectOption('#sweep-form [name=side]', 'attacker');
  const row = await page.$eval('#sweep-form [name=row]', (select) => select.options[0].value);
  await page.fill('#sweep-form [name=from]', '0');
  await page.fill('#sweep-form [name=to]', String(to));
  await page.fill('#sweep-form [name=ticks]', String(ticks));
  await page.click('#sweep-form [type=submit]');
  await page.waitForFunction(() => document.querySelector('#findings-scope').textContent.startsWith('Findings, every value'));
  return row;
}

test("the planner's findings are kestrin-cli sweep --findings", async () => {
  const file = join(examples, 'raid.kbf');
  const page = await openPage('#' + fragment(readFileSync(file)));
  const row = await sweepOnPage(page, 300, 2);
  const expected = JSON.parse(runCli('sweep', file, '--vary', `attacker:${row}`, '--from', '0', '--to', '300', '--ticks', '2', '--findings'));
  for (const [key, cliKey] of [['mostRoids', 'mostRoids'], ['lowestLossPerRoid', 'lowestLossPerRoid'], ['defenderWiped', 'defenderWipedOut']]) {
    const shown = await page.$eval(`#findings [data-finding=${key}]`, (li) => li.dataset.value ?? null);
    assert.equal(shown, expected[cliKey] ? String(expected[cliKey].value) : null, key);
  }
  // A chosen finding is read out as the plot shows it, and again when the plot changes.
  await page.click('#findings [data-finding=mostRoids] button');
  const whole = await page.textContent('#readout');
  await page.selectOption('#sweep-form [name=plot]', 'last');
  const last = await page.textContent('#readout');
  assert.match(whole, new RegExp(`= ${Number(expected.mostRoids.value).toLocaleString('en-US')} \\(whole battle\\): Init\\. roids captured ${expected.mostRoids.initRoidsCaptured.toLocaleString('en-US')}`));
  assert.match(last, /\(at the last tick\)/);
  assert.notEqual(last.replace('at the last tick', ''), whole.replace('whole battle', ''));
  await page.close();
});

// The page draws the desktop's chart: the whole battle as kestrin-cli sweep's ticks sum to
// it (each side's value left the last tick's), each figure's axis as the desktop's scale for
// the same points and findings, in both plots.
test("the chart's figures are kestrin-cli sweep's whole battle and its axes the desktop's", async () => {
  const file = join(examples, 'raid.kbf');
  const page = await openPage('#' + fragment(readFileSync(file)));
  const row = await sweepOnPage(page, 1000, 3);
  const points = runCli('sweep', file, '--vary', `attacker:${row}`, '--from', '0', '--to', '1000', '--points', '21', '--ticks', '3');
  const expected = JSON.parse(execFileSync(process.env.KESTRIN_PLANNER_EXPECTATIONS, [file, 'attacker', row], { input: points, encoding: 'utf8' }));
  const figures = await page.$$eval('#sweep-form [name=figure] option', (options) => options.map((o) => o.value));
  assert.equal(figures.length, 14);
  for (const plot of ['whole', 'last']) {
    await page.selectOption('#sweep-form [name=plot]', plot);
    for (const figure of figures) {
      await page.selectOption('#sweep-form [name=figure]', figure);
      const drawn = await page.$eval('#chart', (canvas) => ({ axis: JSON.parse(canvas.dataset.axis), plotted: JSON.parse(canvas.dataset.plotted) }));
      assert.deepEqual(drawn.axis, expected.axes[plot][figure], `${plot} axis of figure ${figure}`);
      if (plot === 'whole') assert.deepEqual(drawn.plotted, expected.whole.map((point) => point[figure]), `figure ${figure}`);
    }
  }
  await page.close();
});

// A change while the sweep runs leaves its values unusable; undoing the change makes them
// usable again, as the desktop's planner does.
test('a result of a battle changed during the run cannot be used', async () => {
  const file = join(examples, 'raid.kbf');
  const page = await openPage('#' + fragment(readFileSync(file)));
  await page.click('#show-planner');
  await page.fill('#sweep-form [name=to]', '50000');
  await page.click('#sweep-form [type=submit]');
  await page.click('#grid tr:nth-child(2) td:nth-child(2)');  // the defender's first unit row
  await page.keyboard.type('5');
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => document.querySelector('#findings-scope').textContent.startsWith('Findings, every value'));
  await page.click('#findings [data-finding=mostRoids] button');
  assert.equal(await page.isDisabled('#use-value'), true);
  assert.match(await page.textContent('#sweep-title'), /out of date: the battle has changed/);
  await page.click('#undo');
  assert.equal(await page.isDisabled('#use-value'), false);
  await page.close();
});

// Cancel ends both workers' work at once, tells nothing, and the planner runs again; while a
// sweep runs, Best Fleet is refused in the desktop's words.
test('Cancel ends a sweep and the planner runs again', async () => {
  const file = join(examples, 'raid.kbf');
  const page = await openPage('#' + fragment(readFileSync(file)));
  await page.click('#show-planner');
  await page.fill('#sweep-form [name=to]', '99999');  // every value tried: a long run
  await page.click('#sweep-form [type=submit]');
  // Best Fleet waits for the sweep, as the desktop's does.
  await page.click('[data-tab=best]');
  await page.click('#best-form [type=submit]');
  assert.equal(await page.textContent('#best-message'), 'The sweep is running: wait for it or cancel it.');
  await page.click('[data-tab=sweep]');
  await page.click('#sweep-form .cancel');
  await page.waitForFunction(() => !document.querySelector('#sweep-form [type=submit]').disabled);
  assert.equal(await page.textContent('#sweep-message'), '');
  assert.equal(await sweepOnPage(page, 300, 2), await page.$eval('#sweep-form [name=row]', (select) => select.value));
  await page.close();
});

// A worker whose core does not load, or that traps, ends both workers and says so; the
// planner runs again afterwards.
test('a failing planner worker is told and never leaves the page waiting', async () => {
  const file = join(examples, 'raid.kbf');
  const worker = readFileSync(join(web, 'worker.js'), 'utf8');
  for (const [broken, said] of [
    [worker.replace("importScripts('kestrin.js')", "importScripts('no-such-core.js')"), /The planner's worker stopped/],
    [worker.replace('const reply = JSON.parse(', "if (name === 'sweepEveryValue') throw new WebAssembly.RuntimeError('unreachable');\n    const reply = JSON.parse("), /unreachable.*both workers were restarted/],
  ]) {
    const context = await browser.newContext({ serviceWorkers: 'block' });
    // The served answer's headers kept: a cross-origin isolated page loads no worker without them.
    await context.route('**/worker.js', async (route) => route.fulfill({ response: await route.fetch(), body: broken }));
    const page = await context.newPage();
    await page.goto(`${origin}/index.html#${fragment(readFileSync(file))}`);
    await page.waitForSelector('body[data-ready=true]');
    await page.click('#show-planner');
    await page.click('#sweep-form [type=submit]');
    await page.waitForFunction(() => !document.querySelector('#sweep-form [type=submit]').disabled);
    assert.match(await page.textContent('#sweep-message'), said);
    // The restarted workers may be fetching worker.js still: that answer is not waited for.
    await context.unrouteAll({ behavior: 'ignoreErrors' });
    await context.close();
  }
});

// Both workers search together (the served page is cross-origin isolated) and find what
// kestrin-cli finds: a space walked whole, and one too large for that searched by climbs.
test('Best Fleet on both cores finds the fleet kestrin-cli optimise finds', async () => {
  const file = join(examples, 'raid.kbf');
  const page = await openPage('#' + fragment(readFileSync(file)));
  assert.equal(await page.evaluate(() => crossOriginIsolated), true);
  await page.click('#show-planner');
  await page.click('[data-tab=best]');
  for (const [pods, harpies, goal] of [[150, 200, 'loss-per-roid'], [900, 600, 'roids']]) {
    await page.click('#tick-none');
    await page.check('#best-rows [name=vary][value="49"]');
    await page.check('#best-rows [name=vary][value="1"]');
    await page.fill('#best-rows [name=bound][data-row="49"]', String(pods));
    await page.fill('#best-rows [name=bound][data-row="1"]', String(harpies));
    await page.selectOption('#best-form [name=goal]', goal);
    await page.fill('#best-form [name=ticks]', '2');
    await page.click('#best-form [type=submit]');
    await page.waitForFunction(() => !document.querySelector('#best-form [type=submit]').disabled);
    const expected = JSON.parse(runCli('optimise', file, '--vary', `attacker:49=${pods},attacker:1=${harpies}`,
      '--goal', goal, '--ticks', '2'));
    assert.equal(await page.$eval('#best-form', (form) => form.dataset.cores), '2');
    const shown = await page.$$eval('#best-fleet tr[data-row]', (rows) => Object.fromEntries(rows
      .map((tr) => [tr.dataset.row, tr.querySelector('td').textContent])));
    assert.deepEqual(shown, { 49: expected.fleet.AstroPod.toLocaleString('en-US'), 1: expected.fleet.Harpy.toLocaleString('en-US') });
    const figure = (key) => page.$eval(`#best-figures tr[data-figure=${key}] td`, (td) => td.textContent);
    assert.equal(await figure('initRoidsCaptured'), expected.summed.initRoidsCaptured.toLocaleString('en-US'));
    assert.equal(await figure('attackerFleetChange'), expected.summed.attackerFleetChange.toLocaleString('en-US'));
    assert.equal(await figure('attackerValueLeft'), expected.summed.attackerValueLeft.toLocaleString('en-US'));
    assert.match(await page.textContent('#best-message'), expected.exhaustive ? /^Best fleet of all/ : /not proven the best/);
  }
  await page.close();
});

// What a thumb needs of the page as it stands: no sideways scroll, every control and input
// cell at least 44 px each way (a box or radio by its label), input text of 16 px or more.
function measureForThumbs() {
  const root = document.documentElement;
  const shown = (e) => e.getClientRects().length > 0 && getComputedStyle(e).visibility !== 'hidden';
  const small = [];
  for (const e of document.querySelectorAll('button, select, input, textarea, #grid td.input')) {
    if (!shown(e)) continue;
    const target = e.matches('[type=checkbox], [type=radio]') ? e.closest('label') : e;
    const box = target.getBoundingClientRect();
    if (box.width < 43.5 || box.height < 43.5) small.push(`${e.id || e.name || e.dataset.row || e.textContent.trim()}: ${box.width}x${box.height}`);
  }
  const smallText = [...document.querySelectorAll('select, input:not([type=checkbox]):not([type=radio]), textarea')]
    .filter((e) => shown(e) && parseFloat(getComputedStyle(e).fontSize) < 16).map((e) => e.name || e.id);
  return { sideways: root.scrollWidth - root.clientWidth, small, smallText };
}
const toolbarBoxes = (page) => page.$$eval('.toolbar > *', (tools) => tools.filter((t) => t.getClientRects().length)
  .map((t) => { const b = t.getBoundingClientRect(); return [t.id, b.left, b.top, b.width, b.height]; }));

// Types a count (Undo then names another step) and requires every tool where it was.
async function toolbarStaysAsUndoChanges(page, press) {
  const before = await toolbarBoxes(page);
  const named = await page.getAttribute('#undo', 'aria-label');
  await press('#grid td[data-side=attacker][data-row="1"]');
  await page.keyboard.type('12345');
  await page.keyboard.press('Enter');
  await page.waitForFunction((was) => document.querySelector('#undo').getAttribute('aria-label') !== was, named);
  assert.deepEqual(await toolbarBoxes(page), before);
}

// A phone: the sheet, the planner's two pages and the scan parser each fit a thumb and never
// scroll sideways; both sides' counts show together, the other columns a switch away; the
// tick buttons are at the bottom; the toolbar stays put as Undo's name grows; Share goes to
// the system's sheet; a link shown to copy by hand wraps.
test('on a phone every control fits a thumb and nothing scrolls sideways', async () => {
  const context = await browser.newContext(phone);
  await context.addInitScript(() => {
    navigator.share = async (data) => { window.sharedData = data; };
    navigator.canShare = () => true;
  });
  const page = await context.newPage();
  page.on('pageerror', (error) => assert.fail(`page error: ${error.message}`));
  await page.goto(`${origin}/index.html#${fragment(readFileSync(join(examples, 'raid.kbf')))}`);
  await page.waitForSelector('body[data-ready=true]');
  const check = async (where) => assert.deepEqual(await page.evaluate(measureForThumbs), { sideways: 0, small: [], smallText: [] }, where);
  await check('the sheet');
  const inView = (selector) => page.$eval(selector, (e) => {
    const b = e.getBoundingClientRect();
    return b.left >= 0 && b.right <= innerWidth && b.width > 0;
  });
  assert.ok(await inView('#grid td[data-side=defender][data-row="1"]'));
  assert.ok(await inView('#grid td[data-side=attacker][data-row="1"]'));
  const hiddenCells = () => page.$$eval('#grid tr:nth-child(2) td', (tds) => tds.filter((td) => !td.getClientRects().length).length);
  assert.ok(await hiddenCells() > 0);
  await page.click('[data-columns=all]');
  assert.equal(await hiddenCells(), 0);
  await page.click('[data-columns=counts]');
  const tick = await page.$eval('#tick-forward', (b) => b.getBoundingClientRect().bottom);
  assert.ok(tick > 844 - 70, `the tick button ends at ${tick}`);

  await toolbarStaysAsUndoChanges(page, async (cell) => {
    await page.tap(cell);
    await page.waitForSelector('.cell-editor');
    await check('a cell being edited');
  });

  await page.tap('#copy-link');
  await page.waitForFunction(() => window.sharedData);
  assert.match(await page.evaluate(() => window.sharedData.url), new RegExp(`^${origin}/index.html#battle=[\\w-]+$`));
  // Neither a share sheet nor the clipboard: the link is shown, wrapped.
  await page.evaluate(() => {
    delete navigator.share;
    delete navigator.canShare;
    Object.defineProperty(navigator, 'clipboard', { value: undefined });
  });
  await page.tap('#copy-link');
  await page.waitForFunction(() => document.querySelector('#notice').textContent.startsWith('Copy this link'));
  await check('a link to copy by hand');

  await page.tap('#show-planner');
  await check('the sweep');
  await page.tap('[data-tab=best]');
  await check('Best Fleet');
  await page.tap('#close-planner');
  await page.tap('#report');
  await check('the scan parser');
  await page.screenshot({ path: process.env.KESTRIN_SCREENSHOTS ? join(process.env.KESTRIN_SCREENSHOTS, 'phone_parser.png') : join(folder, 'p.png') });
  await context.close();

  const narrow = await openPage('', { width: 360, height: 740 }, { hasTouch: true, isMobile: true });
  await narrow.click('#show-planner');
  assert.deepEqual(await narrow.evaluate(measureForThumbs), { sideways: 0, small: [], smallText: [] });
  await narrow.context().close();
});

// A laptop: the planner stands beside the grid, its answer clear of the screen's edge; the
// toolbar stays put as Undo's name grows.
test('at 1280 px the planner stands beside the grid and the toolbar stays put', async () => {
  const page = await openPage('#' + fragment(readFileSync(join(examples, 'raid.kbf'))));
  await toolbarStaysAsUndoChanges(page, (cell) => page.click(cell));
  await page.click('#show-planner');
  const box = (selector) => page.$eval(selector, (e) => e.getBoundingClientRect().toJSON());
  const grid = await box('#grid-box'), planner = await box('#planner');
  assert.ok(planner.left >= grid.right && planner.top < grid.bottom, JSON.stringify({ grid, planner }));
  await page.click('[data-tab=best]');
  assert.ok((await box('#best-message')).left >= planner.left + 8);
  assert.equal(await page.evaluate(() => document.documentElement.scrollWidth <= innerWidth), true);
  await page.context().close();
});

// The planner as on the desktop: the chart's axes with their ticks and labels; each finding
// used by its own button puts its exact value in the sheet; the row lists hold only rows
// that vary; a sweep too long to try each value states its findings over the points; each
// goal shows the fields it reads.
test("the planner's chart, findings with Use, row lists and the goal's fields", async () => {
  const file = join(examples, 'raid.kbf');
  const page = await openPage('#' + fragment(readFileSync(file)));
  const row = await sweepOnPage(page, 300, 2);
  const ticks = await page.$eval('#chart', (canvas) => JSON.parse(canvas.dataset.ticks));
  assert.ok(ticks.x.length >= 3 && ticks.y.length >= 3, JSON.stringify(ticks));
  const expected = JSON.parse(runCli('sweep', file, '--vary', `attacker:${row}`, '--from', '0', '--to', '300', '--ticks', '2', '--findings'));
  for (const [key, cliKey] of [['mostRoids', 'mostRoids'], ['lowestLossPerRoid', 'lowestLossPerRoid']]) {
    if (!expected[cliKey]) continue;
    await page.click(`#findings [data-finding=${key}] .use`);
    // A count of 0 is an empty cell.
    await page.waitForFunction(([r, v]) => Number(document.querySelector(`#grid td[data-side=attacker][data-row="${r}"]`).textContent.replace(/,/g, '')) === v,
      [row, expected[cliKey].value]);
  }
  for (const side of ['attacker', 'defender']) {
    await page.selectOption('#sweep-form [name=side]', side);
    const captions = await page.$$eval('#sweep-form [name=row] option', (options) => options.map((o) => o.textContent));
    assert.ok(captions.length > 0 && captions.every((caption) => caption.trim() !== ''), `${side}: ${captions}`);
  }
  await page.selectOption('#sweep-form [name=side]', 'attacker');
  await page.fill('#sweep-form [name=to]', '1000000');
  await page.click('#sweep-form [type=submit]');
  await page.waitForFunction(() => !document.querySelector('#sweep-form [type=submit]').disabled);
  assert.equal(await page.textContent('#sweep-message'), '');
  assert.match(await page.textContent('#findings-scope'), /^Findings, /);
  assert.doesNotMatch(await page.textContent('#findings-scope'), /every value/);
  assert.ok(await page.$$eval('#findings li[data-value]', (items) => items.length) > 0);
  await page.click('[data-tab=best]');
  const shownFields = () => page.$$eval('#best-form label[data-field]', (labels) => labels.filter((l) => !l.hidden).map((l) => l.dataset.field));
  for (const [goal, minRoids] of [['roids', false], ['loss-per-roid', true], ['smallest-fleet', false]]) {
    await page.selectOption('#best-form [name=goal]', goal);
    assert.equal((await shownFields()).includes('minRoids'), minRoids, goal);
    assert.ok((await shownFields()).includes('evaluations'), goal);
  }
  await page.context().close();
});

// Best Fleet counts its evaluations as it goes; Cancel keeps the best fleet so far, shown
// with its figures per tick and usable.
test('Best Fleet shows its progress and Cancel keeps the best fleet so far', async () => {
  const page = await openPage('#' + fragment(readFileSync(join(examples, 'raid.kbf'))));
  await page.click('#show-planner');
  await page.click('[data-tab=best]');
  await page.click('#tick-none');
  for (const [row, most] of [['49', '90000'], ['1', '90000'], ['2', '90000']]) {
    await page.check(`#best-rows [name=vary][value="${row}"]`);
    await page.fill(`#best-rows [name=bound][data-row="${row}"]`, most);
  }
  await page.fill('#best-form [name=evaluations]', '1000000');
  await page.click('#best-form [type=submit]');
  await page.waitForFunction(() => /^Fleets evaluated: [1-9][\d,]* of 1,000,000$/.test(document.querySelector('#best-progress').textContent));
  await page.click('#best-form .cancel');
  await page.waitForFunction(() => !document.querySelector('#best-form [type=submit]').disabled);
  assert.match(await page.textContent('#best-message'), /^Best fleet so far \(cancelled after [\d,]+ of /);
  assert.equal(await page.$$eval('#best-fleet tr[data-row]', (rows) => rows.length), 3);
  assert.equal(await page.isDisabled('#use-fleet'), false);
  const periods = await page.$$eval('#best-form [name=period] option', (options) => options.map((o) => o.textContent));
  assert.deepEqual(periods, ['Whole battle', 'Tick 1', 'Tick 2', 'Tick 3']);
  await page.context().close();
});

// A file's problems are each on a line of their own and the notice closes on a click; a
// paste longer than any report is refused with the desktop's bound and leaves the field as it was.
test('file problems are told line by line and close on a click; a huge paste is refused', async () => {
  const page = await openPage();
  const lines = Array(130).fill('');
  lines[1] = 'abc';
  lines[2] = 'x9';
  const bad = join(folder, 'bad.kbf');
  writeFileSync(bad, lines.map((l) => l + '\r\n').join(''));
  await page.setInputFiles('#open-file', bad);
  await page.waitForFunction(() => document.querySelector('#notice').textContent.includes('(click to close)'));
  const notice = await page.$eval('#notice', (e) => ({ lines: e.textContent.split('\n').length, height: e.getBoundingClientRect().height,
    line: parseFloat(getComputedStyle(e).lineHeight) || 16 }));
  assert.ok(notice.lines >= 3 && notice.height >= notice.line * 2.5, JSON.stringify(notice));
  await page.click('#notice');
  assert.equal(await page.isVisible('#notice'), false);
  await page.click('#report');
  const refused = await page.evaluate(() => {
    const area = document.querySelector('#report-dialog [name=text]');
    const data = new DataTransfer();
    data.setData('text/plain', 'x'.repeat(10 * 1024 * 1024));
    const event = new ClipboardEvent('paste', { clipboardData: data, cancelable: true, bubbles: true });
    area.dispatchEvent(event);
    return { prevented: event.defaultPrevented, text: area.value };
  });
  assert.deepEqual(refused, { prevented: true, text: '' });
  assert.match(await page.textContent('#report-message'), /^Nothing was pasted: the text holds 10,485,760 characters, more than any report \(at most 4,194,304\)\.$/);
  await page.context().close();
});

test('at 390x844 nothing lies outside the screen', async () => {
  const page = await openPage('', { width: 390, height: 844 });
  await page.click('#show-planner');
  const outside = await page.evaluate(() => {
    const width = document.documentElement.clientWidth;
    const inScroller = (e) => e.closest('#grid-box, #best-rows');
    return [...document.querySelectorAll('body *')].filter((e) => {
      const box = e.getBoundingClientRect();
      return box.width > 0 && !inScroller(e) && (box.left < -0.5 || box.right > width + 0.5);
    }).map((e) => e.id || e.tagName);
  });
  assert.deepEqual(outside, []);
  assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= document.documentElement.clientWidth));
  await page.close();
});

// Links that carry no battle, opened in a new tab: each says why in the desktop's words and
// leaves the kept battle and the storage as they were; a link a chat app percent-escaped opens.
test('the kept battle survives a bad link in a new tab', async () => {
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
  const first = await openPage('', undefined, context);
  await typeCount(first, 'attacker', 1, '12345');
  const panel = await panelOf(first);
  const before = await stored(first);
  await first.close();
  const data = fragment(readFileSync(join(examples, 'raid.kbf'))).slice('battle='.length);
  for (const [hash, said] of [
    ['#battle=abcd', 'Incorrect File Length !!!'],
    ['#battle=' + data.slice(0, Math.floor(data.length / 4) * 4 - 3), 'The battle link is cut short'],
    ['#battle=' + data.slice(0, 20) + '!' + data.slice(21), "The battle link holds a character that is not base64url: '!'"],
  ]) {
    const page = await openPage(hash, undefined, context);
    assert.equal(await noticeOf(page), said, hash.slice(0, 40));
    assert.deepEqual(await panelOf(page), panel);
    assert.equal(await stored(page), before);
    await page.goto(`${origin}/index.html`);
    await page.waitForSelector('body[data-ready=true]');
    assert.equal(await cellText(page, 'attacker', 1), '12,345');
    await page.close();
  }
  const page = await openPage('#battle%3D' + data, undefined, context);
  assert.deepEqual(await panelOf(page), lastLine(runCli('calc', join(examples, 'raid.kbf'))).panel);
  assert.equal(new URL(page.url()).hash, '');
  // The battle before the link stays kept under its name.
  assert.deepEqual(await page.$$eval('#kept-battles option', (options) => options.map((o) => o.value)), ['Battle', 'Shared battle']);
  await page.selectOption('#kept-battles', 'Battle');
  await page.click('#open-kept');
  await page.waitForFunction(() => document.querySelector('#battle-name').value === 'Battle');
  assert.equal(await cellText(page, 'attacker', 1), '12,345');
  assert.deepEqual(await panelOf(page), panel);
  await context.close();
});

// A phone reloads tabs often: an edit after a link comes back, a battle at tick 3 comes back at
// tick 3 with its earlier ticks, and a link opened at tick 3 is a battle of its own at tick 1.
test('an edit after a link and a battle at tick 3 survive a reload', async () => {
  const file = join(examples, 'fleet_battle.kbf');
  const page = await openPage('#' + fragment(readFileSync(file)), phone.viewport,
    await browser.newContext(phone));
  assert.equal(new URL(page.url()).hash, '');
  await typeCount(page, 'attacker', 1, '12345');
  await page.reload();
  await page.waitForSelector('body[data-ready=true]');
  assert.equal(await cellText(page, 'attacker', 1), '12,345');
  await page.click('#tick-forward');
  const tickTwo = await panelOf(page);
  await page.click('#tick-forward');
  const tickThree = await panelOf(page);
  assert.equal(tickThree.TickIndicator, 'Tick 3');
  await page.reload();
  await page.waitForSelector('body[data-ready=true]');
  assert.deepEqual(await panelOf(page), tickThree);
  await page.click('#tick-back');
  assert.deepEqual(await panelOf(page), tickTwo);
  await page.click('#tick-forward');
  await page.evaluate((hash) => { location.hash = hash; }, fragment(readFileSync(join(examples, 'raid.kbf'))));
  await page.waitForFunction(() => location.hash === '');
  assert.deepEqual(await panelOf(page), lastLine(runCli('calc', join(examples, 'raid.kbf'))).panel);
  await page.click('#tick-back');
  assert.equal((await panelOf(page)).TickIndicator, 'Tick 1');
  // Undo brings the battle before the link back at its tick.
  await page.click('#undo');
  assert.deepEqual(await panelOf(page), tickThree);
  await page.context().close();
});

// The scan parser's box: a link cut short or too long is told and changes nothing, however
// large; Ctrl+Z in the box, or in the planner's To field, is the field's own and leaves the battle.
test('a cut or too-long link pasted in is told, and Ctrl+Z in a text field leaves the battle', async () => {
  const page = await openPage('', phone.viewport, await browser.newContext(phone));
  await typeCount(page, 'attacker', 1, '12345');
  const panel = await panelOf(page);
  const before = await stored(page);
  const data = fragment(readFileSync(join(examples, 'raid.kbf'))).slice('battle='.length);
  for (const [link, said] of [
    [`see https://example.org/#battle=${data.slice(0, 41)} tonight`, 'The battle link is cut short'],
    [null, 'The battle link is too long'],
  ]) {
    await page.click('#report');
    // A 49 MB link is made in the page: the bound refuses it before anything is decoded.
    if (link) await page.fill('#report-dialog [name=text]', link);
    else {
      await page.$eval('#report-dialog [name=text]', (box) => {
        const pasted = new DataTransfer();
        pasted.setData('text/plain', '#battle=' + 'A'.repeat(49 * 1024 * 1024));
        box.dispatchEvent(new ClipboardEvent('paste', { clipboardData: pasted, bubbles: true, cancelable: true }));
      });
    }
    if (link) await page.click('#report-dialog button[value=ok]');
    await page.waitForFunction((text) => document.querySelector('#notice').textContent === text, said);
    assert.deepEqual(await panelOf(page), panel);
    assert.equal(await stored(page), before);
  }
  await page.click('#report');
  await page.click('#report-dialog [name=text]');
  await page.keyboard.type('Harpy 100');
  await page.keyboard.press('Control+z');
  await page.keyboard.press('Control+z');
  await page.click('#report-dialog button[value=cancel]');
  assert.equal(await cellText(page, 'attacker', 1), '12,345');
  await page.click('#show-planner');
  await page.fill('#sweep-form [name=to]', '2000');
  await page.click('#sweep-form [name=to]');
  await page.keyboard.press('Control+z');
  await page.keyboard.press('Control+y');
  assert.equal(await cellText(page, 'attacker', 1), '12,345');
  // Away from a text field, Ctrl+Z is the battle's.
  await page.click('#show-planner');
  await page.keyboard.press('Control+z');
  await page.waitForFunction(() => document.querySelector('#grid td[data-side=attacker][data-row="1"]').textContent === '');
  await page.context().close();
});

// From the top of the page Tab walks the controls in reading order, stops once in the grid
// and leaves it; Open opens from the keyboard; in the grid the arrows move, Enter edits and
// Escape puts the count back.
test('Tab leaves the grid and reaches Open; the grid is worked from the keyboard', async () => {
  const page = await openPage();
  await page.click('.brand');
  const stops = [];
  while (stops.at(-1) !== 'tick-forward' && stops.length < 40) {
    await page.keyboard.press('Tab');
    stops.push(await page.evaluate(() => {
      const e = document.activeElement;
      return e.closest('#grid') ? 'grid' : e.id || e.tagName;
    }));
  }
  assert.ok(stops.includes('open'), stops.join(' '));
  assert.ok(stops.indexOf('open') < stops.indexOf('grid'));
  const inGrid = stops.filter((stop) => stop === 'grid').length;
  assert.equal(inGrid, 1, stops.join(' '));
  assert.equal(stops[stops.indexOf('grid') + 1], 'tick-back');
  const chooser = page.waitForEvent('filechooser');
  await page.focus('#open');
  await page.keyboard.press('Enter');
  await chooser;

  await page.focus('#grid td[tabindex="0"]');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('ArrowDown');
  const current = await page.$eval('#grid td[tabindex="0"]', (td) => [td.dataset.side, td.dataset.row, td.getAttribute('aria-selected')]);
  assert.deepEqual(current.slice(2), ['true']);
  await page.keyboard.press('Enter');
  await page.keyboard.type('777');
  await page.keyboard.press('Escape');
  assert.equal(await cellText(page, current[0], current[1]), '');
  await page.keyboard.press('Enter');
  await page.keyboard.type('777');
  await page.keyboard.press('Enter');
  await page.waitForFunction(([s, r]) => document.querySelector(`#grid td[data-side=${s}][data-row="${r}"]`).textContent === '777', current);
  const grid = await page.$eval('#grid', (table) => [table.getAttribute('role'), table.getAttribute('aria-rowcount'),
    table.querySelectorAll('[role=gridcell][aria-label]').length > 100]);
  assert.deepEqual(grid, ['grid', String(await page.$$eval('#grid tr', (rows) => rows.length)), true]);
  await page.close();
});

// axe-core finds no serious or critical fault at either size, the planner and the scan parser open too.
test('axe-core finds no serious or critical violation at 390x844 and 1280x800', async () => {
  const axe = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');
  for (const options of [phone, { viewport: { width: 1280, height: 800 } }]) {
    // The checker is injected as a script of the test's own, which the page's
    // Content-Security-Policy rightly refuses: the test context sets the policy aside.
    const context = await browser.newContext({ ...options, bypassCSP: true });
    const page = await openPage('#' + fragment(readFileSync(join(examples, 'raid.kbf'))), options.viewport, context);
    await page.click('#show-planner');
    await page.addScriptTag({ content: axe });
    const faults = await page.evaluate(async () => (await globalThis.axe.run()).violations
      .filter((v) => v.impact === 'serious' || v.impact === 'critical')
      .map((v) => `${v.id}: ${v.nodes.slice(0, 3).map((n) => n.target.join(' ')).join(', ')}`));
    assert.deepEqual(faults, [], `${options.viewport.width}px`);
    await page.context().close();
  }
});

// A page that cannot start says why; one whose storage is refused or full works and says that
// battles will not be kept.
test('the failure states show their message', async () => {
  // While the core loads: a loading sign, and no control that looks usable.
  const slow = await browser.newContext({ serviceWorkers: 'block' });
  let release;
  const held = new Promise((resolve) => { release = resolve; });
  await slow.route('**/kestrin.wasm', async (route) => { await held; await route.continue(); });
  const loading = await slow.newPage();
  await loading.goto(`${origin}/index.html`);
  await loading.waitForSelector('#loading[role=status]:not([hidden])');
  for (const id of ['#open', '#undo', '#redo', '#save', '#tick-forward']) assert.equal(await loading.isDisabled(id), true, id);
  release();
  await loading.waitForSelector('body[data-ready=true]');
  assert.equal(await loading.isHidden('#loading'), true);
  assert.equal(await loading.isDisabled('#open'), false);
  assert.equal(await loading.isDisabled('#undo'), true);
  await slow.close();

  const missing = await browser.newContext({ serviceWorkers: 'block' });
  await missing.route('**/kestrin.wasm', (route) => route.fulfill({ status: 404, body: 'not found' }));
  const noCore = await missing.newPage();
  await noCore.goto(`${origin}/index.html`);
  await noCore.waitForSelector('#failure [data-failure=core]:not([hidden])');
  assert.equal(await noCore.isHidden('#loading'), true);
  assert.equal(await noCore.isDisabled('#undo'), true);
  await missing.close();

  const asFile = await browser.newPage();
  await asFile.goto(`file://${web}/index.html`);
  await asFile.waitForSelector('#failure [data-failure=file]:not([hidden])');
  await asFile.close();

  for (const [refuse, said] of [
    [() => Object.defineProperty(window, 'localStorage', { get() { throw new DOMException('refused', 'SecurityError'); } }), /refuses the page its storage/],
    [() => { Storage.prototype.setItem = () => { throw new DOMException('full', 'QuotaExceededError'); }; }, /storage for the page is full/],
  ]) {
    const context = await browser.newContext();
    await context.addInitScript(refuse);
    const page = await openPage('', undefined, context);
    await typeCount(page, 'attacker', 1, '500');
    assert.equal(await cellText(page, 'attacker', 1), '500');
    assert.match(await page.textContent('#keep-notice[role=status]'), said);
    // Best Fleet keeps its row choice in the same storage: Find still answers.
    await page.click('#show-planner');
    await page.click('[data-tab=best]');
    await page.click('#best-form [type=submit]');
    await page.waitForFunction(() => document.querySelector('#best-message').textContent !== '');
    await context.close();
  }
});
