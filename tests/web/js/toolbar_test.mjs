// The toolbar's rules without a browser: how a link is shared, what a saved file is called.
// Run: node --test tests/web/js
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { savedName, shareLink } from '../../../web/page/toolbar.js';

const failing = (name) => async () => { throw Object.assign(new Error(name), { name }); };

test("a link goes to the system's share sheet, else to the clipboard, else to the player", async () => {
  const calls = [];
  const clipboard = { writeText: async (text) => calls.push(['copy', text]) };
  const share = async (data) => calls.push(['share', data]);
  assert.equal(await shareLink('u', 't', { share, clipboard }), 'shared');
  assert.deepEqual(calls, [['share', { title: 't', url: 'u' }]]);
  // Closing the sheet copies nothing; a sheet the page may not open falls back to copying.
  assert.equal(await shareLink('u', 't', { share: failing('AbortError'), clipboard }), 'dismissed');
  assert.equal(await shareLink('u', 't', { share: failing('NotAllowedError'), clipboard }), 'copied');
  assert.equal(await shareLink('u', 't', { share, canShare: () => false, clipboard }), 'copied');
  assert.equal(await shareLink('u', 't', { clipboard: { writeText: failing('NotAllowedError') } }), 'shown');
  assert.equal(await shareLink('u', 't', {}), 'shown');
});

test("a saved battle is named after its file, never a path, always .kbf", () => {
  assert.equal(savedName('raid.kbf'), 'raid.kbf');
  assert.equal(savedName('Raid.KBF'), 'Raid.kbf');
  assert.equal(savedName('C:\\battles\\fleet'), 'fleet.kbf');
  assert.equal(savedName('../x/y.kbf'), 'y.kbf');
  assert.equal(savedName(''), 'battle.kbf');
  assert.equal(savedName(undefined), 'battle.kbf');
});
