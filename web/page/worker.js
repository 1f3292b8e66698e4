// A planner worker: its own WebAssembly core running the planner's typed calls on a battle,
// so the page stays responsive and both cores work. Whatever goes wrong (a core that does
// not load, a trap) is answered as {failed}, so the page never waits for ever.
importScripts('kestrin.js');

const ready = KestrinModule();
ready.catch(() => {});  // told with the first call

// The module's call for each name: (request, battle pointer, battle length) -> reply text.
const CALLS = {
  sweepChart: (mod, ...args) => mod._kestrin_sweep_chart(...args),
  sweepEveryValue: (mod, ...args) => mod._kestrin_sweep_every_value(...args),
  bestFleet: (mod, request, battle, length, share) => mod._kestrin_best_fleet(request, battle, length, share ? 1 : 0),
  bestFleetHelper: (mod, ...args) => mod._kestrin_best_fleet_helper(...args),
};

function copyIn(mod, bytes) {
  const pointer = mod._malloc(bytes.length + 1);
  mod.HEAPU8.set(bytes, pointer);
  mod.HEAPU8[pointer + bytes.length] = 0;
  return pointer;
}

self.onmessage = async ({ data }) => {
  const { id, name, request, battle, share, stop } = data;
  let mod;
  try {
    mod = await ready;
  } catch (error) {
    self.postMessage({ id, failed: `the planner's core did not load (${error.message || error})` });
    return;
  }
  const pointers = [];
  try {
    mod.fleetShare = share;
    // Best Fleet's progress goes to the page as it comes; the answer says whether to stop.
    mod.fleetProgress = (text, done, planned) => {
      self.postMessage({ id, progress: { text, done, planned } });
      return !!stop && Atomics.load(new Int32Array(stop), 0) === 1;
    };
    const requestPointer = copyIn(mod, new TextEncoder().encode(JSON.stringify(request)));
    pointers.push(requestPointer);
    const battlePointer = copyIn(mod, battle);
    pointers.push(battlePointer);
    const reply = JSON.parse(mod.UTF8ToString(CALLS[name](mod, requestPointer, battlePointer, battle.length, share)));
    self.postMessage({ id, reply });
  } catch (error) {
    // A trap leaves the core unusable: the page ends this worker and the other.
    self.postMessage({ id, failed: String(error.message || error) });
  } finally {
    for (const pointer of pointers) {
      try { mod._free(pointer); } catch { /* the core is gone */ }
    }
  }
};
