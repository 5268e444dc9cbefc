// Files between the user's disk and the core's virtual file system. "Laden" puts the chosen
// file's bytes into the folder below and hands the core its path; "Speichern" hands the core
// a path there and, as soon as the core has written it and before the core counts it as saved,
// delivers the bytes unchanged: into the file the user chose where the browser can write files
// (a writer that fails is reported to the core, which says so and keeps the work unsaved), else
// as a download under its name, which cannot report whether it arrived.
import { askFileName } from './dialogs';

const kFolder = '/Dateien';

interface PendingSave {
  path: string;
  name: string;
  handle?: any;
}

let fs: any;
const pending: PendingSave[] = [];
const lastNames: Record<string, string> = {};
let downloads = 0;

// How many files went to the download folder since the page opened: such a file may not have
// arrived, so work saved that way is not counted as saved for certain.
export function downloadCount(): number {
  return downloads;
}

// `fileSystem`: the core's, where it reads and writes files.
export function initFiles(fileSystem: any): void {
  fs = fileSystem;
  fs.mkdir(kFolder);
  fs.chdir(kFolder);
}

// The File System Access API, where the browser has it.
function canPickFiles(): boolean {
  return typeof (window as any).showOpenFilePicker === 'function' && typeof (window as any).showSaveFilePicker === 'function';
}

function extensionOf(pattern: string): string {
  return pattern.replace(/^\*/, '');
}

function pickWithInput(accept: string): Promise<File | null> {
  return new Promise((resolve) => {
    const input = document.createElement('input');
    input.type = 'file';
    input.accept = accept;
    input.style.display = 'none';
    document.body.append(input);
    const finish = (file: File | null) => {
      input.remove();
      resolve(file);
    };
    input.addEventListener('change', () => finish(input.files && input.files.length > 0 ? input.files[0] : null));
    input.addEventListener('cancel', () => finish(null));
    input.click();
  });
}

export async function chooseFileToOpen(description: string, pattern: string, maxBytes: number): Promise<string | null> {
  const extension = extensionOf(pattern);
  let file: File | null = null;
  if (canPickFiles()) {
    try {
      const [handle] = await (window as any).showOpenFilePicker({
        types: [{ description, accept: { 'text/plain': [extension] } }],
      });
      file = await handle.getFile();
    } catch {
      return null;  // cancelled
    }
  } else {
    file = await pickWithInput(extension);
  }
  if (file === null) {
    return null;
  }
  // The core refuses a file beyond its limit from the size it sees: one byte more than the
  // limit is all of such a file that is ever read.
  const bytes = new Uint8Array(await file.slice(0, maxBytes).arrayBuffer());
  const name = file.name.replace(/[\\/]/g, '_') || `datei${extension}`;
  fs.writeFile(`${kFolder}/${name}`, bytes);
  lastNames[extension] = name;
  return name;
}

export async function chooseFileToSave(description: string, pattern: string, extension: string): Promise<string | null> {
  const suggested = lastNames[extensionOf(pattern)] ?? `quarzel.${extension}`;
  if (canPickFiles()) {
    try {
      const handle = await (window as any).showSaveFilePicker({
        suggestedName: suggested,
        types: [{ description, accept: { 'text/plain': [extensionOf(pattern)] } }],
      });
      const name = String(handle.name).replace(/[\\/]/g, '_');
      reserve(`${kFolder}/${name}`);
      pending.push({ path: `${kFolder}/${name}`, name, handle });
      return name;
    } catch {
      return null;
    }
  }
  const name = await askFileName('Speichern unter', description, suggested, extension);
  if (name === null) {
    return null;
  }
  reserve(`${kFolder}/${name}`);
  pending.push({ path: `${kFolder}/${name}`, name });
  lastNames[extensionOf(pattern)] = name;
  return name;
}

// A path handed out for saving holds nothing yet, so that only what the core writes is delivered.
function reserve(path: string): void {
  try {
    fs.unlink(path);
  } catch {
    // nothing there
  }
}

function download(name: string, bytes: Uint8Array): void {
  const url = URL.createObjectURL(new Blob([bytes as BlobPart], { type: 'application/octet-stream' }));
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60000);
}

// Why the browser's writer refused a file, in the learner's words where the kind of failure
// is known, else as the browser says it.
const kWriteFailures: Record<string, string> = {
  NotAllowedError: 'keine Berechtigung zum Schreiben',
  NoModificationAllowedError: 'die Datei ist schreibgeschützt',
  QuotaExceededError: 'kein Platz mehr auf dem Datenträger',
  NotFoundError: 'die Datei ist nicht mehr vorhanden',
  InvalidStateError: 'die Datei wurde inzwischen verändert',
  AbortError: 'das Schreiben wurde abgebrochen',
};

function writeFailure(error: unknown): string {
  const name = error instanceof Error || error instanceof DOMException ? error.name : '';
  const message = error instanceof Error || error instanceof DOMException ? error.message : String(error ?? '');
  return kWriteFailures[name] ?? (message.trim() || 'unbekannter Grund');
}

// The file the core has just written at `path` goes where the user chose it; null when it got
// there (or was downloaded), else why not.
export async function finishSave(path: string): Promise<string | null> {
  const index = pending.findIndex((save) => save.name === path);
  if (index < 0) throw new Error(`${path} wurde nicht zum Speichern gewählt`);
  const [save] = pending.splice(index, 1);
  const bytes: Uint8Array = fs.readFile(save.path);
  fs.unlink(save.path);
  if (!save.handle) {
    download(save.name, bytes);
    ++downloads;
    return null;
  }
  let writable: any;
  try {
    writable = await save.handle.createWritable();
    await writable.write(bytes);
    await writable.close();
    return null;
  } catch (error) {
    // The file on disk stays as it was: what was written so far is thrown away.
    try {
      await writable?.abort();
    } catch {
      // already closed or never opened
    }
    return writeFailure(error);
  }
}

// After a command: a path handed out for saving that the core never finished (its save failed
// before, or was not needed) is forgotten with whatever was written there.
export function forgetUnfinishedSaves(): void {
  for (const save of pending.splice(0)) {
    try {
      fs.unlink(save.path);
    } catch {
      // nothing was written
    }
  }
}
