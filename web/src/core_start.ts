// The start of the core's WebAssembly, in the page's first script: it is unpacked and compiled
// while the browser goes on reading and running the page's own script. The module is in the page
// gzip-compressed in base64; the browser decodes it (a data: address), unpacks it
// (DecompressionStream) and compiles it as it streams in, all outside the page's thread.
// Where a browser lacks one of these, the page unpacks it itself at start (core.ts).

declare global {
  var quarzelPackedCore: string;
  // The compiled module, or null where the page must unpack and compile it itself.
  var quarzelCompiledCore: Promise<WebAssembly.Module | null> | undefined;
}

async function compileCore(packed: string): Promise<WebAssembly.Module | null> {
  if (typeof DecompressionStream !== 'function' || typeof WebAssembly.compileStreaming !== 'function') return null;
  const response = await fetch(`data:application/octet-stream;base64,${packed}`);
  if (!response.body) return null;
  const unpacked = response.body.pipeThrough(new DecompressionStream('gzip'));
  return WebAssembly.compileStreaming(new Response(unpacked, { headers: { 'Content-Type': 'application/wasm' } }));
}

globalThis.quarzelCompiledCore = compileCore(globalThis.quarzelPackedCore).catch(() => null);

export {};
