// The battle planner: a sweep of one row with its chart and exact findings, and Best Fleet.
// kestrin-cli runs in two workers, so both cores work while the page stays responsive;
// Cancel ends a worker and starts a fresh one.

const FIGURES = {
  initRoidsCaptured: 'Init. roids captured',
  attackerChangePerInitRoid: 'Attacker loss per init. roid',
  attackerFleetChange: 'Attacker fleet change',
  defenderFleetChange: 'Defender fleet change',
  roidsLost: 'Roids lost',
  metalSalvage: 'Metal salvage',
  crystalSalvage: 'Crystal salvage',
  eoniumSalvage: 'Eonium salvage',
};
const format = (n) => Number(n).toLocaleString('en-US');
const $ = (selector) => document.querySelector(selector);

class WorkerSlot {
  constructor() { this.start(); }
  start() {
    this.worker = new Worker('worker.js');
    this.pending = new Map();
    this.next = 1;
    this.worker.onmessage = ({ data }) => {
      const done = this.pending.get(data.id);
      this.pending.delete(data.id);
      if (done) done.resolve(data);
    };
  }
  run(args, battle, share = null, role = null) {
    const id = this.next++;
    return new Promise((resolve, reject) => {
      this.pending.set(id, { resolve, reject });
      this.worker.postMessage({ id, args, battle, share, role });
    });
  }
  cancel() {
    this.worker.terminate();
    for (const { reject } of this.pending.values()) reject(new Error('cancelled'));
    this.start();
  }
}

const lines = (text) => text.split('\n').filter((line) => line).map((line) => JSON.parse(line));

// A point's figures for the Plot choice: the whole battle (changes and asteroids summed, the
// loss per asteroid as summed change div summed asteroids) or the last tick alone.
function pointFigures(point, plot) {
  const ticks = point.ticks.map((t) => t.figures);
  if (plot === 'last') return ticks[ticks.length - 1];
  const sum = {};
  for (const figures of ticks) for (const [key, value] of Object.entries(figures)) sum[key] = (sum[key] || 0) + value;
  const roids = sum.initRoidsCaptured;
  sum.attackerChangePerInitRoid = roids >= 1 ? Math.trunc(sum.attackerFleetChange / roids) : 0;
  return sum;
}
// Loss per asteroid means nothing where no asteroid is captured: no point there.
const defined = (figures, key) => key !== 'attackerChangePerInitRoid' || figures.initRoidsCaptured >= 1;

export class Planner {
  // `host`: battle() bytes, captions(side), attackerCounts(), tick(), use(side, counts, step).
  constructor(host) {
    this.host = host;
    this.slots = [new WorkerSlot(), new WorkerSlot()];
    this.sweepForm = $('#sweep-form');
    this.bestForm = $('#best-form');
    this.points = [];
    this.chosen = null;
    this.fleet = null;
    const figure = this.sweepForm.figure;
    for (const [key, title] of Object.entries(FIGURES)) figure.add(new Option(title, key));
    this.sweepForm.side.onchange = () => this.fillRows();
    this.sweepForm.onsubmit = (event) => { event.preventDefault(); this.sweep(); };
    this.bestForm.onsubmit = (event) => { event.preventDefault(); this.best(); };
    for (const form of [this.sweepForm, this.bestForm]) form.querySelector('.cancel').onclick = () => this.cancel();
    figure.onchange = this.sweepForm.plot.onchange = () => this.draw();
    for (const tab of document.querySelectorAll('[data-tab]')) tab.onclick = () => this.showTab(tab.dataset.tab);
    $('#close-planner').onclick = () => { this.cancel(); $('#planner').hidden = true; };
    const canvas = $('#chart');
    canvas.addEventListener('pointermove', (event) => this.hover(event, false));
    canvas.addEventListener('pointerdown', (event) => this.hover(event, true));
    $('#use-value').onclick = () => this.useValue();
    $('#use-fleet').onclick = () => this.useFleet();
    $('#tick-all').onclick = () => this.tickRows(true);
    $('#tick-none').onclick = () => this.tickRows(false);
  }

  open() {
    $('#planner').hidden = false;
    this.fillRows();
    this.fillBestRows();
    $('#planner').scrollIntoView({ block: 'start' });
  }

  showTab(name) {
    for (const tab of document.querySelectorAll('[data-tab]')) tab.classList.toggle('active', tab.dataset.tab === name);
    this.sweepForm.hidden = name !== 'sweep';
    this.bestForm.hidden = name !== 'best';
  }

  fillRows() {
    const select = this.sweepForm.row;
    const kept = select.value;
    select.replaceChildren(...this.host.captions(this.sweepForm.side.value).map(({ row, caption }) => new Option(caption, row)));
    if (kept) select.value = kept;
  }

  // Results belong to the battle they were computed for: a change makes them out of date.
  battleChanged() {
    if (this.points.length || this.fleet) {
      this.stale = true;
      $('#use-value').disabled = true;
      $('#use-fleet').disabled = true;
      $('#readout').textContent = 'The battle changed: run again to use a result.';
    }
    if (!$('#planner').hidden) this.fillBestRows();
  }

  busy(form, running) {
    form.querySelector('[type=submit]').disabled = running;
    form.querySelector('.cancel').disabled = !running;
    form.querySelector('progress').hidden = !running;
  }

  cancel() {
    for (const slot of this.slots) slot.cancel();
  }

  async sweep() {
    const form = this.sweepForm;
    const vary = `${form.side.value}:${form.row.value}`;
    const range = ['--from', form.from.value.trim(), '--to', form.to.value.trim(), '--ticks', form.ticks.value.trim()];
    const battle = this.host.battle();
    this.busy(form, true);
    $('#findings').replaceChildren();
    $('#readout').textContent = '';
    try {
      const points = this.slots[0].run(['sweep', '/battle.kbf', '--vary', vary, ...range, '--points', form.points.value.trim()], battle);
      const findings = this.slots[1].run(['sweep', '/battle.kbf', '--vary', vary, ...range, '--findings'], battle);
      const chart = await points;
      if (chart.status !== 0) throw new Error(chart.err.trim());
      this.points = lines(chart.out);
      this.stale = false;
      this.chosen = null;
      this.rowCaption = form.row.selectedOptions[0]?.text ?? '';
      this.sweepSide = form.side.value;
      this.sweepRow = Number(form.row.value);
      this.draw();
      const found = await findings;
      if (found.status !== 0) throw new Error(found.err.trim());
      this.showFindings(JSON.parse(found.out));
    } catch (error) {
      if (error.message !== 'cancelled') $('#readout').textContent = error.message;
    } finally {
      this.busy(form, false);
    }
  }

  showFindings(found) {
    const name = this.rowCaption;
    const items = [];
    const add = (key, text) => {
      const li = document.createElement('li');
      li.dataset.finding = key;
      li.textContent = text;
      items.push(li);
    };
    add('mostRoids', `Most init. roids captured: ${format(found.mostRoids.initRoidsCaptured)}, from ${name} = ${format(found.mostRoids.value)}`);
    if (found.lowestLossPerRoid) {
      add('lowestLossPerRoid', `Least loss per init. roid: ${format(found.lowestLossPerRoid.attackerChangePerInitRoid)} at ${name} = ${format(found.lowestLossPerRoid.value)}`);
    } else {
      add('lowestLossPerRoid', 'Loss per init. roid: no asteroid captured');
    }
    if (found.defenderWipedOut) add('defenderWipedOut', `Defender left no fleet from ${name} = ${format(found.defenderWipedOut.value)}`);
    const over = found.exact ? `Every value from ${format(this.sweepForm.from.value)} to ${format(this.sweepForm.to.value)} tried (${format(found.evaluations)}).`
      : `Over the chart's ${format(found.evaluations)} points only.`;
    add('over', over);
    for (const [key, item] of Object.entries(found)) if (item && typeof item === 'object') items.find((li) => li.dataset.finding === key)?.setAttribute('data-value', item.value);
    $('#findings').replaceChildren(...items);
  }

  draw() {
    const canvas = $('#chart');
    const box = canvas.getBoundingClientRect();
    const scale = window.devicePixelRatio || 1;
    canvas.width = Math.max(1, Math.round(box.width * scale));
    canvas.height = Math.max(1, Math.round(box.height * scale));
    const g = canvas.getContext('2d');
    g.setTransform(scale, 0, 0, scale, 0, 0);
    g.clearRect(0, 0, box.width, box.height);
    if (!this.points.length) return;
    const key = this.sweepForm.figure.value;
    const plot = this.sweepForm.plot.value;
    const data = this.points.map((p) => ({ x: p.value, f: pointFigures(p, plot) })).filter((d) => defined(d.f, key));
    const xs = this.points.map((p) => p.value);
    const ys = data.map((d) => d.f[key]);
    const [x0, x1] = [Math.min(...xs), Math.max(...xs)];
    const [y0, y1] = ys.length ? robustRange(ys) : [0, 1];
    const pad = { l: 64, r: 12, t: 12, b: 28 };
    const w = box.width - pad.l - pad.r, h = box.height - pad.t - pad.b;
    const px = (x) => pad.l + (x1 === x0 ? w / 2 : ((x - x0) / (x1 - x0)) * w);
    const py = (y) => pad.t + h - (y1 === y0 ? h / 2 : ((Math.min(y1, Math.max(y0, y)) - y0) / (y1 - y0)) * h);
    this.geometry = { px, data, key };
    g.font = '12px Arial, sans-serif';
    g.fillStyle = '#ccc';
    g.strokeStyle = '#555';
    g.strokeRect(pad.l, pad.t, w, h);
    g.fillText(format(y1), 4, pad.t + 10);
    g.fillText(format(y0), 4, pad.t + h);
    g.fillText(format(x0), pad.l, box.height - 8);
    const right = format(x1);
    g.fillText(right, pad.l + w - g.measureText(right).width, box.height - 8);
    g.strokeStyle = '#6cf';
    g.lineWidth = 2;
    g.beginPath();
    let drawing = false;
    for (const point of this.points) {
      const f = pointFigures(point, plot);
      if (!defined(f, key)) { drawing = false; continue; }
      const [x, y] = [px(point.value), py(f[key])];
      if (drawing) g.lineTo(x, y); else g.moveTo(x, y);
      drawing = true;
    }
    g.stroke();
    if (this.chosen !== null) {
      g.fillStyle = '#fc6';
      const f = pointFigures(this.points[this.chosen], plot);
      if (defined(f, key)) g.fillRect(px(this.points[this.chosen].value) - 4, py(f[key]) - 4, 8, 8);
    }
  }

  hover(event, choose) {
    if (!this.geometry || !this.points.length) return;
    const box = event.currentTarget.getBoundingClientRect();
    const x = event.clientX - box.left;
    let best = 0;
    this.points.forEach((p, i) => { if (Math.abs(this.geometry.px(p.value) - x) < Math.abs(this.geometry.px(this.points[best].value) - x)) best = i; });
    const point = this.points[best];
    const f = pointFigures(point, this.sweepForm.plot.value);
    const perRoid = f.initRoidsCaptured >= 1 ? format(f.attackerChangePerInitRoid) : 'no asteroid captured';
    const when = this.sweepForm.plot.value === 'last' ? 'at the last tick' : 'whole battle';
    $('#readout').textContent = `${this.rowCaption} = ${format(point.value)} (${when}): init. roids ${format(f.initRoidsCaptured)}, ` +
      `attacker ${format(f.attackerFleetChange)}, defender ${format(f.defenderFleetChange)}, loss per init. roid ${perRoid}`;
    if (choose) {
      this.chosen = best;
      $('#use-value').disabled = this.stale;
      this.draw();
    }
  }

  useValue() {
    if (this.chosen === null || this.stale) return;
    this.host.use(this.sweepSide, { [this.sweepRow]: this.points[this.chosen].value }, 'Use This Value');
    $('#readout').textContent += ` (the sheet shows tick ${this.host.tick()})`;
  }

  fillBestRows() {
    const table = $('#best-rows');
    const kept = JSON.parse(localStorage.getItem('kestrin.bestRows') || '[]');
    const bounds = new Map([...table.querySelectorAll('input[name=bound]')].map((input) => [input.dataset.row, input.value]));
    table.replaceChildren(...this.host.attackerCounts().filter(({ row }) => row <= 54).map(({ row, caption, count }) => {
      const tr = document.createElement('tr');
      tr.innerHTML = `<td><label><input type="checkbox" name="vary"> <span></span></label></td><td>${format(count)}</td>` +
        '<td><input name="bound" inputmode="numeric" size="8"></td>';
      tr.querySelector('span').textContent = caption;
      const box = tr.querySelector('[name=vary]');
      box.value = row;
      box.checked = kept.includes(row);
      box.dataset.ships = count;
      const bound = tr.querySelector('[name=bound]');
      bound.dataset.row = row;
      bound.placeholder = String(count);
      bound.value = bounds.get(String(row)) ?? '';
      return tr;
    }));
  }

  tickRows(all) {
    for (const box of this.bestForm.querySelectorAll('[name=vary]')) box.checked = all && Number(box.dataset.ships) > 0;
    this.keepRowChoice();
  }

  keepRowChoice() {
    const rows = [...this.bestForm.querySelectorAll('[name=vary]:checked')].map((box) => Number(box.value));
    localStorage.setItem('kestrin.bestRows', JSON.stringify(rows));
  }

  async best() {
    const form = this.bestForm;
    this.keepRowChoice();
    const vary = [...form.querySelectorAll('[name=vary]:checked')].map((box) => {
      const bound = form.querySelector(`[name=bound][data-row="${box.value}"]`);
      return `attacker:${box.value}=${(bound.value || bound.placeholder).trim()}`;
    });
    const message = $('#best-message');
    if (!vary.length) { message.textContent = 'Tick the rows to vary.'; return; }
    const args = ['optimise', '/battle.kbf', '--vary', vary.join(','), '--goal', form.goal.value, '--ticks', form.ticks.value.trim()];
    if (form.minRoids.value.trim()) args.push('--min-roids', form.minRoids.value.trim());
    if (form.maxLoss.value.trim()) args.push('--max-loss', form.maxLoss.value.trim());
    this.busy(form, true);
    this.fleet = null;
    $('#use-fleet').disabled = true;
    $('#best-result').replaceChildren();
    message.textContent = '';
    try {
      const run = await this.optimise(args, vary.length);
      if (run.status !== 0) { message.textContent = run.err.trim(); return; }
      const found = JSON.parse(run.out);
      this.fleet = found;
      this.stale = false;
      message.textContent = found.exhaustive ? `Every one of the ${format(found.space)} fleets tried: this is the best.`
        : `${format(found.evaluations)} of ${format(found.space)} fleets tried: the best found, not proven best.`;
      const counts = new Map(this.host.attackerCounts().map(({ caption, count }) => [caption, count]));
      const rows = Object.entries(found.fleet).map(([caption, count]) => `<tr><th>${caption}</th><td>${format(count)}</td><td>${format(counts.get(caption) ?? 0)}</td></tr>`);
      const figures = Object.entries(FIGURES).map(([key, title]) => `<tr><th>${title}</th><td colspan="2">${format(found.summed[key])}</td></tr>`);
      $('#best-result').innerHTML = `<tr><th></th><th>Best fleet</th><th>Grid</th></tr>${rows.join('')}${figures.join('')}`;
      $('#use-fleet').disabled = false;
    } catch (error) {
      if (error.message !== 'cancelled') message.textContent = error.message;
    } finally {
      this.busy(form, false);
    }
  }

  // Both workers search together when the page may share memory between them (a cross-origin
  // isolated page); otherwise one searches alone. The answer is the same either way.
  async optimise(args, rows) {
    const battle = this.host.battle();
    this.cores = globalThis.crossOriginIsolated ? 2 : 1;
    $('#best-form').dataset.cores = this.cores;
    if (this.cores === 1) return this.slots[0].run(args, battle);
    // Room for 1,024 lent fleets: half of the largest batch the search evaluates at once.
    const share = new SharedArrayBuffer(16 + 1024 * (rows * 4 + 24));
    const state = new Int32Array(share, 0, 4);
    const helper = this.slots[1].run(args, battle, share, 'helper').then((reply) => {
      // A helper that stopped must not leave the search waiting for it.
      if (reply.status !== 0) { Atomics.store(state, 0, 3); Atomics.notify(state, 0); }
      return reply;
    });
    helper.catch(() => {});  // cancelled with the search, which says so
    const search = await this.slots[0].run(args, battle, share, 'lending');
    await helper;
    return search;
  }

  useFleet() {
    if (!this.fleet || this.stale) return;
    const byCaption = new Map(this.host.attackerCounts().map(({ row, caption }) => [caption, row]));
    const counts = {};
    for (const [caption, count] of Object.entries(this.fleet.fleet)) counts[byCaption.get(caption)] = count;
    this.host.use('attacker', counts, 'Use This Fleet');
  }
}

// The range of the figures that matter: a lone spike beyond the middle 90% does not flatten
// the rest; it is drawn at the edge.
function robustRange(values) {
  const sorted = [...values].sort((a, b) => a - b);
  const at = (q) => sorted[Math.min(sorted.length - 1, Math.max(0, Math.round(q * (sorted.length - 1))))];
  let [low, high] = sorted.length >= 20 ? [at(0.05), at(0.95)] : [sorted[0], sorted[sorted.length - 1]];
  if (low === high) { low -= 1; high += 1; }
  return [low, high];
}
