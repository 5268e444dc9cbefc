// Nothing lost: the program and the table are kept in the browser's local storage as one record
// (the core writes it whole and checks it when it is read) and put back when the page is opened
// again.
//
// Two tabs never overwrite each other's work. Every opening of the page (a tab, a reload) keeps
// its work under a key of its own, "quarzel.arbeit.tab.<id>", together with the time its work
// last changed; it writes only that key, and only when its work has changed since it last wrote
// it, so that closing a tab or a command in it never puts older work over what another tab holds.
// Opening the page puts back the newest record of all, the work changed last, and takes it over
// under its own key. A tab that finds its record removed by another one (taken over, or the
// oldest beyond kMaxRecords) writes it again at once (the storage event), so the copy of a tab
// that is still open is never lost. A damaged record is never applied and never thrown away: it
// is kept aside under a key with the time it was found. When the storage is full or not allowed,
// a note says so once and the page works on without it.
//
// Typing is kept when it pauses, not at every key (the record is the whole program, which in a
// long one costs more than the key itself): kPauseMs after the last key, at most kLongestWaitMs
// after the first one not kept, and always before a command starts and when the page is hidden
// or left, so that nothing typed is lost.
import { beforeCommand, core, whenIdle } from './core';

const kTabPrefix = 'quarzel.arbeit.tab.';
const kOldRecord = 'quarzel.arbeit';  // the one record of earlier versions of the page
const kAsidePrefix = 'quarzel.arbeit.beschaedigt.';
const kMaxRecords = 4;  // tabs' records; beyond that the oldest goes
const kMaxAside = 3;  // damaged records kept aside; beyond that the oldest goes
const kNotKeptNote = 'Die Arbeit kann im Browser nicht mehr zwischengespeichert werden – bitte speichern.';

let store: Storage | null = null;
let ownKey = newKey();
let fresh = '';  // the record of a fresh start: nothing to keep
let kept = '';  // the record this tab last wrote (or put back), `fresh` when it keeps none
let changedAt = 0;  // when this tab's work last changed
let held = false;
let lastKept = 0;
let trailing = false;
let notKeptSaid = false;
const kPauseMs = 400;
const kLongestWaitMs = 2000;
let typedSince = 0;  // when the first key not yet kept was typed; 0: all typing is kept
let typedTimer: number | undefined;

function newKey(): string {
  return `${kTabPrefix}${Date.now().toString(36)}${Math.random().toString(36).slice(2, 8)}`;
}

// The browser's local storage, or null where it cannot be reached at all.
function openStorage(): Storage | null {
  try {
    const storage = window.localStorage;
    storage.length;  // a storage that is not allowed throws here
    return storage;
  } catch {
    return null;
  }
}

function notKept(): void {
  if (notKeptSaid) return;
  notKeptSaid = true;
  showNote(kNotKeptNote);
}

// A record as kept: the time its work changed, then the core's record.
function envelope(time: number, record: string): string {
  return `${time}\n${record}`;
}

interface Kept {
  key: string;
  time: number;  // unknown (a value that is not an envelope) counts as the newest
  record: string;
}

function unpack(key: string, value: string): Kept {
  if (key === kOldRecord) return { key, time: 0, record: value };
  const match = /^(\d{1,15})\n/.exec(value);
  return match ? { key, time: Number(match[1]), record: value.slice(match[0].length) } : { key, time: Infinity, record: value };
}

function keysWith(prefix: string): string[] {
  const keys: string[] = [];
  for (let i = 0; i < store!.length; ++i) {
    const key = store!.key(i);
    if (key !== null && key.startsWith(prefix)) keys.push(key);
  }
  return keys;
}

function keptRecords(): Kept[] {
  const records: Kept[] = [];
  for (const key of [...keysWith(kTabPrefix), kOldRecord]) {
    const value = store!.getItem(key);
    if (value !== null) records.push(unpack(key, value));
  }
  return records;
}

// Writes this tab's record; false when the storage refused it.
function writeOwn(): boolean {
  if (store === null) {
    notKept();
    return false;
  }
  try {
    store.setItem(ownKey, envelope(changedAt, kept));
    notKeptSaid = false;  // should it fill up again, that is said again
    return true;
  } catch {
    notKept();
    return false;
  }
}

function remove(key: string): void {
  try {
    store?.removeItem(key);
  } catch {
    // the storage went away: nothing is kept there anyway
  }
}

// The oldest records of other tabs beyond kMaxRecords go; a tab still open writes its own again.
function prune(): void {
  const others = keptRecords().filter((r) => r.key !== ownKey && r.key !== kOldRecord);
  others.sort((a, b) => b.time - a.time);
  for (const old of others.slice(kMaxRecords - 1)) remove(old.key);
}

function keepNow(): void {
  if (held) return;
  typedSince = 0;
  window.clearTimeout(typedTimer);
  lastKept = Date.now();
  const record = core.qz_kept_work();
  if (record === kept) return;
  const first = kept === fresh;
  kept = record;
  changedAt = Date.now();
  if (record === fresh) {
    remove(ownKey);
  } else if (writeOwn() && first) {
    try {
      prune();
    } catch {
      // the storage went away: nothing more to tidy
    }
  }
}

// After an edit at once; after a command (a run's step among them) at most once a second, the
// last change of a second kept at its end.
export function keepWork(throttled: boolean): void {
  if (!throttled || Date.now() - lastKept >= 1000) {
    keepNow();
    return;
  }
  if (trailing) return;
  trailing = true;
  setTimeout(() => {
    trailing = false;
    whenIdle(() => {
      try {
        keepNow();
      } catch (error) {
        console.error('Quarzel:', error);
      }
    });
  }, 1000 - (Date.now() - lastKept));
}

// After a change typed or pasted into the program: kept when typing pauses.
export function keepTyped(): void {
  const now = Date.now();
  if (typedSince === 0) typedSince = now;
  window.clearTimeout(typedTimer);
  typedTimer = window.setTimeout(() => whenIdle(keepTypedNow), Math.max(0, Math.min(kPauseMs, typedSince + kLongestWaitMs - now)));
}

// Whether typing waits to be kept (for the scenarios).
export function typingUnkept(): boolean {
  return typedSince !== 0;
}

// Keeps what was typed and not kept yet, now. Where the core cannot be asked (a command waits
// for an answer), what it ends with is kept after it.
export function keepTypedNow(): void {
  if (typedSince === 0) return;
  try {
    keepNow();
  } catch (error) {
    console.error('Quarzel:', error);
  }
}

// While "Ende" asks its questions nothing is kept: what it ends with decides about the record.
export function holdWork(on: boolean): void {
  if (on) keepTypedNow();  // what was typed before is kept first
  held = on;
}

// The work was saved for certain or let go: this tab's record goes.
export function forgetWork(): void {
  remove(ownKey);
  kept = fresh;
}

// The session ended with work that may not have reached a file: its record stays for the next
// opening of the page, and this tab keeps what follows under a new key.
export function leaveWork(): void {
  ownKey = newKey();
  kept = fresh;
}

// A short note at the bottom of the page, read out by a screen reader, gone after a while.
export function showNote(message: string): void {
  const note = document.createElement('div');
  note.className = 'note';
  note.setAttribute('role', 'status');
  note.textContent = message;
  document.body.append(note);
  setTimeout(() => note.remove(), 6000);
}

// Moves `value` from one key to another: removed first, so that a large value fits once more;
// where the storage refuses the new key, it is put back under the old one. False then.
function move(from: string, to: string, value: string): boolean {
  remove(from);
  try {
    store!.setItem(to, value);
    return true;
  } catch {
    try {
      store!.setItem(from, value);
    } catch {
      // the storage takes nothing at all now
    }
    return false;
  }
}

// A damaged value goes aside under a key of its own; the oldest beyond kMaxAside go. Where the
// storage takes no more, it stays where it was.
function setAside(damaged: Kept, value: string): void {
  const asides = keysWith(kAsidePrefix).sort();
  if (!move(damaged.key, `${kAsidePrefix}${new Date().toISOString()}`, value)) return;
  for (const old of asides.slice(0, Math.max(0, asides.length + 1 - kMaxAside))) remove(old);
}

// Opening the page: puts back the newest record of all, unless it holds nothing but `freshRecord`
// (the record of a fresh start), and from then on keeps this tab's work. Records longer than
// `maxChars` cannot be the core's: only their beginning is shown to the core, which then reports
// them damaged.
export async function restoreWork(freshRecord: string, maxChars: number): Promise<void> {
  fresh = freshRecord;
  kept = fresh;
  beforeCommand(keepTypedNow);
  window.addEventListener('pagehide', keepTypedNow);
  document.addEventListener('visibilitychange', () => {
    if (document.visibilityState === 'hidden') keepTypedNow();
  });
  store = openStorage();
  if (store === null) return;
  window.addEventListener('storage', (event) => {
    // Another tab took this tab's record over or pruned it: it must stay while the tab is open.
    try {
      if ((event.key === ownKey || event.key === null) && kept !== fresh && store?.getItem(ownKey) === null) writeOwn();
    } catch {
      // the storage went away
    }
  });
  try {
    await restoreNewest(maxChars);
  } catch (error) {
    // Whatever the storage holds or does, the page starts.
    console.error('Quarzel:', error);
  }
}

async function restoreNewest(maxChars: number): Promise<void> {
  const records = keptRecords().filter((r) => r.record !== '' && r.record !== fresh);
  if (records.length === 0) return;
  const newest = records.reduce((a, b) => (b.time > a.time ? b : a));
  // The command's own keeping waits: what it put back is kept below with its own time.
  held = true;
  let restored: boolean | undefined;
  try {
    restored = await core.qz_restore(newest.record.length > maxChars ? newest.record.slice(0, maxChars) : newest.record);
  } finally {
    held = false;
  }
  if (restored === true) {
    // Taken over whole: kept under this tab's key with the time its work changed.
    kept = core.qz_kept_work();
    changedAt = Number.isFinite(newest.time) ? newest.time : Date.now();
    if (!move(newest.key, ownKey, envelope(changedAt, kept))) notKept();
  } else if (restored === false) {
    setAside(newest, store!.getItem(newest.key) ?? newest.record);
  }
}
