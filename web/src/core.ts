// The core compiled to WebAssembly: how the page starts it and calls its exported functions.
// Calls that may wait for the user go through Asyncify; one busy flag keeps every other event
// (timer tick, click, key) away from the core while it waits.

import { gunzipSync } from 'fflate';

export interface CoreModule {
  ccall(name: string, ret: string | null, types: string[], args: unknown[], opts?: { async: boolean }): any;
  UTF8ToString(ptr: number): string;
  HEAP32: Int32Array;
  FS: any;
  page: unknown;
}

declare global {
  function createQuarzelCore(options: Record<string, unknown>): Promise<CoreModule>;
  // The core's WebAssembly, gzip-compressed and in base64, put into the page by its build.
  var quarzelPackedCore: string;
}

function unpackedCore(): Uint8Array {
  const packed = atob(quarzelPackedCore);
  const bytes = new Uint8Array(packed.length);
  for (let i = 0; i < packed.length; ++i) bytes[i] = packed.charCodeAt(i);
  return gunzipSync(bytes);
}

let core: CoreModule;
let busy = false;
const afterCommand: Array<() => Promise<void> | void> = [];

export async function startCore(page: unknown): Promise<CoreModule> {
  core = await createQuarzelCore({ page, wasmBinary: unpackedCore(), print: () => {}, printErr: () => {} });
  return core;
}

export function isBusy(): boolean {
  return busy;
}

// What the page does once a command is over: deliver saved files, keep the work.
export function onCommandDone(action: () => Promise<void> | void): void {
  afterCommand.push(action);
}

// Runs one of the core's commands; refused while another one waits for the user.
export async function command(name: string, types: string[] = [], args: unknown[] = []): Promise<number> {
  if (busy) {
    return 0;
  }
  busy = true;
  let result: number;
  try {
    result = await core.ccall(name, 'number', types, args, { async: true });
  } finally {
    busy = false;
  }
  for (const action of afterCommand) {
    await action();
  }
  return result;
}

// A call that never waits for the user.
export function call(name: string, types: string[] = [], args: unknown[] = []): number {
  return core.ccall(name, 'number', types, args);
}

export function text(name: string, types: string[] = [], args: unknown[] = []): string {
  return core.ccall(name, 'string', types, args);
}

export function coreModule(): CoreModule {
  return core;
}
