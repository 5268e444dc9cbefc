// Files between the user's disk and the core's virtual file system. "Laden" puts the chosen
// file's bytes into the folder below and hands the core its path; "Speichern" hands the core
// a path there and, once the core has written it, delivers the bytes unchanged: into the file
// the user chose where the browser can write files, else as a download under its name.
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

// WebKit keeps only the last of two downloads started close together: it drops one whose click
// comes before it has taken the one before (a round trip to its own process, longer than a
// timer turn). "Speichern" of program and data starts two; they start a quarter second apart.
const kDownloadSpacing = 250;
let nextDownload = 0;

function download(name: string, bytes: Uint8Array): void {
  const url = URL.createObjectURL(new Blob([bytes as BlobPart], { type: 'application/octet-stream' }));
  const start = () => {
    const link = document.createElement('a');
    link.href = url;
    link.download = name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 60000);
  };
  const now = performance.now();
  const wait = nextDownload - now;
  nextDownload = Math.max(now, nextDownload) + kDownloadSpacing;
  if (wait > 0) {
    setTimeout(start, wait);
  } else {
    start();
  }
}

// After a command: every file the core wrote goes to the user; a path the core did not write
// (the save failed or was not needed) is forgotten.
export async function deliverSaves(): Promise<void> {
  while (pending.length > 0) {
    const save = pending.shift()!;
    let bytes: Uint8Array;
    try {
      bytes = fs.readFile(save.path);
    } catch {
      continue;
    }
    fs.unlink(save.path);
    if (save.handle) {
      const writable = await save.handle.createWritable();
      await writable.write(bytes);
      await writable.close();
    } else {
      download(save.name, bytes);
    }
  }
}
