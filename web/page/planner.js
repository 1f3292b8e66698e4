// The battle planner: a sweep of one row with its chart and exact findings, and Best Fleet.
// Everything shown (figures, sums, findings in words, axes, Best Fleet's outcome) comes from
// the core as data; this file draws it and forwards the player's input. The work runs in two
// workers (planner_workers.js); a result can be used only while the battle is the one it was
// computed for.
import { Cancelled, PlannerWorkers, WorkerFailed } from './planner_workers.js';

const format = (n) => Number(n).toLocaleString('en-US');
const $ = (selector) => document.querySelector(selector);
const el = (tag, text = '') => Object.assign(document.createElement(tag), { textContent: text });

// What a worker's failure tells the player: both workers have been ended and started again.
const failureText = (error) => `The planner's worker stopped (${error.message}): both workers were restarted. Run again.`;

export class Planner {
  // `host`: battle() bytes, form() (the core's planner form), sweepCurrent(bytes, side, row),
  // fleetCurrent(bytes, rows), tick(), use(side, counts, step). `makeWorker` makes one worker.
  constructor(host, makeWorker = () => new Worker('worker.js')) {
    this.host = host;
    this.makeWorker = makeWorker;
    this.sweepForm = $('#sweep-form');
    this.bestForm = $('#best-form');
    this.sweep = null;  // { view, battle, chosen: {value, figures: {whole, last}} }
    this.fleet = null;  // { view, battle }
    this.sweepForm.side.onchange = () => this.fillRows();
    this.sweepForm.onsubmit = (event) => { event.preventDefault(); this.runSweep(); };
    this.bestForm.onsubmit = (event) => { event.preventDefault(); this.runBest(); };
    for (const form of [this.sweepForm, this.bestForm]) form.querySelector('.cancel').onclick = () => this.cancel();
    this.sweepForm.figure.onchange = this.sweepForm.plot.onchange = () => this.showSweep();
    this.bestForm.period.onchange = () => this.showFleetFigures();
    this.bestForm.goal.onchange = () => this.showGoalFields();
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

  // The workers and their cores start when the planner is first opened, not with the page:
  // a page opened to type a count loads one core, not three.
  get workers() {
    this.started ??= new PlannerWorkers(this.makeWorker);
    return this.started;
  }

  open() {
    $('#planner').hidden = false;
    void this.workers;  // the cores load while the player fills the form
    const form = this.host.form();
    this.figures = form.figures;
    this.noValue = form.noValue;
    this.rows = form.rows;
    this.words = form;
    $('#fleet-stale').textContent = form.fleetOutOfDate;
    if (!this.fleet && !$('#best-message').textContent) $('#best-message').textContent = form.bestFleetHint;
    const figure = this.sweepForm.figure;
    if (!figure.options.length) {
      for (const [index, { title }] of form.figures.entries()) figure.add(new Option(title, index));
      figure.value = String(form.figures.findIndex(({ key }) => key === 'initRoidsCaptured'));
    }
    const goal = this.bestForm.goal;
    if (!goal.options.length) {
      for (const { name, title } of form.goals) goal.add(new Option(title, name));
      this.showGoalFields();
    }
    this.fillRows();
    this.fillBestRows(form);
    $('#planner').scrollIntoView({ block: 'start' });
  }

  // Only the fields the chosen goal reads are shown (the core says which).
  showGoalFields() {
    const fields = this.words.goals.find(({ name }) => name === this.bestForm.goal.value)?.fields ?? [];
    for (const label of this.bestForm.querySelectorAll('label[data-field]')) label.hidden = !fields.includes(label.dataset.field);
  }

  showTab(name) {
    for (const tab of document.querySelectorAll('[data-tab]')) tab.classList.toggle('active', tab.dataset.tab === name);
    this.sweepForm.hidden = name !== 'sweep';
    this.bestForm.hidden = name !== 'best';
  }

  fillRows() {
    const select = this.sweepForm.row;
    const kept = select.value;
    select.replaceChildren(...this.rows[this.sweepForm.side.value].map(({ row, caption }) => new Option(caption, row)));
    if (kept) select.value = kept;
  }

  // The battle changed: results of another battle cannot be used (the core decides which
  // changes matter: a sweep's own row may change, so may a fleet's rows).
  battleChanged() {
    this.refreshUse();
    if (!$('#planner').hidden) this.fillBestRows(this.host.form());
  }

  sweepIsCurrent() {
    const run = this.sweep;
    return !!run && this.host.sweepCurrent(run.battle, run.view.input.side, run.view.input.row);
  }

  fleetIsCurrent() {
    const run = this.fleet;
    return !!run?.view.rows && this.host.fleetCurrent(run.battle, run.view.rows.map(({ row }) => row));
  }

  refreshUse() {
    const sweepStale = !!this.sweep && !this.sweepIsCurrent();
    const fleetStale = !!this.fleet?.view.rows && !this.fleetIsCurrent();
    $('#use-value').disabled = !this.sweep?.chosen || sweepStale || !!this.running;
    for (const use of document.querySelectorAll('#findings .use')) use.disabled = sweepStale || !!this.running;
    $('#use-fleet').disabled = !this.fleet?.view.rows || fleetStale || !!this.running;
    $('#fleet-stale').hidden = !fleetStale;
    if (this.sweep?.view.points.length) {
      const title = $('#sweep-title');
      title.textContent = this.plot().title + (sweepStale ? `  (${this.words.sweepOutOfDate})` : '');
      title.classList.toggle('warning', sweepStale);
    }
  }

  busy(form, running) {
    this.running = running ? form : null;
    form.querySelector('[type=submit]').disabled = running;
    form.querySelector('.cancel').disabled = !running;
    form.querySelector('progress').hidden = !running;
    this.refreshUse();
  }

  cancel() {
    this.workers.cancel();
  }

  // A failure is told where the form shows its messages; Cancel tells nothing.
  tell(where, error) {
    if (error instanceof Cancelled) return;
    where.textContent = error instanceof WorkerFailed ? failureText(error) : error.message;
  }

  async runSweep() {
    const form = this.sweepForm;
    // The two never each run on both workers: the other waits or is cancelled.
    if (this.running) return void ($('#sweep-message').textContent = this.words.searchRunning);
    const request = {
      side: form.side.value, row: Number(form.row.value),
      from: form.from.value, to: form.to.value, points: form.points.value, ticks: form.ticks.value,
    };
    const battle = this.host.battle();
    const message = $('#sweep-message');
    this.busy(form, true);
    message.textContent = '';
    try {
      await this.workers.guarded(async ([points, every]) => {
        const chart = points.call('sweepChart', request, battle);
        const exact = every.call('sweepEveryValue', request, battle);
        exact.catch(() => {});  // awaited after the chart
        const view = await chart;
        if (view.error) { message.textContent = view.error; return; }
        this.sweep = { view, battle, chosen: null };
        this.showSweep();
        const found = await exact;
        if (found.error) throw new Error(found.error);
        if (!found.none) {
          this.sweep.view = found;
          this.showSweep();
        }
      });
    } catch (error) {
      this.tell(message, error);
    } finally {
      this.busy(form, false);
    }
  }

  plot() {
    return this.sweep.view.plots[this.sweepForm.plot.value];
  }

  showSweep() {
    if (!this.sweep?.view.points.length) return;
    const plot = this.plot();
    this.refreshUse();
    $('#findings-scope').textContent = this.sweep.view.scope;
    $('#findings').replaceChildren(...plot.findings.map((finding) => {
      const li = el('li');
      li.dataset.finding = finding.key;
      if (finding.value === null) {
        li.textContent = finding.text;
        return li;
      }
      li.dataset.value = finding.value;
      const point = { value: finding.value, figures: finding.figures };
      const choose = el('button', finding.text);
      choose.type = 'button';
      choose.className = 'link text';
      choose.onclick = () => this.choose(point);
      // Use puts the finding's exact value into the sheet at once.
      const use = el('button', 'Use');
      use.type = 'button';
      use.className = 'use';
      use.setAttribute('aria-label', `Use ${format(finding.value)}`);
      use.onclick = () => { this.choose(point); this.useValue(); };
      li.append(choose, use);
      return li;
    }));
    if (this.sweep.chosen) this.readout(this.sweep.chosen);
    this.draw();
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
    if (!this.sweep?.view.points.length) return;
    const { view } = this.sweep;
    const plot = this.plot();
    const mode = this.sweepForm.plot.value;
    const figure = Number(this.sweepForm.figure.value);
    const x = view.xAxis, y = plot.axes[figure];
    // What is drawn, as data: the browser tests compare it with the desktop's.
    canvas.dataset.axis = JSON.stringify({ min: y.min, max: y.max, step: y.step });
    canvas.dataset.plotted = JSON.stringify(plot.figures.map((figures) => figures[figure]));
    canvas.dataset.ticks = JSON.stringify({ x: view.xAxis.ticks.map(({ label }) => label), y: y.ticks.map(({ label }) => label) });
    const pad = { l: 78, r: 30, t: 12, b: 44 };
    const w = box.width - pad.l - pad.r, h = box.height - pad.t - pad.b;
    const px = (v) => pad.l + ((v - x.min) / (x.max - x.min)) * w;
    // A figure beyond its axis is drawn at the edge.
    const py = (v) => pad.t + h - ((Math.min(y.max, Math.max(y.min, v)) - y.min) / (y.max - y.min)) * h;
    this.geometry = { px };
    g.font = '12px Arial, sans-serif';
    // The axes' ticks as the core placed them: a line across the plot, a mark and a label.
    g.lineWidth = 1;
    for (const tick of y.ticks) {
      g.strokeStyle = '#262636';
      g.beginPath(); g.moveTo(pad.l, py(tick.value)); g.lineTo(pad.l + w, py(tick.value)); g.stroke();
      g.strokeStyle = '#888';
      g.beginPath(); g.moveTo(pad.l - 5, py(tick.value)); g.lineTo(pad.l, py(tick.value)); g.stroke();
    }
    for (const tick of x.ticks) {
      g.strokeStyle = '#262636';
      g.beginPath(); g.moveTo(px(tick.value), pad.t); g.lineTo(px(tick.value), pad.t + h); g.stroke();
      g.strokeStyle = '#888';
      g.beginPath(); g.moveTo(px(tick.value), pad.t + h); g.lineTo(px(tick.value), pad.t + h + 5); g.stroke();
    }
    g.strokeStyle = '#555';
    g.strokeRect(pad.l, pad.t, w, h);
    g.fillStyle = '#ccc';
    g.textAlign = 'right';
    for (const tick of y.ticks) g.fillText(tick.label, pad.l - 8, py(tick.value) + 4);
    g.textAlign = 'center';
    for (const tick of x.ticks) g.fillText(tick.label, px(tick.value), pad.t + h + 18);
    // The axes' names: the varied input across, the figure up the side.
    g.fillStyle = '#aab';
    g.fillText(view.input.caption, pad.l + w / 2, box.height - 6);
    g.save();
    g.translate(12, pad.t + h / 2);
    g.rotate(-Math.PI / 2);
    g.fillText(this.figures[figure].title, 0, 0);
    g.restore();
    g.textAlign = 'start';
    g.strokeStyle = '#6cf';
    g.lineWidth = 2;
    g.beginPath();
    let drawing = false;
    view.points.forEach((point, i) => {
      const value = plot.figures[i][figure];
      if (value === null) { drawing = false; return; }  // no value here: the line breaks
      if (drawing) g.lineTo(px(point.value), py(value)); else g.moveTo(px(point.value), py(value));
      drawing = true;
    });
    g.stroke();
    // Each point the sweep computed.
    g.fillStyle = '#6cf';
    view.points.forEach((point, i) => {
      const value = plot.figures[i][figure];
      if (value === null) return;
      g.beginPath();
      g.arc(px(point.value), py(value), 3, 0, 2 * Math.PI);
      g.fill();
    });
    g.fillStyle = '#f96';
    for (const finding of plot.findings) {
      if (finding.value !== null && finding.figure === figure) g.fillRect(px(finding.value) - 5, py(finding.figures[mode][figure]) - 5, 10, 10);
    }
    const chosen = this.sweep.chosen?.figures[mode][figure];
    if (chosen !== undefined && chosen !== null) {
      g.fillStyle = '#fc6';
      g.fillRect(px(this.sweep.chosen.value) - 4, py(chosen) - 4, 8, 8);
    }
  }

  hover(event, choose) {
    if (!this.geometry || !this.sweep?.view.points.length) return;
    const box = event.currentTarget.getBoundingClientRect();
    const x = event.clientX - box.left;
    const { points } = this.sweep.view;
    let best = 0;
    points.forEach((p, i) => { if (Math.abs(this.geometry.px(p.value) - x) < Math.abs(this.geometry.px(points[best].value) - x)) best = i; });
    const { plots } = this.sweep.view;
    const point = { value: points[best].value, figures: { whole: plots.whole.figures[best], last: plots.last.figures[best] } };
    if (choose) this.choose(point); else this.readout(point);
  }

  // The figures of a point as plotted now, the chosen figure first.
  readout(point) {
    const plot = this.plot();
    const figures = point.figures[this.sweepForm.plot.value];
    const figure = Number(this.sweepForm.figure.value);
    const order = [figure, ...this.figures.keys()].filter((f, i, all) => all.indexOf(f) === i);
    const parts = order.map((f) => `${this.figures[f].title} ${figures[f] === null ? this.noValue : format(figures[f])}`);
    $('#readout').textContent = `${this.sweep.view.input.caption} = ${format(point.value)} (${plot.when}): ${parts.join(' · ')}`;
  }

  choose(point) {
    this.sweep.chosen = point;
    this.readout(point);
    $('#use-value').textContent = `Use this value (${format(point.value)})`;
    this.refreshUse();
    this.draw();
  }

  useValue() {
    const run = this.sweep;
    if (!run?.chosen || this.running || !this.sweepIsCurrent()) return this.refreshUse();
    const { side, row } = run.view.input;
    this.host.use(side, { [row]: run.chosen.value }, 'Use This Value');
    $('#readout').textContent += ` (the sheet shows tick ${this.host.tick()})`;
  }

  fillBestRows(form) {
    const table = $('#best-rows');
    let kept = [];
    try { kept = JSON.parse(localStorage.getItem('kestrin.bestRows') || '[]'); } catch { /* storage refused: no choice kept */ }
    const bounds = new Map([...table.querySelectorAll('input[name=bound]')].map((input) => [input.dataset.row, input.value]));
    table.replaceChildren(...form.fleetRows.map(({ row, caption, count }) => {
      const tr = document.createElement('tr');
      tr.innerHTML = '<td><label><input type="checkbox" name="vary"> <span></span></label></td><td></td>' +
        '<td><input name="bound" inputmode="numeric" size="8"></td>';
      tr.querySelector('span').textContent = caption;
      tr.children[1].textContent = format(count);
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
    try { localStorage.setItem('kestrin.bestRows', JSON.stringify(rows)); } catch { /* storage refused or full: not kept */ }
  }

  async runBest() {
    const form = this.bestForm;
    if (this.running) return void ($('#best-message').textContent = this.words.sweepRunning);
    this.keepRowChoice();
    const rows = [...form.querySelectorAll('[name=vary]:checked')].map((box) => {
      const bound = form.querySelector(`[name=bound][data-row="${box.value}"]`);
      return [Number(box.value), bound.value.trim() ? bound.value : bound.placeholder];
    });
    const request = {
      goal: form.goal.value, rows, minRoids: form.minRoids.value, maxLoss: form.maxLoss.value,
      ticks: form.ticks.value, evaluations: form.evaluations.value,
    };
    const message = $('#best-message');
    const battle = this.host.battle();
    this.busy(form, true);
    this.fleet = null;
    $('#best-fleet').replaceChildren();
    $('#best-figures').replaceChildren();
    for (const part of form.querySelectorAll('.answer')) part.hidden = true;
    message.replaceChildren();
    const progress = form.querySelector('progress');
    progress.removeAttribute('value');
    $('#best-progress').textContent = '';
    form.dataset.cores = globalThis.crossOriginIsolated ? 2 : 1;
    const heard = ({ text, done, planned }) => {
      progress.max = planned;
      progress.value = done;
      $('#best-progress').textContent = text;
    };
    try {
      const view = await this.workers.bestFleet(request, battle, rows.length, globalThis.crossOriginIsolated, heard);
      if (view.error) { message.textContent = view.error; return; }
      this.fleet = { view, battle };
      this.showFleet();
    } catch (error) {
      this.tell(message, error);
    } finally {
      this.busy(form, false);
    }
  }

  // The outcome in words, the fleet beside the grid's, the figures of the chosen period.
  showFleet() {
    const { view } = this.fleet;
    const lead = el('strong', view.outcome.lead);
    if (view.outcome.noFleet) lead.className = 'warning';
    $('#best-message').replaceChildren(lead, view.outcome.rest);
    if (!view.rows) return;
    const header = el('tr');
    header.append(el('th', 'Row'), el('th', 'Best fleet'), el('th', 'On the grid'));
    $('#best-fleet').replaceChildren(header, ...view.rows.map(({ row, caption, best, grid }) => {
      const tr = el('tr');
      tr.dataset.row = row;
      tr.append(el('th', caption), el('td', format(best)), el('td', format(grid)));
      return tr;
    }));
    for (const part of this.bestForm.querySelectorAll('.answer')) part.hidden = false;
    this.bestForm.period.replaceChildren(...view.periods.map(({ name }, i) => new Option(name, i)));
    this.showFleetFigures();
  }

  showFleetFigures() {
    const view = this.fleet?.view;
    if (!view?.periods) return;
    const period = view.periods[Number(this.bestForm.period.value) || 0];
    const header = el('tr');
    header.append(el('th'), el('th', 'Best fleet'), el('th', 'On the grid'));
    $('#best-figures').replaceChildren(header, ...view.figures.map(({ key, title }, f) => {
      const tr = el('tr');
      tr.dataset.figure = key;
      tr.append(el('th', title), el('td', format(period.best[f])), el('td', format(period.grid[f])));
      return tr;
    }));
  }

  useFleet() {
    const run = this.fleet;
    if (!run?.view.rows || this.running || !this.fleetIsCurrent()) return this.refreshUse();
    const counts = Object.fromEntries(run.view.rows.map(({ row, best }) => [row, best]));
    this.host.use('attacker', counts, 'Use This Fleet');
  }
}
