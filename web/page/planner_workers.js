// The planner's two workers, each with its own WebAssembly core: calls, Cancel, and the rule
// that any failure of either (a trap, a failure before the first batch, a core that does not
// load) ends both and is told, so that nothing waits for ever. The Worker constructor is
// passed in, so that the rules run under node's test runner too.

// A call ended by Cancel or by the other worker's failure: nothing to tell.
export class Cancelled extends Error {}
// A worker that stopped or could not start: to be told to the player.
export class WorkerFailed extends Error {}

// The shared block's states, as web/shared_fleets.h has them.
export const SHARE = { idle: 0, lent: 1, done: 2, failed: 3, end: 4 };

// Sets a final state in the shared block, unless it has one (the first end is the one told),
// and wakes whoever waits on it.
export function endShare(share, state) {
  const words = new Int32Array(share, 0, 4);
  for (;;) {
    const now = Atomics.load(words, 0);
    if (now === SHARE.failed || now === SHARE.end) return;
    if (Atomics.compareExchange(words, 0, now, state) === now) break;
  }
  Atomics.notify(words, 0);
}

export class WorkerSlot {
  constructor(makeWorker) {
    this.makeWorker = makeWorker;
    this.start();
  }

  start() {
    this.worker = this.makeWorker();
    this.pending = new Map();
    this.next = 1;
    this.broken = null;
    this.worker.onmessage = ({ data }) => {
      const call = this.pending.get(data.id);
      if (!call) return;
      // How far the call has come: it goes on.
      if (data.progress !== undefined) return void call.onProgress?.(data.progress);
      this.pending.delete(data.id);
      if (data.failed !== undefined) call.reject(new WorkerFailed(data.failed));
      else call.resolve(data.reply);
    };
    // A script or core that does not load, or anything the worker did not catch.
    this.worker.onerror = (event) => {
      event.preventDefault?.();
      this.broken = new WorkerFailed(event.message || 'the worker stopped');
      this.failAll(this.broken);
    };
    this.worker.onmessageerror = () => this.failAll(new WorkerFailed('a message could not be read'));
  }

  failAll(error) {
    const calls = [...this.pending.values()];
    this.pending.clear();
    for (const { reject } of calls) reject(error);
  }

  // Runs `name` on the worker's core: its reply, or a WorkerFailed. `onProgress` hears how
  // far it has come; the worker reads `stop` (a shared word, 1 once cancelled) between batches.
  call(name, request, battle, share = null, { onProgress = null, stop = null } = {}) {
    // A worker that failed while nobody waited answers nothing: told at once.
    if (this.broken) return Promise.reject(this.broken);
    const id = this.next++;
    return new Promise((resolve, reject) => {
      this.pending.set(id, { resolve, reject, onProgress });
      this.worker.postMessage({ id, name, request, battle, share, stop });
    });
  }

  // Ends the worker and whatever it was doing, and starts a fresh one.
  restart() {
    this.worker.terminate();
    this.failAll(new Cancelled('cancelled'));
    this.start();
  }
}

export class PlannerWorkers {
  constructor(makeWorker) {
    this.slots = [new WorkerSlot(makeWorker), new WorkerSlot(makeWorker)];
  }

  // Ends the work of both workers; a Best Fleet that can be told to stop is told instead, and
  // answers with the best fleet so far.
  cancel() {
    if (this.stop) {
      Atomics.store(this.stop, 0, 1);
      return;
    }
    this.restart();
  }

  restart() {
    for (const slot of this.slots) slot.restart();
  }

  // Runs `work` (given both slots); a failure of either worker ends both before it is thrown.
  async guarded(work) {
    try {
      return await work(this.slots);
    } catch (error) {
      if (error instanceof WorkerFailed) this.restart();
      throw error;
    }
  }

  // Best Fleet: on both workers sharing memory when the page may (cross-origin isolated),
  // the first searching and lending, the second helping; else on the first alone. A helper
  // that fails marks the block failed, so the search stops at its next lend or wait; a search
  // that fails marks it ended, so the helper stops waiting.
  // `onProgress` hears the search's progress; cancelled, a search on shared memory answers
  // with its best fleet so far.
  async bestFleet(request, battle, rows, isolated, onProgress = null) {
    this.stop = isolated ? new Int32Array(new SharedArrayBuffer(4)) : null;
    const told = { onProgress, stop: this.stop?.buffer ?? null };
    try {
      return await this.search(request, battle, rows, isolated, told);
    } finally {
      this.stop = null;
    }
  }

  search(request, battle, rows, isolated, told) {
    return this.guarded(async ([searching, helping]) => {
      if (!isolated) return searching.call('bestFleet', request, battle, null, told);
      // Room for 1,024 lent fleets: half of the largest batch the search evaluates at once.
      const share = new SharedArrayBuffer(16 + 1024 * (rows * 4 + 24));
      const helper = helping.call('bestFleetHelper', request, battle, share).then((reply) => {
        if (reply.error) endShare(share, SHARE.failed);
        return reply;
      }, (error) => {
        endShare(share, SHARE.failed);
        throw error;
      });
      helper.catch(() => {});  // awaited below; the search's own end comes first
      let search;
      try {
        search = await searching.call('bestFleet', request, battle, share, told);
      } catch (error) {
        endShare(share, SHARE.end);
        throw error;
      }
      const helped = await helper;
      // The helper's own refusal is the search's refusal too: the same request.
      return !search.error || !helped.error ? search : helped;
    });
  }
}
