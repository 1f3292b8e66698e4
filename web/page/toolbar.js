// The toolbar's own rules: how a link is shared and what a saved file is called. The
// navigator is passed in, so that the rules run under node's test runner too.

// Shares `url` through the system's share sheet where the browser has one, else copies it;
// without either, the link is left for the player to copy by hand. Answers what happened:
// 'shared', 'dismissed' (the player closed the sheet), 'copied' or 'shown'.
export async function shareLink(url, title, nav = globalThis.navigator) {
  if (typeof nav?.share === 'function' && (!nav.canShare || nav.canShare({ url }))) {
    try {
      await nav.share({ title, url });
      return 'shared';
    } catch (error) {
      // Closing the sheet is no failure; a sheet the page may not open falls back to copying.
      if (error?.name === 'AbortError') return 'dismissed';
    }
  }
  try {
    await nav.clipboard.writeText(url);
    return 'copied';
  } catch {
    return 'shown';
  }
}

// The name a battle is saved under: the file it came from, else "battle"; always a .kbf
// file, never a path.
export function savedName(name) {
  const base = String(name ?? '').split(/[\\/]/).pop().replace(/\.kbf$/i, '').trim();
  return `${base || 'battle'}.kbf`;
}
