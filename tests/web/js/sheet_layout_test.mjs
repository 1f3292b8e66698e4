// The grid's moves, names and count rows on a layout unlike the battle sheet's, so that the
// page is seen to take every row and column from the layout the core hands it.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { countRows, inputCell, inputLabel, inputSide, moved } from '../../../web/page/sheet_layout.js';

const side = (name, column, firstRow, lastRow) => ({
  side: name, column, captionColumn: column - 1, firstRow, lastRow,
  inputs: Array.from({ length: lastRow - firstRow + 1 }, (_, i) => ({ row: firstRow + i, label: `r${firstRow + i} ${name}` })),
  countRows: [{ row: firstRow, caption: 'A' }, { row: lastRow, caption: 'B' }],
});
const layout = { rows: 9, cols: 6, sides: [side('defender', 2, 2, 7), side('attacker', 5, 2, 7)] };

test('only the sides\' input columns within their rows take input', () => {
  assert.equal(inputSide(layout, 2, 2).side, 'defender');
  assert.equal(inputSide(layout, 5, 7).side, 'attacker');
  for (const [col, row] of [[2, 1], [2, 8], [1, 3], [4, 3], [0, 0]]) assert.equal(inputSide(layout, col, row), null, `${col},${row}`);
});

test('keys move across to the other side and up or down within the input rows', () => {
  assert.deepEqual(moved(layout, { col: 2, row: 4 }, 1, 0), { col: 5, row: 4 });
  assert.deepEqual(moved(layout, { col: 5, row: 4 }, 1, 0), { col: 2, row: 4 });
  assert.deepEqual(moved(layout, { col: 2, row: 4 }, -1, 0), { col: 5, row: 4 });
  assert.deepEqual(moved(layout, { col: 5, row: 7 }, 0, 1), { col: 5, row: 7 });
  assert.deepEqual(moved(layout, { col: 2, row: 2 }, 0, -1), { col: 2, row: 2 });
  assert.deepEqual(moved(layout, { col: 2, row: 3 }, 0, 1), { col: 2, row: 4 });
});

test('names, first cells and counts come from the layout and the cells', () => {
  assert.equal(inputLabel(layout, 5, 3), 'r3 attacker');
  assert.equal(inputLabel(layout, 4, 3), '');
  assert.deepEqual(inputCell(layout, 'attacker', null), { col: 5, row: 2 });
  assert.deepEqual(inputCell(layout, 'defender', 6), { col: 2, row: 6 });
  const cells = Array.from({ length: 9 }, () => Array(6).fill(''));
  cells[2][5] = '1500';
  cells[7][5] = 'abc';
  assert.deepEqual(countRows(layout, cells, 'attacker'),
    [{ row: 2, caption: 'A', count: 1500 }, { row: 7, caption: 'B', count: 0 }]);
});
