// The planner's worker rules without a browser: the Worker constructor is a fake whose
// replies each test gives. Run: node --test tests/web/js
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { Cancelled, PlannerWorkers, SHARE, WorkerFailed, WorkerSlot } from '../../../web/page/planner_workers.js';

// A worker that records what it is sent; the test answers for it.
class FakeWorker {
  constructor(made) {
    this.sent = [];
    this.terminated = false;
    made.push(this);
  }
  postMessage(data) { this.sent.push(data); }
  terminate() { this.terminated = true; }
  reply(reply, index = this.sent.length - 1) { this.onmessage({ data: { id: this.sent[index].id, reply } }); }
  trap(message, index = this.sent.length - 1) { this.onmessage({ data: { id: this.sent[index].id, failed: message } }); }
  failToLoad(message) { this.onerror({ message, preventDefault() {} }); }
}
function workers() {
  const made = [];
  return { made, planner: new PlannerWorkers(() => new FakeWorker(made)) };
}
const stateOf = (share) => Atomics.load(new Int32Array(share, 0, 4), 0);
// Lets the promise callbacks waiting on a reply run.
const settle = () => new Promise((resolve) => setImmediate(resolve));

test('a call gets its reply; Cancel ends both workers and their calls tell nothing', async () => {
  const made = [];
  const slot = new WorkerSlot(() => new FakeWorker(made));
  const answered = slot.call('sweepChart', { row: 1 }, new Uint8Array([49]));
  assert.equal(made[0].sent[0].name, 'sweepChart');
  made[0].reply({ points: [] });
  assert.deepEqual(await answered, { points: [] });
  const pending = slot.call('sweepChart', {}, new Uint8Array());
  slot.restart();
  await assert.rejects(pending, Cancelled);
  assert.ok(made[0].terminated);
  assert.equal(made.length, 2);
});

test('a worker that traps ends both workers and says so', async () => {
  const { made, planner } = workers();
  const run = planner.guarded(([first, second]) => Promise.all([first.call('sweepChart'), second.call('sweepEveryValue')]));
  made[0].trap('RuntimeError: unreachable');
  await assert.rejects(run, (error) => error instanceof WorkerFailed && /unreachable/.test(error.message));
  assert.ok(made[0].terminated && made[1].terminated);
  assert.equal(made.length, 4);  // both started again
});

test('a worker whose core does not load fails its calls, then and later, instead of leaving them pending', async () => {
  const { made, planner } = workers();
  const [first] = planner.slots;
  const waiting = first.call('sweepChart');
  made[0].failToLoad('kestrin.wasm: 404');
  await assert.rejects(waiting, WorkerFailed);
  await assert.rejects(first.call('sweepChart'), /404/);
});

test('Best Fleet: a helper that fails before the first batch marks the block failed and ends both', async () => {
  const { made, planner } = workers();
  const run = planner.bestFleet({ rows: [[1, '5']] }, new Uint8Array(), 1, true);
  await settle();
  const [searcher, helper] = made;
  const share = searcher.sent[0].share;
  assert.equal(helper.sent[0].share, share);
  assert.equal(helper.sent[0].name, 'bestFleetHelper');
  helper.trap('out of memory');
  await settle();
  assert.equal(stateOf(share), SHARE.failed);  // the search's next lend refuses, never waits
  searcher.reply({ error: "The second core's worker stopped" });
  await assert.rejects(run, WorkerFailed);
  assert.ok(searcher.terminated && helper.terminated);
});

test('Best Fleet: a searching worker that traps marks the block ended and ends the helper', async () => {
  const { made, planner } = workers();
  const run = planner.bestFleet({}, new Uint8Array(), 2, true);
  await settle();
  const [searcher, helper] = made;
  searcher.trap('RuntimeError: memory access out of bounds');
  await assert.rejects(run, WorkerFailed);
  assert.equal(stateOf(searcher.sent[0].share), SHARE.end);
  assert.ok(helper.terminated);
});

test('Best Fleet: both answer; a helper refusing the request gives its words; alone without shared memory', async () => {
  const { made, planner } = workers();
  const run = planner.bestFleet({}, new Uint8Array(), 2, true);
  await settle();
  made[1].reply({ served: true });
  made[0].reply({ outcome: { lead: 'Best fleet' } });
  assert.deepEqual(await run, { outcome: { lead: 'Best fleet' } });
  const refused = planner.bestFleet({}, new Uint8Array(), 2, true);
  await settle();
  made[1].reply({ error: 'Ticks: \'x\' is not a whole number' });
  made[0].reply({ error: "The second core's worker stopped" });
  assert.deepEqual(await refused, { error: 'Ticks: \'x\' is not a whole number' });
  const alone = planner.bestFleet({}, new Uint8Array(), 2, false);
  assert.equal(made[0].sent.at(-1).share, null);
  assert.equal(made[1].sent.length, 2);
  made[0].reply({ outcome: {} });
  await alone;
});

// Progress reaches the caller while the call goes on; Cancel of a search that can be told to
// stop sets the shared word the worker reads and restarts nothing, so the search answers
// with its best fleet so far. Without shared memory Cancel ends both workers.
test('Best Fleet: progress is heard, and Cancel asks the search to stop instead of ending it', async () => {
  const { made, planner } = workers();
  const heard = [];
  const answer = planner.bestFleet({}, new Uint8Array(), 2, true, (progress) => heard.push(progress));
  await settle();
  const [searching, helping] = made;
  const sent = searching.sent[0];
  searching.onmessage({ data: { id: sent.id, progress: { text: 'Fleets evaluated: 10 of 20', done: 10, planned: 20 } } });
  assert.deepEqual(heard, [{ text: 'Fleets evaluated: 10 of 20', done: 10, planned: 20 }]);
  planner.cancel();
  assert.equal(Atomics.load(new Int32Array(sent.stop), 0), 1);
  assert.equal(searching.terminated || helping.terminated, false);
  helping.reply({ served: true });
  searching.reply({ outcome: { lead: 'Best fleet so far' } }, 0);
  assert.deepEqual(await answer, { outcome: { lead: 'Best fleet so far' } });

  const alone = planner.bestFleet({}, new Uint8Array(), 2, false);
  alone.catch(() => {});
  await settle();
  assert.equal(made[0].sent.at(-1).stop, null);
  planner.cancel();
  await assert.rejects(alone, Cancelled);
  assert.equal(made[0].terminated, true);
});
