// Downloads of engines that save into one folder for the whole browser (Firefox's download
// folder, WebKit's home): each finished file is moved into the folder the scenario named.
import { copyFile, mkdir, readdir, rename, stat, unlink } from 'node:fs/promises';
import path from 'node:path';

// Names an engine gives a file while it is still being written.
const partial = /\.(part|download|wkdownload|crdownload)$/;

async function landed(folder) {
  const entries = await readdir(folder, { withFileTypes: true }).catch(() => []);
  return entries.filter((e) => e.isFile() && !e.name.startsWith('.')).map((e) => e.name);
}

// Forgets what an earlier page left in the engine's folder.
export async function clearLanded(folder) {
  for (const name of await landed(folder)) await unlink(path.join(folder, name)).catch(() => {});
}

async function move(from, to) {
  try {
    await rename(from, to);
  } catch (error) {
    if (error.code !== 'EXDEV') throw error;
    await copyFile(from, to);
    await unlink(from);
  }
}

// Moves files from `from` to `to` until stopped. A file moves once no partial file of its name
// is beside it and its size held over two looks (Firefox creates the final name empty first).
export function relayDownloads(from, to) {
  const sizes = new Map();
  let running = null;
  const look = async () => {
    const names = await landed(from);
    const busy = new Set(names.filter((n) => partial.test(n)).map((n) => n.replace(partial, '')));
    for (const name of names) {
      if (partial.test(name) || busy.has(name)) continue;
      const size = (await stat(path.join(from, name)).catch(() => null))?.size;
      if (size === undefined || sizes.get(name) !== size) {
        sizes.set(name, size);
        continue;
      }
      sizes.delete(name);
      await mkdir(to, { recursive: true });
      await move(path.join(from, name), path.join(to, name));
    }
  };
  const timer = setInterval(() => {
    if (running) return;
    running = look().catch(() => {}).finally(() => {
      running = null;
    });
  }, 50);
  // A scenario that fails before it closes its page must not keep the test process alive.
  timer.unref();
  return async () => {
    clearInterval(timer);
    await running;
  };
}
