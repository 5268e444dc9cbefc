// Nothing lost: the program text and the table are kept in the browser's local storage as one
// record (the core writes and checks it) and put back when the page is opened again.
import { core } from './core';

const kRecord = 'quarzel.arbeit';
const kDamaged = 'quarzel.arbeit.beschaedigt';
let lastKept = 0;

// After an edit at once; after a command (a run's step among them) at most once a second.
export function keepWork(throttled: boolean): void {
  const now = Date.now();
  if (throttled && now - lastKept < 1000) return;
  lastKept = now;
  try {
    localStorage.setItem(kRecord, core.qz_kept_work());
  } catch {
    // storage full or not allowed: the page works on without it
  }
}

export function forgetWork(): void {
  try {
    localStorage.removeItem(kRecord);
  } catch {
    // nothing kept
  }
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

// The record kept last, unless it holds nothing but `fresh`, the record of a fresh start.
export async function restoreWork(fresh: string): Promise<void> {
  let record: string | null = null;
  try {
    record = localStorage.getItem(kRecord);
  } catch {
    return;
  }
  if (record === null || record === '' || record === fresh) return;
  if (!(await core.qz_restore(record))) {
    // Never applied, never thrown away: kept aside under its own key.
    try {
      localStorage.setItem(kDamaged, record);
      localStorage.removeItem(kRecord);
    } catch {
      // storage not allowed: it stays where it is
    }
  }
}
