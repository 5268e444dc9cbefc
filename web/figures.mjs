// Figures of the page for the report, each a median with its spread: the file's size, the time
// from opening it from disk to a usable page and its first picture (9 fresh pages, with a
// breakdown), a step of a run at "Direkt" (40 steps a second) with the table and with the
// picture shown (medians of 9 windows of 2 s each: script, style, layout and the main thread's
// whole time per step), the script time of one keystroke at the end of a program of 20 000 and
// of 200 000 lines, and the longest task that blocks the page while "Testen" runs 10 000 short
// cases and one case of 10^8 steps; the same step at "Direkt" with the line "Was geschah" and
// with the panel "Protokoll" open, against the step without them (the page's answers to their
// notices made no-ops, as before they were drawn); and the run loop as WebAssembly against the
// native one (figures/run_loop.mjs, after make web-core-test).
// Usage: node web/figures.mjs   (after make web; Debian's chromium)
// With QUARZEL_BEFORE=<another quarzel.html> each figure is taken of both pages in one run,
// alternating between them where a figure is taken several times, so that the noise of a
// shared machine falls on both alike. QUARZEL_FIGURES=oeffnen,direkt,tasten,testen,lernen,schleife
// takes only those.
import { mkdtemp, rm, stat, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { runLoopFigure } from './figures/run_loop.mjs';
import { answer, click, launch, openPage, pagePath, pageUrl, pasteRepeated, typeProgram } from './scenarios/harness.mjs';

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const spread = (values, digits = 0) => `${Math.min(...values).toFixed(digits)} bis ${Math.max(...values).toFixed(digits)}`;

const pages = [{ name: 'nachher', path: pagePath, url: pageUrl }];
if (process.env.QUARZEL_BEFORE) {
  const before = path.resolve(process.env.QUARZEL_BEFORE);
  pages.unshift({ name: 'vorher', path: before, url: pathToFileURL(before).href });
}

for (const { name, path: file } of pages) {
  const size = (await stat(file)).size;
  console.log(`[${name}] Größe von quarzel.html: ${(size / 1024 / 1024).toFixed(2)} MiB (${size} Bytes)`);
}

async function scriptClock(page) {
  const session = await page.createCDPSession();
  await session.send('Performance.enable');
  return async () => {
    const { metrics } = await session.send('Performance.getMetrics');
    return metrics.find((m) => m.name === 'ScriptDuration').value * 1000;
  };
}

// A step at "Direkt" (40 a second) of a small loop that reads and writes a cell, in each page and
// variant in turn: three rounds of three windows of 2 s each, so that a shared machine's noise
// falls on all alike. Per step, from Chromium's own clocks: the script, the style and layout,
// and the main thread's whole time (tasks: script, style, layout, paint). `report(name,
// variant, taken)` is called for each page and variant with the nine values of each clock.
async function directFigure(variants, report) {
  const clocks = { script: 'ScriptDuration', style: 'RecalcStyleDuration', layout: 'LayoutDuration', task: 'TaskDuration' };
  const taken = new Map();
  for (let round = 0; round < 3; ++round) {
    for (const { name, url } of pages) {
      for (const variant of variants) {
        const { page } = await openPage(chromium.browser, { url });
        await typeProgram(page, 'MRK A\nINC\nSTO 1\nLAD 1\nSTO [1]\nJMP A\nSTP');
        await variant.prepare?.(page);
        await click(page, 'radio', 'Direkt');
        await click(page, 'button', 'Start');
        await answer(page, 'OK');
        await click(page, 'button', 'Start');
        await answer(page, 'OK');
        const session = await page.createCDPSession();
        await session.send('Performance.enable');
        const read = async () => {
          const { metrics } = await session.send('Performance.getMetrics');
          return Object.fromEntries(Object.entries(clocks).map(([key, metric]) => [key, metrics.find((m) => m.name === metric).value * 1000]));
        };
        const steps = () => page.$eval('#lbSteps', (e) => Number(e.textContent.replace(/\D/g, '')));
        await click(page, 'button', 'Start');
        await new Promise((resolve) => setTimeout(resolve, 500));
        const key = `${name}|${variant.what}`;
        if (!taken.has(key)) taken.set(key, Object.fromEntries(Object.keys(clocks).map((k) => [k, []])));
        for (let i = 0; i < 3; ++i) {
          const [steps0, clocks0] = [await steps(), await read()];
          await new Promise((resolve) => setTimeout(resolve, 2000));
          const [clocks1, steps1] = [await read(), await steps()];
          for (const k of Object.keys(clocks)) taken.get(key)[k].push((clocks1[k] - clocks0[k]) / (steps1 - steps0));
        }
        await page.close();
      }
    }
  }
  for (const { name } of pages) {
    for (const variant of variants) report(name, variant, taken.get(`${name}|${variant.what}`));
  }
}

// The medians of a step's clocks, with the script's spread.
function breakdown(taken) {
  return `${median(taken.script).toFixed(3)} ms Skriptzeit je Schritt (${spread(taken.script, 3)}), Stil ${median(taken.style).toFixed(3)} ms, ` +
    `Layout ${median(taken.layout).toFixed(3)} ms, Hauptthread ${median(taken.task).toFixed(3)} ms`;
}

const wanted = (process.env.QUARZEL_FIGURES ?? 'oeffnen,direkt,tasten,testen,lernen,schleife').split(',');
if (wanted.includes('schleife')) runLoopFigure();

const chromium = await launch();
const folder = await mkdtemp(path.join(tmpdir(), 'quarzel-figures-'));
try {
  // Opening: readyMs counts from the navigation's start inside the page (performance.now()) to
  // the first picture after the page became usable (the core started, the controls answer, the
  // editor takes keys); the time outside is from the driver's goto to the page's readiness, as a
  // user waits for it. The breakdown: the file read (responseEnd), the document parsed with its
  // scripts run (domInteractive), the page's marks where it has them (its script reached, the
  // WebAssembly compiled, the core started, the window built and filled, laid out), each a
  // point in time from the navigation's start.
  if (wanted.includes('oeffnen')) {
    const marks = ['qz-page-script', 'qz-wasm-compiled', 'qz-core-started', 'qz-dom-built', 'qz-laid-out'];
    const parts = ['Datei gelesen', 'Dokument mit Skripten gelesen', ...marks];
    const opening = new Map(pages.map((p) => [p.name, { ready: [], outside: [], parts: parts.map(() => []) }]));
    for (let i = 0; i < 9; ++i) {
      for (const { name, url } of pages) {
        const started = Date.now();
        const { page } = await openPage(chromium.browser, { keepStorage: true, url });
        await page.waitForFunction(() => document.body.dataset.readyMs !== undefined, { timeout: 30000 });
        const outside = Date.now() - started;
        const [ready, ...times] = await page.evaluate((names) => {
          const navigation = performance.getEntriesByType('navigation')[0];
          const mark = (n) => performance.getEntriesByName(n)[0]?.startTime ?? NaN;
          return [Number(document.body.dataset.readyMs), navigation.responseEnd, navigation.domInteractive, ...names.map(mark)];
        }, marks);
        const entry = opening.get(name);
        entry.ready.push(ready);
        entry.outside.push(outside);
        times.forEach((t, k) => entry.parts[k].push(t));
        await page.close();
      }
    }
    for (const [name, { ready, outside, parts: measured }] of opening) {
      const breakdown = parts.map((part, k) => {
        const values = measured[k].filter((v) => typeof v === 'number' && !Number.isNaN(v));
        return `${part} ${values.length === 0 ? '–' : median(values).toFixed(0)}`;
      }).join(', ');
      console.log(`[${name}] Öffnen von file:// bis bedienbar: Median ${median(ready)} ms (${ready.join(', ')}); ` +
        `von außen gemessen ${median(outside)} ms (${spread(outside)})`);
      console.log(`[${name}]   Aufteilung (Mediane in ms ab Navigationsbeginn): ${breakdown}`);
    }
  }

  // "Direkt" with the table and with the picture, the line "Was geschah" and the protocol closed
  // as a learner first meets them: medians of 9 windows (directFigure).
  if (wanted.includes('direkt')) {
    const variants = [{ what: 'mit Tabelle' }, { what: 'mit Speicherbild', prepare: (page) => click(page, 'button', 'Ansicht') }];
    await directFigure(variants, (name, variant, taken) => {
      console.log(`[${name}] Direkt ${variant.what}: Median ${breakdown(taken)}`);
    });
  }

  // A keystroke: its script time, from the key to the page's next turn (what the key made the
  // page do at once); keeping the work when typing pauses comes after and is shown apart.
  // (200 000 lines of "LAD 1" are beyond a program file's 1 MiB: those lines are "STP".)
  if (wanted.includes('tasten')) {
    for (const [lines, unit] of [[20000, 'LAD 1\n'], [200000, 'STP\n']]) {
      for (const { name, url } of pages) {
        const { page } = await openPage(chromium.browser, { url });
        await pasteRepeated(page, unit, lines);
        await page.waitForFunction((n) => window.quarzel.program().length === n, { timeout: 300000, polling: 500 }, unit.length * lines);
        await page.evaluate(() => window.quarzel.setCaret(window.quarzel.program().length));
        await new Promise((resolve) => setTimeout(resolve, 3000));
        const metric = await scriptClock(page);
        const times = [];
        for (let i = 0; i < 21; ++i) {
          const before = await metric();
          await page.keyboard.press('X');
          await page.evaluate(() => new Promise((resolve) => setTimeout(resolve, 0)));
          times.push((await metric()) - before);
        }
        const paused = await metric();
        await new Promise((resolve) => setTimeout(resolve, 2500));
        const kept = (await metric()) - paused;
        console.log(`[${name}] Ein Tastendruck in ${lines.toLocaleString('de-DE')} Zeilen: Median ${median(times).toFixed(2)} ms Skriptzeit ` +
          `(${spread(times, 2)} ms); danach in der Pause ${kept.toFixed(1)} ms`);
        await page.close();
      }
    }
  }

  // "Testen": the longest task while it runs (the page's longest block), and the whole time.
  const task = async (file, cases, limit) => {
    let text = `titel = "Messung"\nschrittgrenze = ${limit}\n`;
    for (let i = 0; i < cases; ++i) text += `[[fall]]\nname = "F${i + 1}"\n[fall.erwartet]\nfenster = 0\n`;
    await writeFile(path.join(folder, file), text);
    return path.join(folder, file);
  };
  const runs = [
    { what: '10 000 kurze Fälle', skip: process.env.QUARZEL_LONG_ONLY === '1', cases: 10000, file: await task('viele.toml', 10000, 1000), program: 'LAD 1\nSTO 2\nSTP', abort: false },
    { what: 'ein Fall mit 10^8 Schritten (nach 5 s abgebrochen)', cases: 1, file: await task('lang.toml', 1, 100000000), program: 'MRK A\nINC\nJMP A', abort: true },
  ];
  for (const { what, cases, file, program, abort } of wanted.includes('testen') ? runs.filter((r) => !r.skip) : []) {
    for (const { name, url } of pages) {
      const hasCancel = async (page) => page.evaluate(() => document.querySelector('.task-progress') !== null);
      const { page } = await openPage(chromium.browser, { url, width: 1000, height: 700 });
      if (abort && !(await hasCancel(page))) {
        console.log(`[${name}] Testen, ${what}: nicht messbar, die Seite hat kein „Abbrechen“`);
        await page.close();
        continue;
      }
      await typeProgram(page, program);
      await click(page, 'button', 'Aufgabe');
      const box = await page.waitForSelector('::-p-aria([name="Aufgabe"][role="dialog"])');
      const load = await box.waitForSelector('::-p-aria([name="Laden…"][role="button"])');
      const [chooser] = await Promise.all([page.waitForFileChooser(), load.click()]);
      await chooser.accept([file]);
      // Every case read (the table names its rows' number; only the rows in sight are made).
      await page.waitForFunction((n) => document.querySelector('.task table').getAttribute('aria-rowcount') === String(n + 1) ||
        document.querySelectorAll('.task tbody tr').length === n, { timeout: 60000 }, cases);
      // The browser reports only tasks of 50 ms and more as long: none is said as such.
      const longest = async () => {
        const ms = await page.evaluate(() => window.longest);
        return ms === 0 ? 'keine Aufgabe von 50 ms oder mehr' : `${ms.toFixed(0)} ms`;
      };
      await page.evaluate(() => {
        window.longest = 0;
        new PerformanceObserver((list) => {
          for (const entry of list.getEntries()) window.longest = Math.max(window.longest, entry.duration);
        }).observe({ type: 'longtask' });
      });
      const test = await box.waitForSelector('::-p-aria([name="Testen"][role="button"])');
      const started = Date.now();
      await test.click();
      if (abort) {
        await new Promise((resolve) => setTimeout(resolve, 5000));
        const progress = await page.$eval('.task-progress', (p) => p.textContent);
        // (Clicked through the page itself: Chromium's accessibility tree, which the lookup by
        // name waits for, may lag behind while the test runs.)
        await page.$eval('.task-progress + button', (b) => b.click());
        await page.waitForFunction(() => document.querySelector('.task-progress').hidden, { timeout: 60000 });
        console.log(`[${name}] Testen, ${what}: längste Blockade ${await longest()}, ` +
          `Anzeige „${progress}“, beendet ${Date.now() - started - 5000} ms nach „Abbrechen“`);
      } else {
        await page.waitForFunction(() => document.querySelector('.task .task-line[role="status"]').textContent !== '', { timeout: 600000, polling: 200 });
        const total = Date.now() - started;
        console.log(`[${name}] Testen, ${what}: längste Blockade ${await longest()}, ` +
          `insgesamt ${total} ms`);
      }
      await page.close();
    }
  }
  // The aids at "Direkt": the step with the line "Was geschah", and with the panel "Protokoll"
  // open too, against the step without them (the page's answers to their notices made no-ops,
  // as before they were drawn).
  if (wanted.includes('lernen')) {
    const quiet = (page) => page.evaluate(() => {
      const calls = window.quarzel.pageCalls();
      for (const call of ['sentenceChanged', 'traceRowsAdded', 'traceRowsRemoved', 'showHistory']) calls[call] = () => {};
    });
    const variants = [
      { what: 'ohne', prepare: quiet },
      { what: 'Was geschah' },
      { what: 'Was geschah und Protokoll', prepare: (page) => click(page, 'button', 'Protokoll') },
    ];
    const without = new Map();
    await directFigure(variants, (name, variant, taken) => {
      if (variant.what === 'ohne') without.set(name, taken);
      const base = without.get(name);
      const over = (key) => variant.what === 'ohne' ? '' : `, ${((median(taken[key]) / median(base[key]) - 1) * 100).toFixed(1)} % über ohne`;
      console.log(`[${name}] Ein Schritt bei Direkt, ${variant.what}: Median ${median(taken.script).toFixed(3)} ms Skriptzeit${over('script')}; ` +
        `Hauptthread ${median(taken.task).toFixed(3)} ms${over('task')}`);
      console.log(`[${name}]   ${breakdown(taken)}`);
    });
  }
} finally {
  await chromium.close();
  await rm(folder, { recursive: true, force: true });
}
