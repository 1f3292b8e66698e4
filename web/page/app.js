// The page: one battle session in WebAssembly, the sheet, the results panel, the tool bar,
// the scan parser, links and the battles kept in the browser. The planner's work runs in
// workers (planner.js).
import { loadCore } from './core.js';
import { Grid } from './grid.js';
import { KeptBattles } from './kept.js';
import { Planner } from './planner.js';
import { savedName, shareLink } from './toolbar.js';

const $ = (selector) => document.querySelector(selector);

// Without its core the page can do nothing: it says so and goes no further.
const core = await loadCore().catch((error) => {
  failed('core', error);
  return new Promise(() => {});
});
let view = core.view();
const style = core.style();
const texts = core.texts();

function failed(why, error) {
  $('#loading').hidden = true;
  $('main').hidden = true;
  $('#failure').hidden = false;
  $(`#failure [data-failure=${why}]`).hidden = false;
  if (error) console.error(error);
}

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
  keepBattle();
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

// The battles kept in this browser: the one shown is kept under its name on every change.
const kept = new KeptBattles(() => localStorage, () => sessionStorage);
const blank = core.kept();
let name = null;

function keepBattle() {
  if (name === null) return;
  const text = core.kept();
  // A battle never typed into is not worth keeping.
  const worth = text !== blank || kept.read(name) != null;
  if (worth && !kept.keep(name, text)) keepNotice(texts[kept.problem === 'refused' ? 'storageRefused' : 'storageFull']);
  listKept();
}

function keepNotice(text) {
  const box = $('#keep-notice');
  box.textContent = text;
  box.hidden = !text;
}

function listKept() {
  const select = $('#kept-battles');
  const names = kept.names();
  if (!names.includes(name)) names.unshift(name);
  if (select.options.length !== names.length || [...select.options].some((o, i) => o.value !== names[i])) {
    select.replaceChildren(...names.map((n) => new Option(n, n)));
  }
  select.value = name;
  if (document.activeElement !== $('#battle-name')) $('#battle-name').value = name;
}

// An opening that replaces the battle (a link, a file, a kept or a new battle) shows it under
// a name of its own, so that the battle before it stays kept under its name.
function openAs(action, named) {
  grid.finish();
  let next;
  try {
    next = action();
  } catch (error) {
    notice(String(error.message || error));
    return false;
  }
  if (next.opened) {
    name = named;
    kept.show(name);
  }
  show(next);
  return next.opened;
}

function openBytes(bytes, fileName) {
  const base = fileName.replace(/\.[^.]*$/, '') || texts.battleName;
  openAs(() => core.open(bytes), kept.unusedName(base));
}

// A link in the address opens as a battle of its own; once opened the address drops it, so
// that a reload shows the battle as the player left it, not the link's again.
function openAddressLink() {
  if (!location.hash.includes('battle')) return;
  if (openAs(() => core.openLink(location.hash), kept.unusedName(texts.linkName))) {
    history.replaceState(null, '', location.pathname + location.search);
  }
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
  const a = Object.assign(document.createElement('a'), { href: url, download: savedName(name) });
  document.body.appendChild(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 0);
};
$('#copy-link').onclick = async () => {
  grid.finish();
  // The link comes from the core; the address stays as it is, so a reload shows the kept battle.
  const url = `${location.origin}${location.pathname}${core.link()}`;
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
  if (dialog.returnValue === 'ok') applyReport(dialog.querySelector('form').text.value);
});
// A paste far longer than any report is not put in the box, where the browser would take
// seconds to lay it out. A link is applied at once, as OK would, and its own bound answers
// it; another text beyond the report bound is refused in the dialog; the rest is applied.
const kLongestShownPaste = 1 << 20;
$('#report-dialog [name=text]').addEventListener('paste', (event) => {
  const pasted = event.clipboardData?.getData('text/plain') ?? '';
  if (pasted.length <= kLongestShownPaste) return;
  event.preventDefault();
  if (pasted.length > style.report.most && !core.holdsLink(pasted)) {
    return void tooLong(pasted.length, (text) => { $('#report-message').textContent = text; });
  }
  $('#report-dialog').close('cancel');
  applyReport(pasted);
});
function applyReport(text) {
  const form = $('#report-dialog form');
  // A text typed or dropped beyond any report is refused before it reaches the core.
  if (text.length > style.report.most && !core.holdsLink(text)) return void tooLong(text.length);
  let fleets = 0;
  for (const box of form.querySelectorAll('[name=fleet]:checked')) fleets |= Number(box.value);
  // A link pasted here opens as a battle of its own (the view says it "opened").
  openAs(() => core.report(form.kind.value, form.side.value, fleets, text), kept.unusedName(texts.linkName));
  form.text.value = '';
}

// A text field (the planner's fields, the report box, a cell being edited) keeps its own undo.
function inTextField(element) {
  if (element?.isContentEditable || element?.tagName === 'TEXTAREA') return true;
  return element?.tagName === 'INPUT' && !['button', 'checkbox', 'radio', 'file', 'submit', 'reset', 'range', 'color'].includes(element.type);
}

document.addEventListener('keydown', (event) => {
  const ctrl = event.ctrlKey || event.metaKey;
  if (ctrl && inTextField(event.target)) return;
  if (ctrl && !event.shiftKey && event.key.toLowerCase() === 'z') { event.preventDefault(); command('undo'); }
  else if (ctrl && (event.key.toLowerCase() === 'y' || (event.shiftKey && event.key.toLowerCase() === 'z'))) { event.preventDefault(); command('redo'); }
  else if (event.altKey && event.key === 'ArrowRight') { event.preventDefault(); command('forward'); }
  else if (event.altKey && event.key === 'ArrowLeft') { event.preventDefault(); command('back'); }
});

// The kept battles: Open shows the chosen one, New an empty one, the name field renames the
// battle shown.
$('#open-kept').onclick = () => {
  const chosen = $('#kept-battles').value;
  const text = kept.read(chosen);
  if (chosen === name || text == null) return;
  openAs(() => core.openKept(text), chosen);
};
$('#new-battle').onclick = () => openAs(() => core.newBattle(), kept.unusedName(texts.battleName));
$('#battle-name').onchange = (event) => {
  const wanted = event.target.value.trim();
  if (wanted && wanted !== name) {
    if (kept.read(wanted) != null) keepNotice(texts.nameTaken);
    else if (kept.read(name) == null || kept.rename(name, wanted)) name = wanted;
  }
  event.target.value = name;
  listKept();
};

// The battle this tab showed last (else the one any tab did); then a link in the address,
// as a battle of its own. A kept battle that cannot be read stays kept as it was.
function start() {
  kept.adoptEarlier(texts.battleName);
  if (kept.problem) keepNotice(texts.storageRefused);
  const last = kept.current();
  if (last !== null) {
    const restored = core.openKept(kept.read(last));
    if (restored.opened) {
      name = last;
      show(restored);
    } else {
      keepNotice(`${texts.keptUnreadable} ${last}: ${restored.notice}`);
    }
  }
  if (name === null) {
    name = kept.unusedName(texts.battleName);
    show(view);
  }
  openAddressLink();
}
window.addEventListener('hashchange', openAddressLink);

start();
for (const control of document.querySelectorAll('[data-until-ready]')) control.disabled = false;
$('#loading').hidden = true;
document.body.dataset.ready = 'true';
grid.selectInput('attacker', null, false);

if ('serviceWorker' in navigator && location.protocol !== 'file:') {
  navigator.serviceWorker.register('sw.js').catch(() => {});
}
