// The battle sheet as a table: the desktop's columns, captions and colours. Input cells
// (the two Ships columns below the headings) take typed counts; everything else is shown.

const ROWS = 66;
const COLS = 12;
const SHIPS = [1, 7];
// Text colours follow the column order, as the desktop grid's do.
const TEXT_KEYS = ['DefFont', 'DefShipsFont', 'DefHeldFont', 'DefLostFont', 'DefStealFont', 'DefLeftFont',
  'AttFont', 'AttShipsFont', 'AttHeldFont', 'AttLostFont', 'AttStealFont', 'AttLeftFont'];
const REPORT_KEYS = { 4: 'DefHeldFont', 5: 'DefLostFont', 10: 'AttHeldFont', 11: 'AttLostFont' };

export const isInput = (col, row) => SHIPS.includes(col) && row >= 1 && row <= 65;

function background(col, row) {
  const shaded = row === 0 || (row >= 55 && row <= 59);
  if (col === 0 || (col >= 1 && col <= 5 && shaded)) return 'DefBgd';
  if (col === 6 || (col >= 7 && col <= 11 && shaded)) return 'AttBgd';
  return 'ShipBgd';
}

export class Grid {
  // `actions`: type(col, row, text), erase(col, row), notice(text).
  constructor(table, style, actions) {
    this.table = table;
    this.actions = actions;
    this.cells = [];
    this.current = { col: 1, row: 1 };
    this.editor = null;
    const colours = style.colours;
    table.style.setProperty('--grid-lines', colours.Gridlines);
    table.style.setProperty('--race-lines', colours.Racelines);
    for (let row = 0; row < ROWS; ++row) {
      const tr = table.insertRow();
      if (style.blockEnds.includes(row)) tr.classList.add('race-line');
      const line = [];
      for (let col = 0; col < COLS; ++col) {
        const td = tr.insertCell();
        td.style.background = colours[background(col, row)];
        td.style.color = colours[TEXT_KEYS[col]];
        td.dataset.col = col;
        td.dataset.row = row;
        if (col === 0 || col === 6) td.classList.add('caption');
        if (isInput(col, row)) { td.classList.add('input'); td.tabIndex = -1; }
        line.push(td);
      }
      this.cells.push(line);
    }
    this.colours = colours;
    table.addEventListener('click', (event) => this.clicked(event));
    table.addEventListener('keydown', (event) => this.key(event));
  }

  show(view) {
    this.view = view;
    for (let row = 0; row < ROWS; ++row) {
      for (let col = 0; col < COLS; ++col) {
        const td = this.cells[row][col];
        const text = view.shown[row][col];
        if (td.textContent !== text) td.textContent = text;
        const key = view.reportView && REPORT_KEYS[col] ? REPORT_KEYS[col] : TEXT_KEYS[col];
        td.style.color = this.colours[key];
      }
    }
  }

  clicked(event) {
    const td = event.target.closest('td');
    if (!td || td.contains(this.editor)) return;
    const col = Number(td.dataset.col), row = Number(td.dataset.row);
    if (!isInput(col, row)) { this.finish(); return; }
    this.finish();
    this.select(col, row);
    this.edit(null);
  }

  select(col, row, scroll = true) {
    this.cells[this.current.row][this.current.col].classList.remove('current');
    this.current = { col, row };
    const td = this.cells[row][col];
    td.classList.add('current');
    if (scroll) td.scrollIntoView({ block: 'nearest', inline: 'nearest' });
    if (!this.editor) td.focus({ preventScroll: true });
  }

  // Opens the editor on the current cell, holding the stored count or what was typed first.
  edit(first) {
    const { col, row } = this.current;
    const td = this.cells[row][col];
    const input = document.createElement('input');
    input.className = 'cell-editor';
    input.setAttribute('aria-label', `${this.view.cells[row][col === 1 ? 0 : 6]} ${col === 1 ? 'defender' : 'attacker'} ships`);
    input.value = first ?? this.view.cells[row][col];
    input.style.color = td.style.color;
    input.style.background = td.style.background;
    td.textContent = '';
    td.appendChild(input);
    this.editor = input;
    input.addEventListener('blur', () => this.finish());
    input.focus();
    if (first === null) input.select();
  }

  // Every way an edit ends comes here once: the typed text goes to the sheet.
  finish() {
    const input = this.editor;
    if (!input) return;
    this.editor = null;
    const { col, row } = this.current;
    input.remove();
    this.actions.type(col, row, input.value);
    this.cells[row][col].focus({ preventScroll: true });
  }

  cancel() {
    const input = this.editor;
    if (!input) return;
    this.editor = null;
    input.remove();
    this.show(this.view);
    this.cells[this.current.row][this.current.col].focus({ preventScroll: true });
  }

  move(dCol, dRow) {
    let { col, row } = this.current;
    if (dCol !== 0) col = col === 1 ? 7 : 1;
    row = Math.min(65, Math.max(1, row + dRow));
    this.select(col, row);
  }

  key(event) {
    const moves = { ArrowUp: [0, -1], ArrowDown: [0, 1], Enter: [0, 1], Tab: [event.shiftKey ? -1 : 1, 0] };
    if (this.editor) {
      if (event.key === 'Escape') { event.preventDefault(); this.cancel(); return; }
      const move = moves[event.key];
      if (move) { event.preventDefault(); this.finish(); this.move(...move); }
      return;
    }
    const move = moves[event.key] || { ArrowLeft: [-1, 0], ArrowRight: [1, 0] }[event.key];
    if (move && !event.altKey) { event.preventDefault(); this.move(...move); return; }
    if (event.key === 'Delete' || event.key === 'Backspace') {
      event.preventDefault();
      this.actions.erase(this.current.col, this.current.row);
      return;
    }
    if (event.key === 'F2') { event.preventDefault(); this.edit(null); return; }
    if (event.key.length === 1 && !event.ctrlKey && !event.metaKey && !event.altKey) {
      event.preventDefault();
      this.edit(event.key);
    }
  }

  // The captions of a side's rows that take a count, for the planner's lists.
  captions(side) {
    const col = side === 'defender' ? 0 : 6;
    const rows = [];
    for (let row = 1; row <= 65; ++row) if (row < 55 || row > 59) rows.push({ row, caption: this.view.cells[row][col] });
    return rows;
  }
}
