// Builds the one file build-web/quarzel.html: the page's TypeScript bundled with esbuild (the
// icons inlined), the style, the core's script, and the core's WebAssembly (beside the script,
// <core.wasm>) gzip-compressed in base64: a third of its size, unpacked and compiled by the browser
// while the page reads on (src/core_start.ts).
// First the boundary between page and core is checked (boundary_check.mjs): a difference stops
// the build, and the calls' shapes go into the page's script as QZ_BOUNDARY.
// Usage: node web/build.mjs <core.js> <output.html>
import { build } from 'esbuild';
import { checkBoundary } from './boundary_check.mjs';
import { readFile, writeFile } from 'node:fs/promises';
import { gzipSync } from 'node:zlib';
import { fileURLToPath } from 'node:url';
import path from 'node:path';

const here = path.dirname(fileURLToPath(import.meta.url));
const [coreFile, outFile] = process.argv.slice(2);
if (!coreFile || !outFile) {
  console.error('Aufruf: node build.mjs <core.js> <quarzel.html>');
  process.exit(2);
}

let shapes;
try {
  shapes = await checkBoundary({ tsconfig: path.join(here, 'tsconfig.json') });
} catch (error) {
  console.error(error.message);
  process.exit(1);
}

const bundled = (entry) => build({
  entryPoints: [path.join(here, entry)],
  bundle: true,
  format: 'iife',
  target: ['es2020'],
  minify: true,
  write: false,
  loader: { '.svg': 'text' },
  define: { QZ_BOUNDARY: JSON.stringify(shapes) },
  legalComments: 'eof',
});
const bundle = await bundled('src/main.ts');
// Started right after the packed module, before the browser reads the rest: the module is
// compiled while the core's and the page's scripts are read and run.
const coreStart = await bundled('src/core_start.ts');

// A script inside the page must not close its own element.
const inline = (code) => code.replace(/<\/(script)/gi, '<\\/$1').replace(/<!--/g, '<\\!--');

const template = await readFile(path.join(here, 'page.html'), 'utf8');
const style = await readFile(path.join(here, 'style.css'), 'utf8');
const core = await readFile(coreFile, 'utf8');
const wasm = await readFile(coreFile.replace(/\.js$/, '.wasm'));
const packedWasm = gzipSync(wasm, { level: 9 }).toString('base64');
const page = template
  .replace('/*STYLE*/', () => style)
  .replace('/*CORE*/', () => `var quarzelPackedCore = "${packedWasm}";\n${inline(coreStart.outputFiles[0].text)}\n${inline(core)}`)
  .replace('/*PAGE*/', () => inline(bundle.outputFiles[0].text));
await writeFile(outFile, page);
console.log(`${outFile}: ${(Buffer.byteLength(page) / 1024).toFixed(0)} KiB`);
