// Differential test of the WebAssembly build: seeded random programs, with data files, inputs
// and options, each run by the native quarzel-run and by its WebAssembly build under Node;
// stdout, stderr, exit status, the dumped table and the trace must be the same byte for byte.
//   node differential.mjs --native build/quarzel-run --wasm build-web/quarzel-run.js
//        [--count 500] [--seed 1] [--work DIR] [--jobs 2]
// Program i is generated from seed + i alone, so `--seed S --count 1` repeats a reported case.
import { spawn } from 'node:child_process';
import { mkdirSync, readFileSync, rmSync, writeFileSync, existsSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { tmpdir } from 'node:os';

const ADDRESS = ['ADD', 'DIV', 'LAD', 'MUL', 'STO', 'SUB'];
const JUMPS = ['CAL', 'JEQ', 'JGT', 'JLT', 'JMP', 'JNE'];
const PLAIN = ['CLA', 'DEC', 'INC', 'INP', 'NEG', 'OUT', 'POP', 'PUS', 'RET', 'SAL', 'SAR',
               'STP', 'TAX', 'TXA', 'ZZZ'];
const EVERY_MNEMONIC = [...ADDRESS, ...JUMPS, ...PLAIN, 'MRK'];

function options(argv) {
    const o = { count: 500, seed: 1, jobs: 2, work: join(tmpdir(), `quarzel-diff-${process.pid}`) };
    for (let i = 2; i < argv.length; i += 2) {
        const key = argv[i].replace(/^--/, '');
        if (!(key in o) && key !== 'native' && key !== 'wasm') {
            throw new Error(`unknown option ${argv[i]}`);
        }
        o[key] = ['count', 'seed', 'jobs'].includes(key) ? Number(argv[i + 1]) : argv[i + 1];
    }
    if (!o.wasm) {
        throw new Error('usage: differential.mjs --native QUARZEL-RUN --wasm QUARZEL-RUN.js');
    }
    return o;
}

// mulberry32: small, fast and the same on every Node.
function random(seed) {
    let a = seed >>> 0;
    const next = () => {
        a = (a + 0x6d2b79f5) >>> 0;
        let t = a;
        t = Math.imul(t ^ (t >>> 15), t | 1);
        t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
        return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
    };
    const int = (lo, hi) => lo + Math.floor(next() * (hi - lo + 1));
    const pick = (list) => list[int(0, list.length - 1)];
    const chance = (p) => next() < p;
    return { int, pick, chance };
}

// Most operands point at the first cells, where the data and the counters are, so that
// indirect reads find addresses; some reach the stack at the top of memory or anywhere.
function addressOperand(r) {
    const cell = () => (r.chance(0.8) ? r.int(1, 24) : r.chance(0.5) ? r.int(500, 512) : r.int(1, 512));
    const form = r.int(0, 19);
    if (form < 13) return String(cell());
    if (form < 16) return `[${cell()}]`;
    if (form < 18) return 'X';
    if (form < 19) return '[X]';
    // Hexadecimal and leading zeros; an operand holds no letters but X, so only the cells
    // whose hexadecimal form is all digits can be written that way.
    return r.pick([`X${r.pick([1, 2, 3, 9, 16, 17, 18, 20, 22, 256, 512])}`.replace(/\d+/, (n) =>
                       Number(n).toString(16)),
                   `0${cell()}`, `[X${r.pick([1, 2, 3, 4, 5, 6, 7, 8, 9, 16, 17])}]`.replace(/\d+/, (n) =>
                       Number(n).toString(16))]);
}

// A line that the checker refuses, or one whose operand does not even convert.
function brokenLine(r) {
    return r.pick(['LAD 0', 'ADD 513', 'SUB -5', 'LAD [5', 'MUL 5X', 'FOO 1', 'CLAX', 'JMP',
                   ' LAD 1', 'STO 1*x', 'LAD ', 'JMP NIRGENDS', 'STOP', 'MRK A']);
}

function randomLine(r, marks, used) {
    const kind = r.int(0, 9);
    let mnemonic;
    let line;
    if (kind < 5) {
        mnemonic = r.pick(ADDRESS);
        line = `${mnemonic} ${addressOperand(r)}`;
    } else if (kind < 7 && marks.length > 0) {
        mnemonic = r.pick(JUMPS);
        line = `${mnemonic} ${r.pick(marks)}`;
    } else {
        mnemonic = r.pick(PLAIN);
        line = mnemonic;
    }
    used.add(mnemonic);
    if (r.chance(0.1)) line += ' * Anmerkung';
    return r.chance(0.1) ? line.toLowerCase() : line;
}

// A program of blocks: counted loops, subroutine calls, stack pairs, inputs, index walks,
// waiting loops and single random lines; subroutines follow the main part's STP.
function generateProgram(r, used) {
    const lines = ['* Zufallsprogramm'];
    // Most programs point the index register into the data first; the others meet [X] with 0.
    if (r.chance(0.7)) lines.push(`LAD ${r.int(1, 12)}`, 'STO X');
    const subroutines = [];
    const loopMarks = [];
    const marks = ['A', 'B', 'C'];
    let counter = 0;
    const blocks = r.int(2, 8);
    for (let b = 0; b < blocks; ++b) {
        const kind = r.int(0, 10);
        if (kind === 10) {
            // Waits on a cell that nothing changes: endless unless the cell holds 0.
            const mark = `E${b}`;
            lines.push(`MRK ${mark}`, `LAD ${r.int(1, 24)}`, `${r.pick(['JNE', 'JGT', 'JLT'])} ${mark}`);
        } else if (kind < 3) {
            const mark = `L${b}`;
            const cell = 20 + (counter++ % 4);
            lines.push(`LAD ${r.chance(0.7) ? r.int(1, 5) : addressOperand(r)}`, `STO ${cell}`,
                       `MRK ${mark}`);
            for (let k = r.int(1, 4); k > 0; --k) lines.push(randomLine(r, marks, used));
            lines.push(`LAD ${cell}`, r.chance(0.9) ? 'DEC' : 'INC', `STO ${cell}`,
                       `${r.pick(['JGT', 'JNE', 'JGT'])} ${mark}`);
            loopMarks.push(mark);
            used.add('MRK').add('JGT').add('DEC');
        } else if (kind < 5) {
            const name = `U${subroutines.length}`;
            lines.push(`CAL ${name}`);
            const body = [`MRK ${name}`];
            for (let k = r.int(1, 4); k > 0; --k) body.push(randomLine(r, marks, used));
            body.push('RET');
            subroutines.push(...body, '');
            used.add('CAL').add('RET');
        } else if (kind < 6) {
            lines.push('PUS', randomLine(r, marks, used), 'POP');
            used.add('PUS').add('POP');
        } else if (kind < 7) {
            lines.push('INP', `STO ${r.int(1, 24)}`);
            used.add('INP');
        } else if (kind < 8) {
            const mark = `W${b}`;
            lines.push(`LAD ${r.int(1, 8)}`, 'TAX', `MRK ${mark}`, `${r.pick(ADDRESS)} [X]`,
                       'TXA', 'INC', 'TAX', `SUB ${r.int(1, 24)}`, `JLT ${mark}`);
            used.add('TAX').add('TXA');
        } else {
            for (let k = r.int(1, 5); k > 0; --k) lines.push(randomLine(r, marks, used));
        }
        if (r.chance(0.15)) lines.push(r.chance(0.5) ? '' : '* Kommentar mit Umlaut: Zähler');
    }
    // The marks the random jumps aim at sit somewhere in the main part.
    for (const mark of marks) {
        lines.splice(r.int(1, lines.length), 0, `MRK ${mark}`);
    }
    if (r.chance(0.95)) lines.push(r.chance(0.9) ? 'STP' : 'STP Ende');
    lines.push('', ...subroutines);
    if (r.chance(0.04)) lines.splice(r.int(0, lines.length), 0, brokenLine(r));
    if (r.chance(0.05)) lines.splice(r.int(0, lines.length), 0, `\tOUT`);
    return lines.join(r.chance(0.9) ? '\r\n' : '\n');
}

function dataValue(r) {
    const kind = r.int(0, 19);
    if (kind < 11) return String(r.int(0, 24));
    if (kind < 13) return String(r.int(-8, -1));
    if (kind < 15) return String(r.chance(0.5) ? 2147483647 - r.int(0, 3) : -2147483648 + r.int(0, 3));
    if (kind < 17) return String(r.int(-2147483648, 2147483647));
    return r.pick(['', '-', '007', '-0', '99999999999', '2147483648', '512', '513', '0']);
}

function generateData(r) {
    const rows = [];
    for (let cell = 1; cell <= 512; ++cell) {
        const near = cell <= 24 || cell >= 505;
        const value = near && r.chance(0.7) ? dataValue(r) : '0';
        const comment = r.chance(0.05) ? r.pick(['Zähler', 'a:b:c', 'Größe µ', 'x']) : '';
        rows.push(`${cell}:${value}:${comment}\r\n`);
    }
    if (r.chance(0.03)) {
        const cell = r.int(1, 512);
        rows[cell - 1] = `${cell}:${r.pick(['1.5', 'abc', '--5', '+5'])}:\r\n`;
    }
    return rows.join('');
}

function inputText(r) {
    return r.pick([String(r.int(-50, 50)), String(r.int(-2147483648, 2147483647)), '2147483647',
                   '-2147483648', '2147483648', 'zwölf', '12a', ' -12', 'x1F', '$FF', '0x10', '',
                   '007']);
}

function generateCase(seed) {
    const r = random(seed);
    const used = new Set();
    const program = generateProgram(r, used);
    const data = r.chance(0.85) ? generateData(r) : null;
    const args = [];
    if (data !== null) args.push('--data', 'p.dta');
    for (let k = r.int(0, 4); k > 0; --k) args.push('--input', inputText(r));
    if (r.chance(0.95)) args.push('--max-steps', String(r.pick([20, 100, 500, 2000, 20000])));
    if (r.chance(0.4)) args.push('--detect-loops');
    if (r.chance(0.05)) args.push('--check');
    if (r.chance(0.9)) args.push('--dump', 'out.dta');
    if (r.chance(0.02)) args.push(r.pick(['--max-steps', '--bogus', '--data']), r.pick(['abc', 'fehlt.dta']));
    // Drawn last, so that every case is the one the same seed made before the trace came.
    if (r.chance(0.5)) args.push('--trace', 'trace.csv');
    args.push('p.prg');
    return { seed, program, data, args, used };
}

function run(command, args, cwd) {
    return new Promise((done) => {
        const child = spawn(command[0], [...command.slice(1), ...args], { cwd });
        const out = [];
        const err = [];
        child.stdout.on('data', (chunk) => out.push(chunk));
        child.stderr.on('data', (chunk) => err.push(chunk));
        const timer = setTimeout(() => child.kill('SIGKILL'), 60000);
        child.on('close', (status, signal) => {
            clearTimeout(timer);
            const dumpPath = join(cwd, 'out.dta');
            const tracePath = join(cwd, 'trace.csv');
            done({
                status: signal ? `signal ${signal}` : status,
                stdout: Buffer.concat(out).toString('latin1'),
                stderr: Buffer.concat(err).toString('latin1'),
                dump: existsSync(dumpPath) ? readFileSync(dumpPath).toString('latin1') : null,
                trace: existsSync(tracePath) ? readFileSync(tracePath).toString('latin1') : null,
            });
        });
    });
}

function prepare(dir, c) {
    rmSync(dir, { recursive: true, force: true });
    mkdirSync(dir, { recursive: true });
    writeFileSync(join(dir, 'p.prg'), Buffer.from(c.program, 'latin1'));
    if (c.data !== null) writeFileSync(join(dir, 'p.dta'), Buffer.from(c.data, 'latin1'));
}

function differences(a, b) {
    return ['status', 'stdout', 'stderr', 'dump', 'trace'].filter((key) => a[key] !== b[key]);
}

function report(c, native, wasm, keys) {
    const show = (name, result) =>
        `--- ${name}: exit ${result.status}\n${result.stdout}--- stderr\n${result.stderr}` +
        (keys.includes('dump') ? `--- dump\n${result.dump}` : '') +
        (keys.includes('trace') ? `--- trace\n${result.trace}` : '');
    const data = c.data === null ? '(keine)' :
        c.data.split('\r\n').filter((row) => !/^\d+:0:$/.test(row) && row !== '').join('\n');
    console.log(`DIFFERENZ bei Seed ${c.seed} (${keys.join(', ')})\nArgumente: ${JSON.stringify(c.args)}\n` +
                `--- Programm\n${c.program}\n--- Daten (Zellen außer "0")\n${data}\n` +
                `${show('nativ', native)}\n${show('WebAssembly', wasm)}`);
}

async function main() {
    const o = options(process.argv);
    if (!o.native) {
        // CTest reports this status as a skipped test.
        console.log('übersprungen: kein natives quarzel-run angegeben (QUARZEL_NATIVE_RUN)');
        process.exitCode = 77;
        return;
    }
    const native = [resolve(o.native)];
    const wasm = [process.execPath, resolve(o.wasm)];
    const statusCount = new Map();
    const used = new Set();
    let failed = 0;
    let next = 0;
    const worker = async (slot) => {
        for (let i; (i = next++) < o.count;) {
            const c = generateCase(o.seed + i);
            c.used.forEach((m) => used.add(m));
            const nativeDir = join(o.work, `${slot}-nativ`);
            const wasmDir = join(o.work, `${slot}-wasm`);
            prepare(nativeDir, c);
            prepare(wasmDir, c);
            const [a, b] = await Promise.all([run(native, c.args, nativeDir), run(wasm, c.args, wasmDir)]);
            statusCount.set(a.status, (statusCount.get(a.status) ?? 0) + 1);
            const keys = differences(a, b);
            if (keys.length > 0) {
                ++failed;
                if (failed <= 3) report(c, a, b, keys);
            }
        }
    };
    await Promise.all(Array.from({ length: Math.max(1, o.jobs) }, (_, slot) => worker(slot)));
    rmSync(o.work, { recursive: true, force: true });

    const ends = [...statusCount].sort().map(([s, n]) => `${s}: ${n}`).join(', ');
    console.log(`${o.count} Programme ab Seed ${o.seed}; Exit-Status der nativen Läufe: ${ends}`);
    // The generator must keep reaching every instruction and every way a run ends, or the
    // comparison would prove less than it claims.
    const missing = EVERY_MNEMONIC.filter((m) => !used.has(m));
    const endsMissing = [0, 1, 2, 3, 4, 5].filter((s) => !statusCount.has(s));
    if (o.count >= 500 && (missing.length > 0 || endsMissing.length > 0)) {
        console.log(`Generator zu schmal: nie erzeugt ${missing.join(' ')}; nie erreicht: Exit ${endsMissing.join(' ')}`);
        failed = Math.max(failed, 1);
    }
    console.log(`${o.count - failed} passed, ${failed} failed`);
    process.exitCode = failed > 0 ? 1 : 0;
}

main().catch((error) => {
    console.error(error.message);
    process.exitCode = 2;
});
