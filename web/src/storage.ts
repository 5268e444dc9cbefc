// Nothing lost: the program text and the table are kept in the browser's local storage at
// every change and put back when the page is opened again.
import { core } from './core';

const kProgram = 'quarzel.programm';
const kData = 'quarzel.daten';
let lastKept = 0;
let freshData = '';

// After an edit at once; after a command (a run's step among them) at most once a second.
export function keepWork(throttled: boolean): void {
  const now = Date.now();
  if (throttled && now - lastKept < 1000) return;
  lastKept = now;
  try {
    localStorage.setItem(kProgram, core.qz_program_text());
    localStorage.setItem(kData, core.qz_data_text());
  } catch {
    // storage full or not allowed: the page works on without it
  }
}

export function forgetWork(): void {
  try {
    localStorage.removeItem(kProgram);
    localStorage.removeItem(kData);
  } catch {
    // nothing kept
  }
}

function showNote(message: string): void {
  const note = document.createElement('div');
  note.className = 'note';
  note.setAttribute('role', 'status');
  note.textContent = message;
  document.body.append(note);
  setTimeout(() => note.remove(), 6000);
}

export async function restoreWork(): Promise<void> {
  freshData = core.qz_data_text();
  let program: string | null = null;
  let data: string | null = null;
  try {
    program = localStorage.getItem(kProgram);
    data = localStorage.getItem(kData);
  } catch {
    return;
  }
  const hasProgram = program !== null && program !== '';
  const hasData = data !== null && data !== '' && data !== freshData;
  if (!hasProgram && !hasData) return;
  await core.qz_restore(hasProgram ? program! : '', hasData ? data! : '');
  showNote('Programm und Daten der letzten Sitzung wurden wiederhergestellt.');

}
