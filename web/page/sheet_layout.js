// The sheet's layout as the core hands it over (the view's `layout`): which cells take input,
// where the keys move, what an input is called. The page knows no row or column of its own.

// The side whose input cell (col, row) is, or null.
export function inputSide(layout, col, row) {
  return layout.sides.find((side) => side.column === col && row >= side.firstRow && row <= side.lastRow) ?? null;
}

// A side by name ("defender" or "attacker").
export function sideNamed(layout, name) {
  return layout.sides.find((side) => side.side === name);
}

// Where a key moves the current cell: across to the other side's inputs (Tab, Left, Right),
// up or down within the input rows, never past the first or last.
export function moved(layout, current, dCol, dRow) {
  const sides = layout.sides;
  let index = Math.max(0, sides.indexOf(inputSide(layout, current.col, current.row)));
  if (dCol !== 0) index = (((index + dCol) % sides.length) + sides.length) % sides.length;
  const side = sides[index];
  const row = Math.min(side.lastRow, Math.max(side.firstRow, current.row + dRow));
  return { col: side.column, row };
}

// The accessible name of an input cell, as the core words it.
export function inputLabel(layout, col, row) {
  return inputSide(layout, col, row)?.inputs.find((input) => input.row === row)?.label ?? '';
}

// The cell where a side's row takes its count.
export function inputCell(layout, sideName, row) {
  const side = sideNamed(layout, sideName);
  return { col: side.column, row: row ?? side.firstRow };
}

// A side's rows that take a count, with their captions and the counts the cells hold.
export function countRows(layout, cells, sideName) {
  const side = sideNamed(layout, sideName);
  return side.countRows.map(({ row, caption }) => ({ row, caption, count: Number(cells[row][side.column]) || 0 }));
}
