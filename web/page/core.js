// The WebAssembly core on the page's thread: one battle session, called once per action.
// Texts cross as UTF-8; a battle file's bytes cross as bytes (they are 8-bit text).

export async function loadCore() {
  const mod = await globalThis.KestrinModule();
  const encoder = new TextEncoder();

  // Copies bytes into the module's memory for the length of one call.
  function withBytes(bytes, use) {
    const pointer = mod._malloc(bytes.length + 1);
    mod.HEAPU8.set(bytes, pointer);
    mod.HEAPU8[pointer + bytes.length] = 0;
    try { return use(pointer, bytes.length); } finally { mod._free(pointer); }
  }
  const text = (s, use) => withBytes(encoder.encode(s), use);
  // A reply's length is known to the core: decoded at once, not looked for byte by byte.
  const decoder = new TextDecoder();
  const replyText = (pointer) => decoder.decode(mod.HEAPU8.subarray(pointer, pointer + mod._kestrin_reply_length()));
  const reply = (pointer) => {
    const result = JSON.parse(replyText(pointer));
    if (result.error) throw new Error(result.error);
    return result;
  };

  return {
    view: () => reply(mod._kestrin_view()),
    style: () => reply(mod._kestrin_style()),
    type: (col, row, typed) => text(typed, (p) => reply(mod._kestrin_type(col, row, p))),
    erase: (c0, r0, c1, r1) => reply(mod._kestrin_delete(c0, r0, c1, r1)),
    spin: (col, row, delta) => reply(mod._kestrin_spin(col, row, delta)),
    command: (name) => text(name, (p) => reply(mod._kestrin_command(p))),
    open: (bytes) => withBytes(bytes, (p, n) => reply(mod._kestrin_open(p, n))),
    // A link's text (the address, a pasted line), a kept battle, an empty battle: each a
    // battle of its own; the view says whether it "opened".
    openLink: (link) => text(link, (p) => reply(mod._kestrin_open_link(p))),
    holdsLink: (said) => text(said, (p) => mod._kestrin_holds_link(p) === 1),
    openKept: (kept) => text(kept, (p) => reply(mod._kestrin_open_kept(p))),
    newBattle: () => reply(mod._kestrin_new_battle()),
    // The battle as the browser keeps it, and its link fragment ("#battle=...").
    kept: () => mod.UTF8ToString(mod._kestrin_kept()),
    link: () => mod.UTF8ToString(mod._kestrin_link()),
    texts: () => reply(mod._kestrin_texts()),
    save() {
      const pointer = mod._kestrin_save();
      return mod.HEAPU8.slice(pointer, pointer + mod._kestrin_reply_length());
    },
    report: (kind, side, fleets, report) =>
      text(kind, (k) => text(side, (s) => text(report, (t) => reply(mod._kestrin_report(k, s, fleets, t))))),
    // The planner's form as the core describes it, and whether a result is still for the
    // battle as it stands (`ranOn`: the battle's bytes when it ran).
    plannerForm: () => reply(mod._kestrin_planner_form()),
    sweepCurrent: (ranOn, side, row) =>
      withBytes(ranOn, (p, n) => text(side, (s) => mod._kestrin_sweep_current(p, n, s, row) === 1)),
    fleetCurrent: (ranOn, rows) =>
      withBytes(ranOn, (p, n) => text(JSON.stringify(rows), (r) => mod._kestrin_fleet_current(p, n, r) === 1)),
    useCounts: (side, counts, step) =>
      text(JSON.stringify({ side, counts, step }), (p) => reply(mod._kestrin_use_counts(p))),
  };
}
