// A battle shared as a link: "#battle=" and the battle file's bytes in base64url without
// padding. Nothing is sent anywhere: the battle travels in the fragment.

export function linkFragment(bytes) {
  let binary = '';
  for (const byte of bytes) binary += String.fromCharCode(byte);
  return 'battle=' + btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

// The battle file's bytes a link (or any text holding one) carries, or null.
export function battleFromLink(text) {
  const match = /[#&?]battle=([A-Za-z0-9_-]*)/.exec(text);
  if (!match || match[1].length % 4 === 1) return null;
  const base64 = match[1].replace(/-/g, '+').replace(/_/g, '/');
  try {
    const binary = atob(base64 + '='.repeat((4 - (base64.length % 4)) % 4));
    return Uint8Array.from(binary, (c) => c.charCodeAt(0));
  } catch {
    return null;
  }
}
