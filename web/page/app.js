// The page: one battle session in WebAssembly, the sheet, the results panel, the tool bar,
// the scan parser, links and storage. The planner's work runs in workers (planner.js).
import { loadCore } from './core.js';
import { Grid } from './grid.js';
import { linkFragment, battleFromLink } from './link.js';
import { Planner } from './planner.js';
import { savedName, shareLink } from './toolbar.js';

const STORE_KEY = 'kestrin.battle';
const $ = (selector) => document.querySelector(selector);

const core = await loadCore();
let view = core.view();
const style = core.style();
// The file the battle came from: a saved copy takes its name.
let battleName = '';

function notice(text) {
  const box = $('#notice');
  box.textContent = text;
  box.hidden = !text;
  box.classList.toggle('closable', text.includes('(click to close)'));
}
// A notice that says so closes on a click, as the desktop's does.
$('#notice').onclick = (event) => { if (event.currentTarget.classList.contains('closable')) notice(''); };

// Shows a new view: the grid, the panel's texts as kestrin-cli prints them (each figure's
// full text as its tooltip), the undo names.
function show(next) {
  view = next;
  grid.show(view);
  for (const element of document.querySelectorAll('[data-panel]')) {
    const key = element.dataset.panel;
    if (element.textContent !== view.panel[key]) element.textContent = view.panel[key];
    if (key in view.panelFull) element.title = view.panelFull[key];
  }
  // The step's name goes beside the fixed label, so the toolbar keeps its place.
  for (const [id, word, step, can] of [['undo', 'Undo', view.undo, view.canUndo], ['redo', 'Redo', view.redo, view.canRedo]]) {
    const button = $(`#${id}`);
    button.disabled = !can;
    button.querySelector('.step').textContent = step || '';
    button.setAttribute('aria-label', step ? `${word} ${step}` : word);
  }
  notice(view.notice);
  try {
    localStorage.setItem(STORE_KEY, linkFragment(core.save()));
  } catch {
    // Storage may be full or refused (a private window); the battle stays on the page.
  }
  planner.battleChanged();
}

function act(action) {
  try {
    show(action());
  } catch (error) {
    notice(String(error.message || error));
  }
}

const grid = new Grid($('#grid'), style.colours, {
  type: (col, row, text) => act(() => core.type(col, row, text)),
  erase: (col, row) => act(() => core.erase(col, row, col, row)),
});
const planner = new Planner({
  battle: () => core.save(),
  form: () => core.plannerForm(),
  sweepCurrent: (ranOn, side, row) => core.sweepCurrent(ranOn, side, row),
  fleetCurrent: (ranOn, rows) => core.fleetCurrent(ranOn, rows),
  tick: () => view.tick,
  use: (side, counts, step) => {
    grid.finish();
    act(() => core.useCounts(side, counts, step));
    const rows = Object.keys(counts).map(Number);
    if (rows.length) grid.selectInput(side, Math.min(...rows));
  },
});

// Opens a battle's bytes; `name` is the file they came from (none for a link).
function openBytes(bytes, name = '') {
  grid.finish();
  act(() => core.open(bytes));
  battleName = name;
}

// A command ends any edit first, so that a count still being typed counts.
function command(name) {
  grid.finish();
  act(() => core.command(name));
}

$('#undo').onclick = () => command('undo');
$('#redo').onclick = () => command('redo');
$('#tick-forward').onclick = () => command('forward');
$('#tick-back').onclick = () => command('back');
$('#clear').onchange = (event) => {
  if (event.target.value) command(event.target.value);
  event.target.value = '';
};
$('#open').onclick = () => $('#open-file').click();
$('#open-file').onchange = async (event) => {
  const file = event.target.files[0];
  event.target.value = '';
  if (file) openBytes(new Uint8Array(await file.arrayBuffer()), file.name);
};
$('#save').onclick = () => {
  grid.finish();
  const url = URL.createObjectURL(new Blob([core.save()], { type: 'application/octet-stream' }));
  const a = Object.assign(document.createElement('a'), { href: url, download: savedName(battleName) });
  document.body.appendChild(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 0);
};
$('#copy-link').onclick = async () => {
  grid.finish();
  const url = `${location.origin}${location.pathname}#${linkFragment(core.save())}`;
  history.replaceState(null, '', url);
  const done = await shareLink(url, document.title);
  if (done === 'copied') notice('The link to this battle is copied.');
  else if (done === 'shown') notice(`Copy this link: ${url}`);
};
$('#show-planner').onclick = () => { grid.finish(); planner.open(); };

// A text longer than any report is refused before it reaches the field or the core.
function tooLong(count, tell = notice) {
  const $n = (n) => n.toLocaleString('en-US');
  tell(style.report.tooLong.replace('{count}', $n(count)).replace('{most}', $n(style.report.most)));
}
$('#report-dialog [name=text]').addEventListener('paste', (event) => {
  const pasted = event.clipboardData?.getData('text') ?? '';
  if (pasted.length <= style.report.most) return;
  event.preventDefault();
  tooLong(pasted.length, (text) => { $('#report-message').textContent = text; });
});
// A phone shows the captions and both sides' counts; the other columns are a switch away.
for (const button of document.querySelectorAll('[data-columns]')) {
  button.onclick = () => {
    for (const other of document.querySelectorAll('[data-columns]')) other.setAttribute('aria-pressed', String(other === button));
    $('#grid-box').classList.toggle('counts-only', button.dataset.columns === 'counts');
  };
}

// The scan parser: a report is applied as the desktop's OK does; a Kestrin link opens its battle.
$('#report').onclick = () => {
  grid.finish();
  $('#report-message').textContent = '';
  $('#report-dialog').showModal();
};
$('#report-dialog').addEventListener('close', () => {
  const dialog = $('#report-dialog');
  if (dialog.returnValue !== 'ok') return;
  const form = dialog.querySelector('form');
  const text = form.text.value;
  if (text.length > style.report.most) return void tooLong(text.length);
  const linked = battleFromLink(text);
  if (linked) { openBytes(linked); form.text.value = ''; return; }
  let fleets = 0;
  for (const box of form.querySelectorAll('[name=fleet]:checked')) fleets |= Number(box.value);
  act(() => core.report(form.kind.value, form.side.value, fleets, text));
  form.text.value = '';
});

document.addEventListener('keydown', (event) => {
  const ctrl = event.ctrlKey || event.metaKey;
  if (ctrl && !event.shiftKey && event.key.toLowerCase() === 'z') { event.preventDefault(); command('undo'); }
  else if (ctrl && (event.key.toLowerCase() === 'y' || (event.shiftKey && event.key.toLowerCase() === 'z'))) { event.preventDefault(); command('redo'); }
  else if (event.altKey && event.key === 'ArrowRight') { event.preventDefault(); command('forward'); }
  else if (event.altKey && event.key === 'ArrowLeft') { event.preventDefault(); command('back'); }
});

// A link's battle first; else the battle left in this browser last time.
function startingBattle() {
  const linked = battleFromLink(location.hash);
  if (linked) return linked;
  const stored = localStorage.getItem(STORE_KEY);
  return stored ? battleFromLink('#' + stored) : null;
}
window.addEventListener('hashchange', () => {
  const linked = battleFromLink(location.hash);
  if (linked) openBytes(linked);
});

const first = startingBattle();
if (first) openBytes(first); else show(view);
document.body.dataset.ready = 'true';
grid.selectInput('attacker', null, false);

if ('serviceWorker' in navigator && location.protocol !== 'file:') {
  navigator.serviceWorker.register('sw.js').catch(() => {});
}
