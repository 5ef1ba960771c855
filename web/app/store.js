// The browser's copy of kelmar.INI: the file's own bytes, so that what is imported is what is
// exported, and the page's settings live where the desktop keeps its own.
const KEY = 'kelmar.INI';
const VIEW_KEY = 'kelmar.view';

function toBase64(bytes) {
  let s = '';
  for (let i = 0; i < bytes.length; i += 0x8000) s += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
  return btoa(s);
}

function fromBase64(text) {
  const s = atob(text);
  const bytes = new Uint8Array(s.length);
  for (let i = 0; i < s.length; ++i) bytes[i] = s.charCodeAt(i);
  return bytes;
}

export function loadIni() {
  try {
    const text = localStorage.getItem(KEY);
    return text === null ? null : fromBase64(text);
  } catch {
    return null;  // storage switched off or a damaged entry: start as on a first visit
  }
}

// Throws when the browser refuses (storage full or switched off); the caller says so.
export function saveIni(bytes) {
  localStorage.setItem(KEY, toBase64(bytes));
}

// The tab, year and month are the page's own, not the desktop file's.
export function loadView() {
  try {
    return JSON.parse(localStorage.getItem(VIEW_KEY) || '{}') || {};
  } catch {
    return {};
  }
}

export function saveView(view) {
  try {
    localStorage.setItem(VIEW_KEY, JSON.stringify(view));
  } catch {
    // losing the open tab is harmless
  }
}

// A one-time notice seen: remembered by the page, not the desktop file.
export function loadFlag(key) {
  try {
    return localStorage.getItem(key) === '1';
  } catch {
    return false;
  }
}

export function saveFlag(key) {
  try {
    localStorage.setItem(key, '1');
  } catch {
    // shown again next time: harmless
  }
}

// Without it a browser may clear the places when the phone runs short of space.
export async function askPersistence() {
  try {
    if (navigator.storage && navigator.storage.persist && !(await navigator.storage.persisted())) {
      await navigator.storage.persist();
    }
  } catch {
    // not offered by this browser
  }
}
