// The battles kept in the browser, on a stand-in Storage: by name, per tab, when the storage
// is full or refused, and the one battle an earlier page kept.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { KeptBattles } from '../../../web/page/kept.js';

// A Storage with the browser's interface; setItem throws past `quota` characters, as a full
// browser storage does.
class StandInStorage {
  constructor(quota = Infinity) { this.items = new Map(); this.quota = quota; }
  get length() { return this.items.size; }
  key(i) { return [...this.items.keys()][i] ?? null; }
  getItem(key) { return this.items.has(key) ? this.items.get(key) : null; }
  setItem(key, value) {
    let used = 0;
    for (const [k, v] of this.items) if (k !== key) used += k.length + v.length;
    if (used + key.length + String(value).length > this.quota) throw new DOMException('full', 'QuotaExceededError');
    this.items.set(key, String(value));
  }
  removeItem(key) { this.items.delete(key); }
}
const refused = () => { throw new DOMException('refused', 'SecurityError'); };

test('battles are kept by name, and each tab comes back to the battle it showed', () => {
  const local = new StandInStorage();
  const tab1 = new KeptBattles(() => local, () => new StandInStorage());
  assert.ok(tab1.keep('Raid', '#battle=AAAA\n'));
  const session2 = new StandInStorage();
  const tab2 = new KeptBattles(() => local, () => session2);
  assert.equal(tab2.current(), 'Raid', 'a new tab starts with the battle shown last');
  assert.ok(tab2.keep('Shared battle', '#battle=BBBB\n'));
  assert.ok(tab1.keep('Raid', '#battle=CCCC\n'));
  assert.deepEqual(tab1.names(), ['Raid', 'Shared battle']);
  assert.equal(new KeptBattles(() => local, () => session2).current(), 'Shared battle', 'a reload shows its own tab\'s battle');
  assert.equal(tab1.read('Raid'), '#battle=CCCC\n');
  assert.equal(tab1.unusedName('Raid'), 'Raid 2');
  assert.equal(tab1.unusedName('Defence'), 'Defence');
  assert.equal(tab1.rename('Raid', 'Shared battle'), false, 'a name in use is not taken');
  assert.ok(tab1.rename('Raid', 'Evening raid'));
  assert.deepEqual(tab1.names(), ['Evening raid', 'Shared battle']);
  assert.equal(tab1.read('Evening raid'), '#battle=CCCC\n');
});

test('a full storage keeps what it held and says why', () => {
  const local = new StandInStorage(200);
  const kept = new KeptBattles(() => local, () => new StandInStorage());
  assert.ok(kept.keep('Raid', '#battle=AAAA\n'));
  assert.equal(kept.keep('Raid', '#battle=' + 'A'.repeat(400)), false);
  assert.equal(kept.problem, 'full');
  assert.equal(kept.read('Raid'), '#battle=AAAA\n');
});

test('a refused storage keeps nothing, throws nothing and says why', () => {
  const kept = new KeptBattles(refused, refused);
  assert.equal(kept.problem, 'refused');
  assert.equal(kept.keep('Raid', '#battle=AAAA\n'), false);
  assert.deepEqual(kept.names(), []);
  assert.equal(kept.current(), null);
  assert.equal(kept.read('Raid'), null);
  kept.adoptEarlier('Battle');
});

test("the battle an earlier page kept gets a name, and stays where it was while the storage is full", () => {
  const local = new StandInStorage();
  local.setItem('kestrin.battle', 'battle=AAAA');
  new KeptBattles(() => local, () => new StandInStorage()).adoptEarlier('Battle');
  assert.equal(local.getItem('kestrin.battle:Battle'), 'battle=AAAA');
  assert.equal(local.getItem('kestrin.battle'), null);

  const full = new StandInStorage(30);
  full.setItem('kestrin.battle', 'battle=AAAA');
  new KeptBattles(() => full, () => new StandInStorage()).adoptEarlier('Battle');
  assert.equal(full.getItem('kestrin.battle'), 'battle=AAAA');
});
