// The run loop's speed as WebAssembly against the native build: quarzel-run and its WebAssembly
// twin (both Release, from `make web-core-test`'s folder) run the same memory loop for 10⁸ steps,
// in turns, nine times each; the figure is the ratio of the medians of their processor times.
// Usage: node web/figures/run_loop.mjs [BUILD_WEB_TEST_DIR]   (default build-web-test)
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// Cell 3 counts down from two billion, cell 1 sums cell 2 (= 1) once per round: nine
// instructions a round, six of them memory accesses, far from any end or overflow.
const program = 'MRK RUNDE\r\nLAD 3\r\nSUB 4\r\nSTO 3\r\nLAD 1\r\nADD 2\r\nSTO 1\r\nLAD 3\r\nJNE RUNDE\r\nSTP\r\n';
const cells = Array.from({ length: 512 }, (_, i) => `${i + 1}:${[0, 1, 2000000000, 1][i] ?? 0}:`);

export function runLoopFigure(buildDir = path.resolve(here, '../../build-web-test'), steps = 100000000) {
  const folder = mkdtempSync(path.join(tmpdir(), 'quarzel-loop-'));
  try {
    writeFileSync(path.join(folder, 'loop.prg'), program, 'latin1');
    writeFileSync(path.join(folder, 'loop.dta'), `${cells.join('\r\n')}\r\n`, 'latin1');
    const args = ['--data', path.join(folder, 'loop.dta'), '--max-steps', String(steps), path.join(folder, 'loop.prg')];
    const runs = {
      native: [path.join(buildDir, 'native/quarzel-run')],
      wasm: [process.execPath, path.join(buildDir, 'quarzel/quarzel-run.js')],
    };
    const times = { native: [], wasm: [] };
    const outputs = {};
    for (let i = 0; i < 9; ++i) {
      for (const [name, [command, ...first]] of Object.entries(runs)) {
        // The processor time (user and system) the run took, as the shell's `times` reports it
        // for its child: on a shared machine the wall time measures the others' work too.
        const script = '"$@" >"$0"; echo "status $?"; times';
        const out = path.join(folder, `${name}.out`);
        const report = execFileSync('sh', ['-c', script, out, command, ...first, ...args], { stdio: ['ignore', 'pipe', 'ignore'] }).toString();
        const status = Number(/status (\d+)/.exec(report)[1]);
        // The step limit ends the run with status 3.
        if (status !== 3) throw new Error(`${name}: Status ${status}`);
        outputs[name] = readFileSync(out, 'utf8');
        const [, child] = report.trim().split('\n').slice(-2);
        const seconds = [...child.matchAll(/(\d+)m([\d.]+)s/g)].reduce((sum, [, m, s]) => sum + Number(m) * 60 + Number(s), 0);
        times[name].push(seconds * 1000);
      }
    }
    if (outputs.native !== outputs.wasm) throw new Error(`Die Läufe enden verschieden:\n${outputs.native}\n${outputs.wasm}`);
    const native = median(times.native);
    const wasm = median(times.wasm);
    const rate = (ms) => `${(steps / ms / 1000).toFixed(0)} M Befehle/s`;
    console.log(`Laufschleife, ${steps} Schritte: nativ ${native.toFixed(0)} ms (${rate(native)}), ` +
      `WebAssembly ${wasm.toFixed(0)} ms (${rate(wasm)}): ${((native / wasm) * 100).toFixed(0)} % der nativen Geschwindigkeit`);
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
}

if (process.argv[1] === fileURLToPath(import.meta.url)) runLoopFigure(process.argv[2] && path.resolve(process.argv[2]));
