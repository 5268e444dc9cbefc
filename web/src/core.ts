// The core compiled to WebAssembly, and the one place where the page calls it and answers its
// calls, each as src/web/boundary.h declares it (the shapes in QZ_BOUNDARY come from there
// through the page's build). Texts reach the core in buffers measured and allocated here, never
// on the stack, and a text longer than its kind allows is refused before it gets there. A call
// that may wait for the user runs as a command: while one runs, no other call enters the core
// (an event that needs the core waits with whenIdle or is dropped). A fault anywhere in a call,
// in the core or in the page, ends in the box "Interner Fehler: …" and the page goes on.

import { gunzipSync } from 'fflate';
import type { CallShape, CoreCalls, PageCalls, PageSetup } from './boundary';
import { showMessage } from './dialogs';

interface EmscriptenModule {
  ccall(name: string, result: 'number', types: string[], args: number[], options: { async: true }): Promise<number>;
  UTF8ToString(pointer: number): string;
  stringToUTF8(text: string, pointer: number, size: number): void;
  lengthBytesUTF8(text: string): number;
  _malloc(size: number): number;
  _free(pointer: number): void;
  HEAP32: Int32Array;
  FS: any;
  [exported: string]: unknown;
}

declare global {
  function createQuarzelCore(options: Record<string, unknown>): Promise<EmscriptenModule>;
  // The core's WebAssembly, gzip-compressed and in base64, put into the page by its build.
  var quarzelPackedCore: string;
  // The same, compiled while the page's script was read (core_start.ts); null where it was not.
  var quarzelCompiledCore: Promise<WebAssembly.Module | null> | undefined;
}

// The page's side of the core's calls; coreFailed is answered here.
export type PageAnswers = Omit<PageCalls, 'coreFailed'>;

// The core's calls as the page makes them. A command resolves with undefined when it was not
// run (another one is running) or ended in a fault, which has then been shown.
type AsCommand<F> = F extends (...args: infer A) => Promise<infer R> ? (...args: A) => Promise<R | undefined> : F;
export type Core = { [K in keyof CoreCalls]: AsCommand<CoreCalls[K]> };

// A text longer than its kind allows: the core shows "Text überschreitet Memo-Kapazität.".
export class TextRefused extends Error {}
// The page's own code used the boundary against its rules.
export class BoundaryError extends Error {}
// An exception escaped the core; the core has written the box's text.
class CoreFailure extends Error {}

export const core = {} as Core;
let module: EmscriptenModule;
let setup: PageSetup | undefined;
let answers: Partial<PageCalls> = {};
let commandRunning: string | null = null;
let boxesOpen = 0;
let pageFailure: string | null = null;
let escaped: string | null = null;
const afterCommand: Array<() => Promise<void> | void> = [];
const beforeCommands: Array<() => void> = [];
const idle: Array<() => void> = [];

function unpackedCore(): Uint8Array {
  const packed = atob(quarzelPackedCore);
  const bytes = new Uint8Array(packed.length);
  for (let i = 0; i < packed.length; ++i) bytes[i] = packed.charCodeAt(i);
  return gunzipSync(bytes);
}

// A command runs, or a box of the page's own about one is open: user events leave the core alone.
export function isBusy(): boolean {
  return commandRunning !== null || boxesOpen > 0;
}

// What the page does once a command is over: deliver saved files, keep the work.
export function onCommandDone(action: () => Promise<void> | void): void {
  afterCommand.push(action);
}

// What the page does before a command starts, while the core can still be asked: keep what
// was typed.
export function beforeCommand(action: () => void): void {
  beforeCommands.push(action);
}

// Runs `action` now, or once the command that runs is over and its boxes are closed.
export function whenIdle(action: () => void): void {
  idle.push(action);
  runIdle();
}

function runIdle(): void {
  while (!isBusy() && idle.length > 0) idle.shift()!();
}

// --- the core calls the page -------------------------------------------------------------

function notePageFailure(name: string, error: unknown): void {
  console.error(`Quarzel: ${name}`, error);
  pageFailure ??= error instanceof Error ? `${error.name}: ${error.message}` : String(error);
}

function allocatedText(text: string): number {
  const size = module.lengthBytesUTF8(text) + 1;
  const pointer = module._malloc(size);
  if (pointer === 0) throw new Error(`kein Speicher für ${size} Bytes`);
  module.stringToUTF8(text, pointer, size);
  return pointer;
}

function pageArguments(shape: CallShape, args: ArrayLike<number>): unknown[] {
  const values: unknown[] = [];
  let at = 0;
  for (const kind of shape.params) {
    const raw = args[at++];
    if (kind === 'string') values.push(module.UTF8ToString(raw));
    else if (kind === 'boolean') values.push(raw !== 0);
    else if (kind === 'Int32Array') values.push(module.HEAP32.subarray(raw >> 2, (raw >> 2) + args[at++]));
    else values.push(raw);
  }
  return values;
}

function coreResult(shape: CallShape, value: unknown): number {
  if (shape.result === 'boolean') return value ? 1 : 0;
  if (shape.result === 'string') return value === null || value === undefined ? 0 : allocatedText(String(value));
  if (shape.result === 'number') return Number(value);
  return 0;
}

function answer(name: string): (...args: unknown[]) => unknown {
  const found = (answers as Record<string, unknown>)[name];
  if (typeof found !== 'function') throw new BoundaryError(`Die Seite beantwortet ${name} nicht.`);
  return found as (...args: unknown[]) => unknown;
}

function pageCall(name: keyof PageCalls, args: ArrayLike<number>): number {
  const shape = QZ_BOUNDARY.page[name];
  try {
    return coreResult(shape, answer(name)(...pageArguments(shape, args)));
  } catch (error) {
    notePageFailure(name, error);
    return 0;
  }
}

// A call the core waits for: the answer as a function of Asyncify's, or null when the core may
// not wait now (no command runs), which fails the call.
function pageCallAsync(name: keyof PageCalls, args: ArrayLike<number>): (() => Promise<number>) | null {
  const shape = QZ_BOUNDARY.page[name];
  let values: unknown[];
  try {
    if (commandRunning === null) throw new BoundaryError(`${name} wartet auf den Benutzer, aber es läuft kein Befehl.`);
    values = pageArguments(shape, args);
  } catch (error) {
    notePageFailure(name, error);
    return null;
  }
  return async () => {
    try {
      return coreResult(shape, await answer(name)(...values));
    } catch (error) {
      notePageFailure(name, error);
      return 0;
    }
  };
}

function pageFailureText(): number {
  const failure = pageFailure;
  pageFailure = null;
  return failure === null ? 0 : allocatedText(failure);
}

// --- the page calls the core -------------------------------------------------------------

function coreArguments(name: string, shape: CallShape, args: unknown[], buffers: number[]): number[] {
  if (args.length !== shape.params.length) throw new BoundaryError(`${name}: ${args.length} Werte statt ${shape.params.length}`);
  return shape.params.map((kind, i) => {
    const value = args[i];
    if (kind === 'boolean') return value ? 1 : 0;
    if (kind === 'number') {
      if (typeof value !== 'number' || !Number.isFinite(value)) throw new BoundaryError(`${name}: ${String(value)} ist keine Zahl`);
      return value;
    }
    const text = String(value);
    const limit = setup?.textLimits[kind];
    if (limit === undefined) throw new BoundaryError(`${name}: keine Grenze für ${kind}`);
    const size = module.lengthBytesUTF8(text);
    if (size > limit) throw new TextRefused(`${name}: ${size} Bytes ${kind}, höchstens ${limit}`);
    const pointer = module._malloc(size + 1);
    if (pointer === 0) throw new Error(`kein Speicher für ${size} Bytes`);
    buffers.push(pointer);
    module.stringToUTF8(text, pointer, size + 1);
    return pointer;
  });
}

function pageValue(shape: CallShape, raw: number): unknown {
  if (shape.result === 'string') return module.UTF8ToString(raw);
  if (shape.result === 'boolean') return raw !== 0;
  if (shape.result === 'number') return raw;
  return undefined;
}

function takeEscaped(): void {
  const failure = escaped;
  escaped = null;
  if (failure !== null) throw new CoreFailure(failure);
}

function syncCall(name: string, shape: CallShape): (...args: unknown[]) => unknown {
  const exported = module[`_${name}`] as (...args: number[]) => number;
  return (...args) => {
    // The core's stack is the waiting command's: a call now would run inside it.
    if (commandRunning !== null) throw new BoundaryError(`${name} darf nicht in den Kern, solange ${commandRunning} läuft.`);
    const buffers: number[] = [];
    try {
      const raw = exported(...coreArguments(name, shape, args, buffers));
      takeEscaped();
      return pageValue(shape, raw);
    } finally {
      for (const pointer of buffers) module._free(pointer);
    }
  };
}

function commandCall(name: string, shape: CallShape): (...args: unknown[]) => Promise<unknown> {
  return async (...args) => {
    if (isBusy()) return undefined;
    for (const action of beforeCommands) action();
    commandRunning = name;
    try {
      const buffers: number[] = [];
      let result: unknown;
      try {
        const values = coreArguments(name, shape, args, buffers);
        result = pageValue(shape, await module.ccall(name, 'number', values.map(() => 'number'), values, { async: true }));
      } finally {
        commandRunning = null;
        for (const pointer of buffers) module._free(pointer);
      }
      // What the command wrote is delivered and kept also when it ended in a fault.
      const failure = escaped;
      escaped = null;
      for (const action of afterCommand) await action();
      if (failure !== null) throw new CoreFailure(failure);
      return result;
    } catch (error) {
      await reportFault(error);
      return undefined;
    } finally {
      runIdle();
    }
  };
}

// The box text of a fault in the page's own code, as the core words it where it can.
function internalErrorText(error: unknown): string {
  const what = (error instanceof Error ? `${error.name}: ${error.message}` : String(error)).slice(0, 300);
  try {
    return core.qz_internal_error_text(what);
  } catch {
    return `Interner Fehler: ${what}`;  // the core cannot be asked
  }
}

// Shows a fault in its box; never rejects.
async function reportFault(error: unknown): Promise<void> {
  try {
    if (error instanceof TextRefused) {
      await core.qz_refuse_text();
      return;
    }
    console.error('Quarzel:', error);
    const text = error instanceof CoreFailure ? error.message : internalErrorText(error);
    boxesOpen++;
    try {
      await showMessage(text, setup?.applicationTitle ?? '', true);
    } finally {
      boxesOpen--;
    }
  } catch (second) {
    console.error('Quarzel:', second);
  } finally {
    runIdle();
  }
}

// Work started by an event and not awaited: a fault in it is shown like one in a command.
export function detach(work: Promise<unknown>): void {
  work.catch((error) => reportFault(error));
}

// An event handler that calls the core: a fault in it is shown like one in a command.
export function guarded<A extends unknown[], R>(handler: (...args: A) => R): (...args: A) => R | undefined {
  return (...args) => {
    try {
      return handler(...args);
    } catch (error) {
      void reportFault(error);
      return undefined;
    }
  };
}

// --- start ----------------------------------------------------------------------------------

// Starts the core and reads what the page takes from it. The core calls nothing of the page's
// before qz_init, which comes after answerPageCalls.
export async function startCore(): Promise<PageSetup> {
  const compiled = await (globalThis.quarzelCompiledCore ?? null);
  performance.mark('qz-wasm-compiled');
  // The compiled module is instantiated here; without one the page unpacks the bytes itself.
  let failed: (error: unknown) => void = () => {};
  const failure = new Promise<never>((_, reject) => {
    failed = reject;
  });
  const instantiate = compiled === null ? { wasmBinary: unpackedCore() } : {
    instantiateWasm: (imports: WebAssembly.Imports, receive: (instance: WebAssembly.Instance, module: WebAssembly.Module) => void) => {
      WebAssembly.instantiate(compiled, imports).then((instance) => receive(instance, compiled), failed);
      return {};
    },
  };
  module = await Promise.race([failure, createQuarzelCore({
    qzPage: pageCall,
    qzPageAsync: pageCallAsync,
    qzPageFailure: pageFailureText,
    ...instantiate,
    print: () => {},
    printErr: () => {},
  })]);
  performance.mark('qz-core-started');
  for (const [name, shape] of Object.entries(QZ_BOUNDARY.core) as Array<[string, CallShape]>) {
    if (typeof module[`_${name}`] !== 'function') throw new BoundaryError(`Der Kern hat ${name} nicht.`);
    (core as unknown as Record<string, unknown>)[name] = shape.async ? commandCall(name, shape) : syncCall(name, shape);
  }
  setup = JSON.parse(core.qz_page_setup()) as PageSetup;
  return setup;
}

export function answerPageCalls(calls: PageAnswers): void {
  answers = { ...calls, coreFailed: (text: string) => { escaped ??= text; } };
  for (const name of Object.keys(QZ_BOUNDARY.page)) answer(name);
}

// The page's answers, for the scenarios that make one of them fail.
export function pageAnswers(): Partial<PageCalls> {
  return answers;
}

export function fileSystem(): any {
  return module.FS;
}
