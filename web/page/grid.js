// The battle sheet as a table, drawn from the core's view: its layout, each cell's text and
// colours, the input cells' names. Input cells take typed counts; everything else is shown.
import { countRows, inputCell, inputLabel, inputSide, moved } from './sheet_layout.js';

export class Grid {
  // `colours`: the appearance colours by key; `actions`: type(col, row, text), erase(col, row).
  constructor(table, colours, actions) {
    this.table = table;
    this.colours = colours;
    this.actions = actions;
    this.cells = [];
    this.current = null;
    this.editor = null;
    table.addEventListener('click', (event) => this.clicked(event));
    table.addEventListener('keydown', (event) => this.key(event));
  }

  // The table's rows and cells, made once from the first view's layout.
  build(layout) {
    this.table.style.setProperty('--grid-lines', this.colours[layout.gridLineColour]);
    this.table.style.setProperty('--race-lines', this.colours[layout.raceLineColour]);
    // The columns a phone shows first: the captions and each side's counts.
    const counts = new Set([...layout.captionColumns, ...layout.sides.map((side) => side.column)]);
    // An ARIA grid that is one tab stop: only the current input cell takes the focus from Tab
    // (a roving tabindex), the arrow keys move within.
    this.table.setAttribute('role', 'grid');
    this.table.setAttribute('aria-rowcount', layout.rows);
    this.table.setAttribute('aria-colcount', layout.cols);
    for (let row = 0; row < layout.rows; ++row) {
      const tr = this.table.insertRow();
      tr.setAttribute('role', 'row');
      tr.setAttribute('aria-rowindex', row + 1);
      if (layout.raceLines.includes(row)) tr.classList.add('race-line');
      if (row === layout.headingRow) tr.classList.add('heading');
      const line = [];
      for (let col = 0; col < layout.cols; ++col) {
        const td = tr.insertCell();
        td.dataset.col = col;
        td.dataset.row = row;
        td.setAttribute('role', row === layout.headingRow ? 'columnheader' : 'gridcell');
        td.setAttribute('aria-colindex', col + 1);
        if (layout.captionColumns.includes(col)) td.classList.add('caption');
        if (counts.has(col)) td.classList.add('counts');
        const side = inputSide(layout, col, row);
        if (side) {
          td.classList.add('input');
          td.dataset.side = side.side;
          td.tabIndex = -1;
          td.setAttribute('aria-selected', 'false');
          td.setAttribute('aria-label', inputLabel(layout, col, row));
        } else if (row !== layout.headingRow) {
          td.setAttribute('aria-readonly', 'true');
        }
        line.push(td);
      }
      this.cells.push(line);
    }
    this.layout = layout;
    this.current = inputCell(layout, layout.sides[0].side);
    this.cells[this.current.row][this.current.col].tabIndex = 0;
  }

  show(view) {
    if (!this.layout) this.build(view.layout);
    this.view = view;
    this.cells.forEach((line, row) => line.forEach((td, col) => {
      const text = view.shown[row][col];
      if (td.textContent !== text) {
        td.textContent = text;
        // An input cell is named by the core's words for it, with the count it shows.
        const label = inputLabel(this.layout, col, row);
        if (label) td.setAttribute('aria-label', text ? `${label}: ${text}` : label);
      }
      const background = view.background[row][col], colour = view.colour[row][col];
      if (td.dataset.background !== background) {
        td.dataset.background = background;
        td.style.background = this.colours[background];
      }
      if (td.dataset.colour !== colour) {
        td.dataset.colour = colour;
        td.style.color = this.colours[colour];
      }
    }));
    this.markNotice(view.noticeCell);
  }

  // Marks the input cell a notice is about, as the desktop shows it beside that cell; the
  // notice itself stays in the page's status line, which the cell names as its description.
  markNotice(about) {
    for (const td of this.table.querySelectorAll('td.noticed')) {
      td.classList.remove('noticed');
      td.removeAttribute('aria-describedby');
    }
    if (!about) return;
    const { col, row } = inputCell(this.layout, about.side, about.row);
    this.cells[row][col].classList.add('noticed');
    this.cells[row][col].setAttribute('aria-describedby', 'notice');
  }

  clicked(event) {
    const td = event.target.closest('td');
    if (!td || td.contains(this.editor)) return;
    const col = Number(td.dataset.col), row = Number(td.dataset.row);
    this.finish();
    if (!inputSide(this.layout, col, row)) return;
    this.select(col, row);
    this.edit(null);
  }

  select(col, row, scroll = true) {
    const was = this.cells[this.current.row][this.current.col];
    was.classList.remove('current');
    was.tabIndex = -1;
    was.setAttribute('aria-selected', 'false');
    this.current = { col, row };
    const td = this.cells[row][col];
    td.classList.add('current');
    td.tabIndex = 0;
    td.setAttribute('aria-selected', 'true');
    if (scroll) td.scrollIntoView({ block: 'nearest', inline: 'nearest' });
    if (!this.editor) td.focus({ preventScroll: true });
  }

  // Selects a side's input in `row` (its first input row when none is given).
  selectInput(side, row, scroll = true) {
    const { col, row: at } = inputCell(this.layout, side, row);
    this.select(col, at, scroll);
  }

  // Opens the editor on the current cell, holding the stored count or what was typed first.
  edit(first) {
    const { col, row } = this.current;
    const td = this.cells[row][col];
    const input = document.createElement('input');
    input.className = 'cell-editor';
    input.setAttribute('aria-label', inputLabel(this.layout, col, row));
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
    const { col, row } = moved(this.layout, this.current, dCol, dRow);
    this.select(col, row);
  }

  // Arrows move, Enter or F2 edits (Enter again takes the count and moves down), Escape
  // puts the count back; Tab takes the count and leaves the grid as it leaves any control.
  key(event) {
    const moves = { ArrowUp: [0, -1], ArrowDown: [0, 1] };
    if (this.editor) {
      if (event.key === 'Escape') { event.preventDefault(); this.cancel(); return; }
      if (event.key === 'Tab') { this.finish(); return; }
      const move = moves[event.key] || (event.key === 'Enter' ? [0, 1] : null);
      if (move) { event.preventDefault(); this.finish(); this.move(...move); }
      return;
    }
    if (event.key === 'Enter') { event.preventDefault(); this.edit(null); return; }
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

  // A side's rows that take a count, with their captions and counts, for the planner's lists.
  captions(side) {
    return countRows(this.layout, this.view.cells, side);
  }
}
