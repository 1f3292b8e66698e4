// A planner worker: its own WebAssembly core running kestrin-cli commands on a battle, so the
// page stays responsive and the figures are kestrin-cli's own. For Best Fleet on both cores,
// two workers run the same optimise sharing `share`: the one 'lending' part of every batch of
// fleets, the 'helper' running them.
importScripts('kestrin.js');

const ready = KestrinModule();

self.onmessage = async ({ data }) => {
  const mod = await ready;
  const { id, args, battle, share, role } = data;
  mod.fleetShare = share;
  const run = { lending: mod._kestrin_cli_lending, helper: mod._kestrin_cli_helper }[role] ?? mod._kestrin_cli;
  const argsText = new TextEncoder().encode(JSON.stringify(args));
  const argsPointer = mod._malloc(argsText.length + 1);
  mod.HEAPU8.set(argsText, argsPointer);
  mod.HEAPU8[argsPointer + argsText.length] = 0;
  const battlePointer = mod._malloc(battle.length + 1);
  mod.HEAPU8.set(battle, battlePointer);
  try {
    const reply = JSON.parse(mod.UTF8ToString(run(argsPointer, battlePointer, battle.length)));
    self.postMessage({ id, ...reply });
  } catch (error) {
    self.postMessage({ id, status: 1, out: '', err: String(error.message || error) });
  } finally {
    mod._free(argsPointer);
    mod._free(battlePointer);
  }
};
