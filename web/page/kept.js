// The battles kept in this browser, by name, so that none is lost when the page closes or a
// link opens: each under a key of its own in the browser's storage (the core's kept text),
// the name of the battle a tab shows in that tab's session storage (a reload shows it again)
// and in the shared storage (a new tab starts with it).

const PREFIX = 'kestrin.battle:';
const CURRENT = 'kestrin.current';
// The one battle the page kept before battles had names.
const EARLIER = 'kestrin.battle';

// Storage the browser refuses (a private window, a blocked site) throws when touched.
function reach(storage) {
  try {
    const reached = storage();
    reached.getItem(CURRENT);
    return reached;
  } catch {
    return null;
  }
}

export class KeptBattles {
  // `local` and `session`: functions returning the browser's localStorage and sessionStorage.
  constructor(local, session) {
    this.local = reach(local);
    this.session = reach(session);
    // null, 'refused' or 'full': why battles are not kept.
    this.problem = this.local ? null : 'refused';
  }

  // The kept battles' names, sorted.
  names() {
    if (!this.local) return [];
    const names = [];
    for (let i = 0; i < this.local.length; ++i) {
      const key = this.local.key(i);
      if (key.startsWith(PREFIX)) names.push(key.slice(PREFIX.length));
    }
    return names.sort((a, b) => a.localeCompare(b));
  }

  read(name) {
    return this.local?.getItem(PREFIX + name) ?? null;
  }

  // The name of the battle this tab showed last, else the one any tab showed last, if kept.
  current() {
    for (const storage of [this.session, this.local]) {
      const name = storage?.getItem(CURRENT);
      if (name != null && this.read(name) != null) return name;
    }
    return null;
  }

  // `base`, or `base 2`, `base 3`... : a name no kept battle has.
  unusedName(base) {
    const taken = new Set(this.names());
    let name = base;
    for (let n = 2; taken.has(name); ++n) name = `${base} ${n}`;
    return name;
  }

  // The battle an earlier page kept, named `name` from now on; it stays where it was until
  // it is kept under its name.
  adoptEarlier(name) {
    const text = this.local?.getItem(EARLIER);
    if (text == null) return;
    if (this.write(PREFIX + name, text)) this.local.removeItem(EARLIER);
  }

  // Keeps `text` as the battle `name` and the one this tab shows; false when the browser
  // refuses (this.problem says why). What the storage holds already is not written again.
  keep(name, text) {
    if (!this.local) return false;
    if (this.read(name) !== text && !this.write(PREFIX + name, text)) return false;
    return this.show(name);
  }

  // Makes `name` the battle this tab shows.
  show(name) {
    try { this.session?.setItem(CURRENT, name); } catch { /* the shared name still holds */ }
    return this.local?.getItem(CURRENT) === name || this.write(CURRENT, name);
  }

  // Gives the battle `from` the name `to`; false when a battle has that name already.
  rename(from, to) {
    if (!to || to === from || this.read(to) != null) return false;
    const text = this.read(from);
    if (text != null && !this.write(PREFIX + to, text)) return false;
    this.local?.removeItem(PREFIX + from);
    return this.show(to);
  }

  write(key, value) {
    if (!this.local) return false;
    try {
      this.local.setItem(key, value);
      return true;
    } catch {
      this.problem = 'full';
      return false;
    }
  }
}
